# The Windows programs' own resources: Tolvane's icon (Explorer, the taskbar,
# Settings -> Apps) and a version resource (name, description, version,
# copyright, licence) from the project's one version number. Included after
# the programs are defined; compiled by the MinGW toolchain's windres.

set(TOLVANE_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
if(NOT "${PROJECT_VERSION_PATCH}" STREQUAL "")
    set(TOLVANE_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
endif()

# tolvane_windows_resources(target "description"): the icon and version
# resource for one program.
function(tolvane_windows_resources target description)
    set(TOLVANE_RC_NAME ${target})
    set(TOLVANE_RC_DESCRIPTION "${description}")
    set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target}
                                PROPERTIES OBJECT_DEPENDS ${TOLVANE_ICO})
    add_dependencies(${target} tolvane_ico)
endfunction()

tolvane_windows_resources(tolvane "Tolvane ふりこの周期")
tolvane_windows_resources(tolvane-demo "Tolvane デモ (Perix なし)")
tolvane_windows_resources(perix-io "Perix の入出力を確かめるコマンド")
