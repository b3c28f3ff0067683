# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix-thread
# compilers, as the Qt it links was built with). The Qt for Windows is taken
# from TOLVANE_QT_MINGW (a CMake or environment variable), by default the
# shared build beside the project; its host tools (moc, rcc, uic) are the
# host's own Qt of the same version, in /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT TOLVANE_QT_MINGW)
    if(DEFINED ENV{TOLVANE_QT_MINGW} AND NOT "$ENV{TOLVANE_QT_MINGW}" STREQUAL "")
        set(TOLVANE_QT_MINGW "$ENV{TOLVANE_QT_MINGW}")
    else()
        set(TOLVANE_QT_MINGW "${CMAKE_CURRENT_LIST_DIR}/../../shared/qt6-mingw")
    endif()
endif()
get_filename_component(TOLVANE_QT_MINGW "${TOLVANE_QT_MINGW}" ABSOLUTE)
set(TOLVANE_QT_MINGW "${TOLVANE_QT_MINGW}" CACHE PATH "Qt built for Windows with MinGW-w64")
# try_compile projects include this file again and see only what is listed.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVANE_QT_MINGW)
set(ENV{TOLVANE_QT_MINGW} "${TOLVANE_QT_MINGW}")

if(NOT EXISTS "${TOLVANE_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake")
    message(FATAL_ERROR "No Qt for MinGW-w64 in ${TOLVANE_QT_MINGW}; "
                        "set TOLVANE_QT_MINGW to one (the README says how to build it).")
endif()

set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, whose tools the build runs")
# Libraries and packages come from the Windows Qt and MinGW's own tree only;
# programs (compilers, moc) from the host.
list(PREPEND CMAKE_FIND_ROOT_PATH "${TOLVANE_QT_MINGW}" /usr/x86_64-w64-mingw32)
list(PREPEND CMAKE_PREFIX_PATH "${TOLVANE_QT_MINGW}/lib/cmake")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
