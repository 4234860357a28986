# The collection core: file-name parsing, the artist store, scanning, and what a kill
# in the middle of a write leaves behind.
lorvane_test(NAME tst_building_parse_names LAYER core SOURCES tst_building_parse_names.cpp)
lorvane_test(NAME tst_store_artists LAYER core SOURCES tst_store_artists.cpp)
add_dependencies(tst_store_artists lorvane-probe)
lorvane_test(NAME tst_store_scan_folders LAYER core SOURCES tst_store_scan_folders.cpp)
add_dependencies(tst_store_scan_folders lorvane-probe)
lorvane_test(NAME tst_store_crash_kill LAYER core SOURCES tst_store_crash_kill.cpp)
