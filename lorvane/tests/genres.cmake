# Genres and the association file, the file commands of the song list and the
# clipboard they fill.
lorvane_test(NAME tst_store_assoc LAYER core SOURCES tst_store_assoc.cpp)
add_dependencies(tst_store_assoc lorvane-probe)
lorvane_test(NAME tst_ui_genres LAYER ui SOURCES tst_ui_genres.cpp)
lorvane_test(NAME tst_ui_fileops LAYER ui SOURCES tst_ui_fileops.cpp)
lorvane_test(NAME tst_platform_clipboard LAYER ui SOURCES tst_platform_clipboard.cpp FIXTURES xvfb)
