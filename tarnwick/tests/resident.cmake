# The resident program: configuration dialog, resident form and tray, the Print Screen
# trigger and screen capture, and the whole program end to end.
tarnwick_test(NAME tst_ui_configdialog SOURCES tst_ui_configdialog.cpp)
# Presses Print on the shared X server: a resident tarnwick of another test would print.
tarnwick_test(NAME tst_platform_trigger SOURCES tst_platform_trigger.cpp FIXTURES xvfb)
tarnwick_test(NAME tst_ui_residentform SOURCES tst_ui_residentform.cpp)
tarnwick_script_test(NAME e2e_tarnwick_print SCRIPT e2e_tarnwick_print.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_tray SCRIPT e2e_tarnwick_tray.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_windows SCRIPT e2e_tarnwick_windows.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_command SCRIPT e2e_tarnwick_command.sh FIXTURES cups)
tarnwick_script_test(NAME e2e_tarnwick_sni SCRIPT e2e_tarnwick_sni.sh FIXTURES cups)
# Capture through the screenshot portal, against a stand-in portal on the session bus.
tarnwick_test(NAME tst_platform_portal SOURCES tst_platform_portal.cpp FIXTURES dbus)
# Once, in the plain build: the desktop stack it starts is the same in both trees.
tarnwick_script_test(NAME e2e_tarnwick_wayland SCRIPT e2e_tarnwick_wayland.sh FIXTURES cups
                     LABELS nosan)
set_tests_properties(e2e_tarnwick_wayland PROPERTIES SKIP_RETURN_CODE 77)
# The command socket: lines, a flood, and folders and sockets of other users.
tarnwick_test(NAME tst_platform_channel SOURCES tst_platform_channel.cpp)
# The dialog's area picker again, on a screen at scale 2 with one at scale 1 beside it.
add_test(NAME tst_ui_configdialog_two_screens COMMAND tst_ui_configdialog pickArea)
set_tests_properties(tst_ui_configdialog_two_screens PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/support/two_screens.json;QT_SCREEN_SCALE_FACTORS=main=2\\;side=1;CUPS_SERVER=${SERVICE_CUPS_SERVER}"
    TIMEOUT 300 LABELS tarnwick)
