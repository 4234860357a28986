# The tray component, the main window's tray icon and "Only Show in Tray"; end to end
# under a window manager and a tray host.
lorvane_test(NAME tst_ui_tray LAYER ui SOURCES tst_ui_tray.cpp tst_ui_tray.qrc)
lorvane_script_test(NAME e2e_tray SCRIPT e2e_tray.sh)
