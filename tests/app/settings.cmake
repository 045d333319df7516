velmora_add_test(tst_settings tst_settings.cpp)
