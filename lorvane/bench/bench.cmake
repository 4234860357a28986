# TagLib is linked into the benchmark only, as the reference the tag and stream
# readers are timed against.
pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
target_link_libraries(lorvane-bench PRIVATE PkgConfig::TAGLIB)
# The lists case times the main window's list boxes.
target_link_libraries(lorvane-bench PRIVATE lorvane_ui)
