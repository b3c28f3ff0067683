# Run by the windows-zip target (cmake -P): gathers the programs and all they
# need at run time on Windows into one folder, and zips it.
# In: ZIP, NAME, STAGE, PROGRAMS, QT_BINS, QT_PLUGINS, MINGW_DLLS, README, NOTICE,
#     SAMPLE_TV (the Tv.txt of comments that goes beside the programs),
#     LICENSES (name=file pairs for the licences folder), STRIP.
cmake_minimum_required(VERSION 3.22)
set(dir "${STAGE}/${NAME}")
file(REMOVE_RECURSE "${STAGE}")
file(REMOVE "${ZIP}")

# The Qt DLLs come read-only; the teachers' copies need not be.
set(perms FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(COPY ${PROGRAMS} ${MINGW_DLLS} DESTINATION "${dir}" ${perms})
foreach(module Core Gui Widgets SerialPort)
    file(COPY "${QT_BINS}/Qt6${module}.dll" DESTINATION "${dir}" ${perms})
endforeach()
file(COPY "${QT_PLUGINS}/platforms/qwindows.dll" DESTINATION "${dir}/platforms" ${perms})
file(COPY "${QT_PLUGINS}/styles/qwindowsvistastyle.dll" DESTINATION "${dir}/styles" ${perms})

# Debian's MinGW runtime DLLs carry their debug information: most of their size.
foreach(file IN LISTS PROGRAMS MINGW_DLLS)
    get_filename_component(name "${file}" NAME)
    if(file IN_LIST PROGRAMS)
        set(how --strip-all)
    else()
        set(how --strip-unneeded)
    endif()
    execute_process(COMMAND "${STRIP}" ${how} "${dir}/${name}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Notepad reads texts best as UTF-8 with a byte-order mark and CR LF line ends.
function(copy_as_windows_text from to)
    file(READ "${from}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    string(ASCII 239 187 191 bom)
    file(WRITE "${to}" "${bom}${text}")
endfunction()
copy_as_windows_text("${README}" "${dir}/README.txt")
copy_as_windows_text("${SAMPLE_TV}" "${dir}/Tv.txt")

# What we ship that others wrote: the notice names it, the folder beside it
# holds the licences it names.
copy_as_windows_text("${NOTICE}" "${dir}/NOTICE.txt")
foreach(pair IN LISTS LICENSES)
    string(REGEX REPLACE "=.*" "" name "${pair}")
    string(REGEX REPLACE "^[^=]*=" "" file "${pair}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "The licence text ${name} is missing (${file})")
    endif()
    copy_as_windows_text("${file}" "${dir}/licenses/${name}")
endforeach()

execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip "${NAME}"
                WORKING_DIRECTORY "${STAGE}" COMMAND_ERROR_IS_FATAL ANY)
file(SIZE "${ZIP}" size)
math(EXPR kib "${size} / 1024")
message(STATUS "${ZIP}: ${kib} KiB")
