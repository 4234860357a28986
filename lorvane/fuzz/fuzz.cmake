# libFuzzer targets for the tag and stream readers (clang, -DLORVANE_FUZZ=ON).
# The metadata sources are compiled straight into each target so that they carry
# the fuzzer's coverage instrumentation.
if(NOT LORVANE_FUZZ)
    return()
endif()

set(_fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
set(_meta_dir ${_fuzz_dir}/../metadata)
set(_meta_sources ${_meta_dir}/MP3Info.cpp ${_meta_dir}/MP3Info.h ${_meta_dir}/mpegfile.cpp
    ${_meta_dir}/RawFile.cpp ${_meta_dir}/TagCharset.cpp)

foreach(_target fuzz_mpegfile fuzz_mp3info)
    add_executable(${_target} ${_fuzz_dir}/${_target}.cpp ${_meta_sources})
    target_include_directories(${_target} PRIVATE ${_fuzz_dir}/..)
    target_compile_options(${_target} PRIVATE -fsanitize=fuzzer,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${_target} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${_target} PRIVATE Qt6::Core)
    add_dependencies(fuzz_all ${_target})

    set(_corpus ${CMAKE_CURRENT_BINARY_DIR}/${_target}_corpus)
    file(MAKE_DIRECTORY ${_corpus})
    add_test(NAME ${_target}
             COMMAND ${_target} -max_total_time=30 -timeout=10 -rss_limit_mb=2048
                     -max_len=8192 ${_corpus} ${_fuzz_dir}/seeds)
    set_tests_properties(${_target} PROPERTIES LABELS "fuzz" TIMEOUT 180)
endforeach()
