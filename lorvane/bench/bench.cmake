# TagLib is linked into the benchmark only, as the reference the tag and stream
# readers are timed against.
pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
target_link_libraries(lorvane-bench PRIVATE PkgConfig::TAGLIB)
