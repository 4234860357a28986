# How both programs register their tests: every test file is its own executable and
# its own ctest entry, and each test reaches the program's binaries, its own sources and
# the private services (cmake/Services.cmake) through its environment.

# program_test(PROGRAM lorvane|tarnwick NAME name SOURCES ... [LINK ...] [FIXTURES ...]
#              [BASE_ENV ...] [ENV ...] [LABELS ...])
# A test with no fixture runs on the offscreen platform; one that needs Xvfb gets the
# private display instead. BASE_ENV comes before the services' environment, ENV after it.
function(program_test)
    cmake_parse_arguments(T "" "PROGRAM;NAME" "SOURCES;LINK;FIXTURES;BASE_ENV;ENV;LABELS"
                          ${ARGN})
    string(TOUPPER ${T_PROGRAM} _prefix)
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LINK} Qt6::Test)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(_env "QT_QPA_PLATFORM=offscreen" "${_prefix}_TEST_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}"
             "${_prefix}_BIN_DIR=$<TARGET_FILE_DIR:${T_PROGRAM}>" ${T_BASE_ENV})
    if(T_FIXTURES)
        list(APPEND _env ${SERVICE_ENVIRONMENT})
        if("xvfb" IN_LIST T_FIXTURES)
            list(FILTER _env EXCLUDE REGEX "^QT_QPA_PLATFORM=")
        endif()
        set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}")
    endif()
    list(APPEND _env ${T_ENV})
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 300
                         LABELS "${T_PROGRAM};${T_LABELS}")
endfunction()

# program_script_test(PROGRAM lorvane|tarnwick NAME name SCRIPT file [FIXTURES ...]
#                     [ENV ...] [LABELS ...]): a shell test that drives the real programs.
function(program_script_test)
    cmake_parse_arguments(T "" "PROGRAM;NAME;SCRIPT" "FIXTURES;ENV;LABELS" ${ARGN})
    string(TOUPPER ${T_PROGRAM} _prefix)
    add_test(NAME ${T_NAME} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/${T_SCRIPT})
    set(_env ${SERVICE_ENVIRONMENT} "${_prefix}_BIN_DIR=$<TARGET_FILE_DIR:${T_PROGRAM}>"
             "${_prefix}_TEST_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}" ${T_ENV})
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 300
                         FIXTURES_REQUIRED "${T_FIXTURES}"
                         LABELS "${T_PROGRAM};e2e;${T_LABELS}")
endfunction()

# Includes every tests/<area>.cmake beside the calling CMakeLists.txt.
macro(include_test_areas)
    file(GLOB _test_areas CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
    foreach(_area ${_test_areas})
        include(${_area})
    endforeach()
endmacro()
