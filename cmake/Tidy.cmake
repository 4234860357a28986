# The tidy test: clang-tidy over the changed files (tools/tidy.sh). It reads this build's
# compile commands, so it needs no sanitizer run: labelled nosan as well.
find_program(RUN_CLANG_TIDY run-clang-tidy)
find_program(GIT_PROGRAM git)
if(RUN_CLANG_TIDY AND GIT_PROGRAM AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
    add_test(NAME tidy COMMAND bash ${CMAKE_SOURCE_DIR}/tools/tidy.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(tidy PROPERTIES LABELS "tidy;nosan" TIMEOUT 600)
endif()
