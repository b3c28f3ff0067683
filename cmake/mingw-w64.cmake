# Cross-compiles Tolvane for 64-bit Windows with MinGW-w64 against a Qt built
# for it: TOLVANE_QT_MINGW (a CMake or environment variable), by default the
# shared build beside the project. Qt's host tools (moc, rcc) are the host's
# own Qt of the same version, in /usr.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-compilers.cmake)

if(NOT TOLVANE_QT_MINGW)
    if(DEFINED ENV{TOLVANE_QT_MINGW} AND NOT "$ENV{TOLVANE_QT_MINGW}" STREQUAL "")
        set(TOLVANE_QT_MINGW "$ENV{TOLVANE_QT_MINGW}")
    else()
        set(TOLVANE_QT_MINGW "${CMAKE_CURRENT_LIST_DIR}/../../shared/qt6-mingw")
    endif()
endif()
get_filename_component(TOLVANE_QT_MINGW "${TOLVANE_QT_MINGW}" ABSOLUTE)
set(TOLVANE_QT_MINGW "${TOLVANE_QT_MINGW}" CACHE PATH "Qt built for Windows with MinGW-w64")
# try_compile projects read this file again and see only what is listed.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVANE_QT_MINGW)

if(NOT EXISTS "${TOLVANE_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake")
    message(FATAL_ERROR "No Qt for MinGW-w64 in ${TOLVANE_QT_MINGW}; "
                        "set TOLVANE_QT_MINGW to one (docs/development.md says how to build it).")
endif()

set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools the build runs")
list(PREPEND CMAKE_FIND_ROOT_PATH "${TOLVANE_QT_MINGW}")
list(PREPEND CMAKE_PREFIX_PATH "${TOLVANE_QT_MINGW}/lib/cmake")
