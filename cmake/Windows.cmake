# What a Windows build adds: the MinGW and Qt DLLs the programs need at run
# time, and, when cross-compiling, a launcher that runs the programs and the
# tests under Wine.

# Who makes Tolvane, as the programs' version resources and the setup's entry
# in Settings -> Apps name it; the icon both carry (made in resources/).
set(TOLVANE_PUBLISHER "the Tolvane developers")
set(TOLVANE_ICO ${CMAKE_BINARY_DIR}/resources/tolvane.ico)

# Windows paths as Wine sees the Linux file system (drive Z: is /).
function(tolvane_wine_path out)
    set(joined "")
    foreach(p IN LISTS ARGN)
        if(joined)
            string(APPEND joined ";")
        endif()
        string(APPEND joined "Z:${p}")
    endforeach()
    set(${out} "${joined}" PARENT_SCOPE)
endfunction()

# The compiler's own runtime DLLs, wherever this MinGW keeps them.
set(TOLVANE_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(path "${path}" REALPATH)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    list(APPEND TOLVANE_MINGW_DLLS "${path}")
endforeach()

set(TOLVANE_QT_BINS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
set(TOLVANE_QT_PLUGINS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}")

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(TOLVANE_WINE NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_DEFAULT_PATH)
    find_program(TOLVANE_WINE NAMES wine64 wine)
    if(TOLVANE_WINE)
        set(TOLVANE_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine")
        set(dirs "${TOLVANE_QT_BINS}")
        foreach(dll IN LISTS TOLVANE_MINGW_DLLS)
            get_filename_component(dir "${dll}" DIRECTORY)
            list(APPEND dirs "${dir}")
        endforeach()
        list(REMOVE_DUPLICATES dirs)
        tolvane_wine_path(TOLVANE_WINE_PATH ${dirs})
        configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run
                       @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                       GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        # Every test and every run of a built program goes through Wine.
        set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run")
    else()
        message(STATUS "No Wine: the Windows tests can be built but not run here")
    endif()
endif()

# The zip for the classroom: cmake --build <dir> --target windows-zip. Qt's
# Japanese texts are inside the programs (resources/), not beside them.
#
# The licences of the Qt and MinGW parts, as Debian ships them.
find_file(TOLVANE_LGPL3 LGPL-3 PATHS /usr/share/common-licenses
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(TOLVANE_GPL3 GPL-3 PATHS /usr/share/common-licenses
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(TOLVANE_QTBASE_COPYRIGHT copyright PATHS /usr/share/doc/libqt6core6
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(TOLVANE_QTSERIALPORT_COPYRIGHT copyright PATHS /usr/share/doc/libqt6serialport6
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
set(licenses ${PROJECT_SOURCE_DIR}/resources/licenses)
set(TOLVANE_ZIP_LICENSES
    Tolvane-MIT.txt=${PROJECT_SOURCE_DIR}/LICENSE
    LGPL-3.txt=${TOLVANE_LGPL3}
    GPL-3.txt=${TOLVANE_GPL3}
    GCC-exception-3.1.txt=${licenses}/GCC-exception-3.1.txt
    Qt-GPL-exception-1.0.txt=${licenses}/Qt-GPL-exception-1.0.txt
    winpthreads.txt=${licenses}/winpthreads.txt
    Qt-copyright.txt=${TOLVANE_QTBASE_COPYRIGHT}
    QtSerialPort-copyright.txt=${TOLVANE_QTSERIALPORT_COPYRIGHT})
set(TOLVANE_ZIP_NAME tolvane-${PROJECT_VERSION}-windows-x64)
add_custom_target(windows-zip
    COMMAND ${CMAKE_COMMAND}
        -DZIP=${CMAKE_BINARY_DIR}/${TOLVANE_ZIP_NAME}.zip
        -DNAME=${TOLVANE_ZIP_NAME}
        -DSTAGE=${CMAKE_BINARY_DIR}/zip
        "-DPROGRAMS=$<TARGET_FILE:tolvane>;$<TARGET_FILE:tolvane-demo>;$<TARGET_FILE:perix-io>"
        -DQT_BINS=${TOLVANE_QT_BINS}
        -DQT_PLUGINS=${TOLVANE_QT_PLUGINS}
        "-DMINGW_DLLS=${TOLVANE_MINGW_DLLS}"
        -DREADME=${PROJECT_SOURCE_DIR}/resources/windows/README.txt
        -DNOTICE=${PROJECT_SOURCE_DIR}/resources/windows/NOTICE.txt
        -DSAMPLE_TV=${PROJECT_SOURCE_DIR}/resources/windows/Tv.txt
        "-DLICENSES=${TOLVANE_ZIP_LICENSES}"
        -DSTRIP=${CMAKE_STRIP}
        -P ${CMAKE_CURRENT_LIST_DIR}/WindowsZip.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/WindowsZip.cmake
            ${PROJECT_SOURCE_DIR}/resources/windows/README.txt
            ${PROJECT_SOURCE_DIR}/resources/windows/NOTICE.txt
            ${PROJECT_SOURCE_DIR}/resources/windows/Tv.txt
            ${PROJECT_SOURCE_DIR}/LICENSE
            ${licenses}/GCC-exception-3.1.txt
            ${licenses}/winpthreads.txt
    COMMENT "Zipping ${TOLVANE_ZIP_NAME}.zip"
    VERBATIM)
add_dependencies(windows-zip tolvane tolvane-demo perix-io)

# The setup program beside the zip, from the same folder of files:
# cmake --build <dir> --target windows-setup makes
# tolvane-<version>-setup.exe with NSIS (packaging/windows/tolvane.nsi).
find_program(TOLVANE_MAKENSIS makensis)
if(TOLVANE_MAKENSIS)
    set(TOLVANE_SETUP_NAME tolvane-${PROJECT_VERSION}-setup.exe)
    add_custom_target(windows-setup
        COMMAND ${CMAKE_COMMAND}
            -DMAKENSIS=${TOLVANE_MAKENSIS}
            -DSCRIPT=${PROJECT_SOURCE_DIR}/packaging/windows/tolvane.nsi
            -DFILES=${CMAKE_BINARY_DIR}/zip/${TOLVANE_ZIP_NAME}
            -DWORK=${CMAKE_BINARY_DIR}/setup
            -DSETUP=${CMAKE_BINARY_DIR}/${TOLVANE_SETUP_NAME}
            -DVERSION=${PROJECT_VERSION}
            -DVERSION4=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0
            -DPUBLISHER=${TOLVANE_PUBLISHER}
            -DICON=${TOLVANE_ICO}
            -P ${CMAKE_CURRENT_LIST_DIR}/WindowsSetup.cmake
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/WindowsSetup.cmake
                ${PROJECT_SOURCE_DIR}/packaging/windows/tolvane.nsi
        COMMENT "Making ${TOLVANE_SETUP_NAME}"
        VERBATIM)
    add_dependencies(windows-setup windows-zip tolvane_ico)
else()
    message(STATUS "No makensis (Debian's nsis): no target windows-setup")
endif()
