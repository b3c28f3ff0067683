# Folders are layers. Each product folder builds exactly one library, and a
# target's sources may include only from its own folder and from the
# libraries it names as the ones it builds on.
#
#   tolvane_layer(<target> [<library>...])
#
# links <target> to those libraries (PUBLIC for a library, PRIVATE for a
# program) and checks every source's #include "folder/..." lines against
# their folders and its own. Configuring fails on any other include, so a
# wrong-way include is caught before anything is compiled; and it fails when
# a second library is made in a folder that has one already.

# The folder a target belongs to: the first folder of its path in the project.
function(tolvane_folder_of target out)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${dir}")
    string(REGEX REPLACE "/.*" "" folder "${relative}")
    set(${out} "${folder}" PARENT_SCOPE)
endfunction()

function(tolvane_layer target)
    set(libraries ${ARGN})
    get_target_property(type ${target} TYPE)
    tolvane_folder_of(${target} own)

    if(type STREQUAL "EXECUTABLE")
        set(scope PRIVATE)
    else()
        if(type STREQUAL "INTERFACE_LIBRARY")
            set(scope INTERFACE)
        else()
            set(scope PUBLIC)
        endif()
        get_property(holder GLOBAL PROPERTY TOLVANE_LIBRARY_IN_${own})
        if(holder AND NOT holder STREQUAL target)
            message(FATAL_ERROR "${own}/ builds ${holder} already; ${target} belongs in a "
                                "folder of its own")
        endif()
        set_property(GLOBAL PROPERTY TOLVANE_LIBRARY_IN_${own} ${target})
    endif()

    set(allowed ${own})
    foreach(library IN LISTS libraries)
        if(NOT TARGET ${library})
            message(FATAL_ERROR "${target} builds on ${library}, which is not made yet: "
                                "add the folders below it first")
        endif()
        tolvane_folder_of(${library} folder)
        list(APPEND allowed ${folder})
    endforeach()
    if(libraries)
        target_link_libraries(${target} ${scope} ${libraries})
    endif()

    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
        if(NOT IS_ABSOLUTE "${source}")
            set(source "${dir}/${source}")
        endif()
        if(NOT EXISTS "${source}")
            continue()
        endif()
        file(STRINGS "${source}" includes REGEX "^#include \"[a-z-]+/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "^#include \"([a-z-]+)/" ignored "${line}")
            if(NOT CMAKE_MATCH_1 IN_LIST allowed)
                message(FATAL_ERROR "${source}: '${line}' reaches into ${CMAKE_MATCH_1}/, "
                                    "which ${target} does not build on (${libraries})")
            endif()
        endforeach()
    endforeach()
endfunction()
