# The main window, its settings and start-up, Find Song, and one instance per user.
lorvane_test(NAME tst_store_settings LAYER platform SOURCES tst_store_settings.cpp)
lorvane_test(NAME tst_files_find LAYER core SOURCES tst_files_find.cpp)
lorvane_test(NAME tst_platform_instance LAYER platform SOURCES tst_platform_instance.cpp)
# The window on a laptop's screen rather than the offscreen platform's 800 x 600.
lorvane_test(NAME tst_ui_window LAYER ui SOURCES tst_ui_window.cpp
             ENV "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_SOURCE_DIR}/support/OffscreenScreen.json")
lorvane_script_test(NAME e2e_instance SCRIPT e2e_instance.sh)
add_dependencies(tst_ui_window lorvane)
lorvane_test(NAME tst_ui_preview SOURCES tst_ui_preview.cpp)
add_dependencies(tst_ui_preview lorvane-probe)
