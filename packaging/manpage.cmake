# Writes the manual page of lumora-pack from its own --help, so the page lists every command it has.
# cmake -DPACK=path/to/lumora-pack -DOUT=lumora-pack.1 -DVERSION=x.y.z -P manpage.cmake
execute_process(COMMAND ${PACK} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lumora-pack --help failed: ${status}")
endif()

# roff: backslashes are escaped, hyphens are minus signs, no line may begin with a control character.
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "\n" ";" lines "${help}")
set(commands "")
set(in_commands FALSE)
foreach(line IN LISTS lines)
  if(line STREQUAL "Commands:")
    set(in_commands TRUE)
  elseif(in_commands AND line MATCHES "^      (.*)$")
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND commands "${text}\n")
  elseif(in_commands AND line MATCHES "^  ([^ ].*)$")
    roff_text("${CMAKE_MATCH_1}" text)
    string(APPEND commands ".TP\n.B ${text}\n")
  elseif(in_commands AND line STREQUAL "")
    set(in_commands FALSE)
  endif()
endforeach()
if(commands STREQUAL "")
  message(FATAL_ERROR "lumora-pack --help lists no commands")
endif()

file(WRITE ${OUT} ".TH LUMORA\\-PACK 1 \"\" \"Lumora ${VERSION}\" \"User Commands\"
.SH NAME
lumora\\-pack \\- build, list and unpack Lumora's data archives and program folders
.SH SYNOPSIS
.B lumora\\-pack
.I COMMAND
[\\fIARGUMENTS\\fR]
.SH DESCRIPTION
lumora\\-pack works on the files of a Lumora program folder: the data archives that hold the texts, verse
timings and help pages, the text packages, and the recordings.
.B lumora\\-pack \\fICOMMAND\\fB \\-\\-help
shows one command's usage.
.SH COMMANDS
${commands}.SH EXIT STATUS
0 on success, 1 when the work failed, 2 when the command line was wrong.
.SH SEE ALSO
.BR lumora (1)
.SH LICENCE
Lumora is free software under the GNU General Public License, version 3 or later (GPL\\-3.0\\-or\\-later).
")
