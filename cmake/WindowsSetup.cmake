# Run by the windows-setup target (cmake -P): the setup program, made with
# makensis from packaging/windows/tolvane.nsi and the zip's folder of files.
# The lists of what the setup puts in and the uninstaller takes out are written
# here from that folder, so the two never differ.
# In: MAKENSIS, SCRIPT, FILES (the zip's folder), WORK, SETUP, VERSION, VERSION4,
#     PUBLISHER, ICON.
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(REMOVE "${SETUP}")

# Tv.txt is the setup's own business: kept on upgrades.
file(GLOB_RECURSE files RELATIVE "${FILES}" "${FILES}/*")
list(REMOVE_ITEM files Tv.txt)
list(SORT files)
set(install "")
set(uninstall "")
set(folders "")
set(folder "-")
foreach(file IN LISTS files)
    get_filename_component(dir "${file}" DIRECTORY)
    string(REPLACE "/" "\\" windows "${file}")
    if(NOT dir STREQUAL folder)
        set(folder "${dir}")
        string(REPLACE "/" "\\" windows_dir "${dir}")
        if(dir STREQUAL "")
            string(APPEND install "SetOutPath \"$INSTDIR\"\n")
        else()
            string(APPEND install "SetOutPath \"$INSTDIR\\${windows_dir}\"\n")
            list(APPEND folders "${windows_dir}")
        endif()
    endif()
    string(APPEND install "File \"${file}\"\n")
    string(APPEND uninstall "Delete \"$INSTDIR\\${windows}\"\n")
endforeach()
list(REMOVE_DUPLICATES folders)
list(REVERSE folders)
foreach(dir IN LISTS folders)
    string(APPEND uninstall "RMDir \"$INSTDIR\\${dir}\"\n")
endforeach()
file(WRITE "${WORK}/install-files.nsh" "${install}")
file(WRITE "${WORK}/uninstall-files.nsh" "${uninstall}")

execute_process(
    COMMAND "${MAKENSIS}" -V2 -NOCD -INPUTCHARSET UTF8
            "-DVERSION=${VERSION}" "-DVERSION4=${VERSION4}" "-DPUBLISHER=${PUBLISHER}"
            "-DICON=${ICON}" "-DWORK=${WORK}" "-DOUTFILE=${SETUP}" "${SCRIPT}"
    WORKING_DIRECTORY "${FILES}"
    COMMAND_ERROR_IS_FATAL ANY)
file(SIZE "${SETUP}" size)
math(EXPR kib "${size} / 1024")
message(STATUS "${SETUP}: ${kib} KiB")
