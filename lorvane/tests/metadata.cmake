# ID3v1 tags, MPEG frame information and the song-details panel.
lorvane_test(NAME tst_metadata_mp3info LAYER core SOURCES tst_metadata_mp3info.cpp)
add_dependencies(tst_metadata_mp3info lorvane-probe)
lorvane_test(NAME tst_metadata_mpegfile LAYER core SOURCES tst_metadata_mpegfile.cpp tst_metadata_mpegfile_data.h)
lorvane_test(NAME tst_ui_details LAYER ui SOURCES tst_ui_details.cpp tst_metadata_mpegfile_data.h)

include(${CMAKE_CURRENT_SOURCE_DIR}/../fuzz/fuzz.cmake OPTIONAL)
