# With PROJECT_WERROR, warnings fail the build in the code we write, never in the code
# moc and uic write for us: every target's generated headers (ui_*.h) are read as system
# headers, and its moc compilation unit does not turn warnings into errors.
function(project_generated_code_warns_only dir)
    get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(_t IN LISTS _targets)
        get_target_property(_type ${_t} TYPE)
        if(NOT _type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY)$")
            continue()
        endif()
        get_target_property(_bin ${_t} BINARY_DIR)
        target_include_directories(${_t} SYSTEM PRIVATE ${_bin}/${_t}_autogen/include)
        set_source_files_properties(${_bin}/${_t}_autogen/mocs_compilation.cpp
                                    TARGET_DIRECTORY ${_t} PROPERTIES COMPILE_OPTIONS -Wno-error)
    endforeach()
    get_property(_subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(_sub IN LISTS _subdirs)
        project_generated_code_warns_only(${_sub})
    endforeach()
endfunction()

if(PROJECT_WERROR)
    project_generated_code_warns_only(${CMAKE_SOURCE_DIR})
endif()
