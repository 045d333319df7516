# The control panel: the load shown by sliders, fields and marker.
velmora_add_test(tst_loadpropagation tst_loadpropagation.cpp controlpaneldriver.cpp)
velmora_add_test(tst_textentry tst_textentry.cpp controlpaneldriver.cpp)
velmora_add_test(tst_userentries tst_userentries.cpp controlpaneldriver.cpp)
velmora_add_test(tst_edgepoints tst_edgepoints.cpp controlpaneldriver.cpp)
velmora_add_test(tst_randomconsistency tst_randomconsistency.cpp controlpaneldriver.cpp)
velmora_add_test(tst_controlpanelenglish tst_controlpanelenglish.cpp controlpaneldriver.cpp LOCALE en_US.UTF-8)
