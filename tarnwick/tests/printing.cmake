# The print settings, the capture-and-print pipeline, its forms and the probe.
tarnwick_test(NAME tst_tw_textnumbers SOURCES tst_tw_textnumbers.cpp)
tarnwick_test(NAME tst_tw_settings SOURCES tst_tw_settings.cpp)
tarnwick_test(NAME tst_tw_pipeline SOURCES tst_tw_pipeline.cpp)
tarnwick_test(NAME tst_tw_forms SOURCES tst_tw_forms.cpp)
tarnwick_test(NAME tst_tw_realprint SOURCES tst_tw_realprint.cpp)
tarnwick_test(NAME tst_tw_probe SOURCES tst_tw_probe.cpp)
tarnwick_test(NAME tst_tw_cups SOURCES tst_tw_cups.cpp FIXTURES cups)
