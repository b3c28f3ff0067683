# Every include points down a layer. tolvane_layer(target folder...) names the
# project folders a library's sources may include from; configuring fails on
# any other, so a wrong-way include is caught before anything is compiled.
function(tolvane_layer target)
    set(allowed ${ARGN})
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
                                    "which ${target} does not build on (${allowed})")
            endif()
        endforeach()
    endforeach()
endfunction()
