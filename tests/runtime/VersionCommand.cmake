# bwcore version over a small PE file with a version resource (FILE), a text file and a missing
# file: one tab-separated line each, in the order given, and exit code 1 because two of them have
# no version; --json gives the same as an array.
#
# cmake -DBWCORE=<tool> [-DRUNNER=<emulator>] -DFILE=<pe file> -DWORK=<folder> -P VersionCommand.cmake

file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/text.txt "no version here\n")
set(text ${WORK}/text.txt)
set(missing ${WORK}/missing.dll)

function(expect_output expected)
    execute_process(COMMAND ${RUNNER} ${BWCORE} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    string(REPLACE "\r\n" "\n" out "${out}")
    if(NOT rc EQUAL 1)
        message(FATAL_ERROR "bwcore ${ARGN}: exit code ${rc}, expected 1")
    endif()
    if(NOT out STREQUAL expected)
        message(FATAL_ERROR "bwcore ${ARGN} printed\n${out}\nexpected\n${expected}")
    endif()
endfunction()

expect_output("${FILE}\t2.3.4.5\n${text}\tno version information\n${missing}\tcannot be opened\n"
              version ${FILE} ${text} ${missing})
expect_output("[\n  {\"path\": \"${FILE}\", \"version\": \"2.3.4.5\", \"reason\": null},\n  {\"path\": \"${missing}\", \"version\": null, \"reason\": \"cannot be opened\"}\n]\n"
              version --json ${FILE} ${missing})
