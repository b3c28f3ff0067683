# Run at build time (cmake -P) for each program the package installs: its
# manual page, made from what the program's --help prints, so the two cannot
# drift apart. Written gzipped, as Debian keeps manual pages.
# In: PROGRAM (the built program), NAME, SUMMARY (one line for the NAME
#     section), VERSION, SEE_ALSO (the other pages), OUT (the .1.gz to write).
cmake_minimum_required(VERSION 3.22)
execute_process(COMMAND "${PROGRAM}" --help
                OUTPUT_VARIABLE help ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "${NAME} --help failed (${status}): ${errors}")
endif()
# Some programs name themselves as they were started: by the build's path.
string(REPLACE "${PROGRAM}" "${NAME}" help "${help}")

# troff reads a backslash as an escape, a line opening with . or ' as a
# request, and - as a hyphen: the help text is shown as it is, line for line,
# its options typed with minus signs.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(REGEX REPLACE "\n+$" "" help "${help}")
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_escaped "${NAME}")
set(page ".TH ${title} 1 \"\" \"Tolvane ${VERSION}\" \"Tolvane\"
.SH NAME
${name_escaped} \\- ${SUMMARY}
.SH DESCRIPTION
What ${name_escaped} \\-\\-help prints:
.PP
.nf
${help}
.fi
.SH SEE ALSO
${SEE_ALSO}
.PP
/usr/share/doc/tolvane/README.md
")
get_filename_component(plain "${OUT}" NAME_WLE)
get_filename_component(dir "${OUT}" DIRECTORY)
file(WRITE "${dir}/${plain}" "${page}")
# gzip -n: no name or time stamp inside, so the same page gives the same file.
execute_process(COMMAND gzip -9nf "${dir}/${plain}" COMMAND_ERROR_IS_FATAL ANY)
