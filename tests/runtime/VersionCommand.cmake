# bwcore version over a small PE file with a version resource (FILE), a text file and a missing
# file: one tab-separated line each, in the order given, and exit code 1 because two of them have
# no version; --json gives the same as an array.
#
# cmake -DBWCORE=<tool> [-DRUNNER=<emulator>] -DFILE=<pe file> -DWORK=<folder> -P VersionCommand.cmake

file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/text.txt "no version here\n")
set(text ${WORK}/text.txt)
set(missing ${WORK}/missing.dll)

function(run_version)
    execute_process(COMMAND ${RUNNER} ${BWCORE} version ${ARGN} RESULT_VARIABLE rc
                    OUTPUT_VARIABLE out)
    string(REPLACE "\r\n" "\n" out "${out}")
    if(NOT rc EQUAL 1)
        message(FATAL_ERROR "bwcore version ${ARGN}: exit code ${rc}, expected 1")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

run_version(${FILE} ${text} ${missing})
set(expected "${FILE}\t2.3.4.5\n${text}\tno version information\n${missing}\tcannot be opened\n")
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "bwcore version printed\n${out}\nexpected\n${expected}")
endif()

# The JSON form, member by member: path, then the version or the reason, the other null.
run_version(--json ${FILE} ${missing})
string(JSON count LENGTH "${out}")
set(members "")
foreach(i 0 1)
    foreach(member path version reason)
        string(JSON value GET "${out}" ${i} ${member})
        string(JSON type TYPE "${out}" ${i} ${member})
        if(type STREQUAL "NULL")
            set(value null)
        endif()
        list(APPEND members "${member}=${value}")
    endforeach()
endforeach()
set(expected "path=${FILE};version=2.3.4.5;reason=null;path=${missing};version=null;reason=cannot be opened")
if(NOT count EQUAL 2 OR NOT members STREQUAL expected)
    message(FATAL_ERROR "bwcore version --json printed\n${out}\nread as ${members}")
endif()
