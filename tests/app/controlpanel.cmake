# The control panel: the load shown by sliders, fields and marker.
velmora_add_test(tst_loadpropagation tst_loadpropagation.cpp)
velmora_add_test(tst_chartrepaint tst_chartrepaint.cpp)
velmora_add_test(tst_textentry tst_textentry.cpp)
velmora_add_test(tst_userentries tst_userentries.cpp)
velmora_add_test(tst_edgepoints tst_edgepoints.cpp)
velmora_add_test(tst_randomconsistency tst_randomconsistency.cpp)
velmora_add_test(tst_controlpanelenglish tst_controlpanelenglish.cpp LOCALE en_US.UTF-8)
