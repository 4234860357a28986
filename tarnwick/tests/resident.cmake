# The resident program: configuration dialog, resident form and tray, the Print Screen
# trigger and screen capture, and the whole program end to end.
tarnwick_test(NAME tst_twk01 SOURCES tst_twk01.cpp)
# Presses Print on the shared X server: a resident tarnwick of another test would print.
tarnwick_test(NAME tst_trigger SOURCES tst_trigger.cpp FIXTURES xvfb)
tarnwick_test(NAME tst_twk02 SOURCES tst_twk02.cpp)
tarnwick_script_test(NAME e2e_tarnwick_print SCRIPT e2e_tarnwick_print.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_tray SCRIPT e2e_tarnwick_tray.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_windows SCRIPT e2e_tarnwick_windows.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_command SCRIPT e2e_tarnwick_command.sh FIXTURES cups)
# Capture through the screenshot portal, against a stand-in portal on the session bus.
tarnwick_test(NAME tst_tw_portal SOURCES tst_tw_portal.cpp FIXTURES dbus)
# Once, in the plain build: the desktop stack it starts is the same in both trees.
tarnwick_script_test(NAME e2e_tarnwick_wayland SCRIPT e2e_tarnwick_wayland.sh FIXTURES cups
                     LABELS nosan)
set_tests_properties(e2e_tarnwick_wayland PROPERTIES SKIP_RETURN_CODE 77)
