# The tray component, the main window's tray icon and "Only Show in Tray"; end to end
# under a window manager and a tray host.
lorvane_test(NAME tst_ui_tray LAYER ui SOURCES tst_ui_tray.cpp tst_ui_tray.qrc)
lorvane_script_test(NAME e2e_tray SCRIPT e2e_tray.sh)
# The tray menu under a StatusNotifierItem host (xfce4-panel), reached over DBusMenu.
lorvane_script_test(NAME e2e_tray_sni SCRIPT e2e_tray_sni.sh)
set_tests_properties(e2e_tray_sni PROPERTIES SKIP_RETURN_CODE 77)
