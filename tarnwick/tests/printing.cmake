# The print settings, the capture-and-print pipeline, its forms and the probe.
tarnwick_test(NAME tst_printing_textnumbers SOURCES tst_printing_textnumbers.cpp)
tarnwick_test(NAME tst_printing_settings SOURCES tst_printing_settings.cpp)
tarnwick_test(NAME tst_printing_pipeline SOURCES tst_printing_pipeline.cpp)
tarnwick_test(NAME tst_ui_forms SOURCES tst_ui_forms.cpp)
tarnwick_test(NAME tst_printer_realprint SOURCES tst_printer_realprint.cpp)
tarnwick_test(NAME tst_probe_commands SOURCES tst_probe_commands.cpp)
tarnwick_test(NAME tst_printer_cups SOURCES tst_printer_cups.cpp FIXTURES cups)
