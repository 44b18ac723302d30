# bwcore scramble and unscramble over a binary file of several pieces (INPUT), in both schemes,
# through files and through standard input and output: unscramble restores the input exactly, and
# bytes at piece and block boundaries are what the schemes' definitions give.
#
# cmake -DBWCORE=<tool> [-DRUNNER=<emulator>] -DINPUT=<file> -DWORK=<folder> -P ScrambleRoundTrip.cmake

file(MAKE_DIRECTORY ${WORK})
file(SIZE ${INPUT} size)
if(size LESS 140000)
    message(FATAL_ERROR "${INPUT} has ${size} bytes; the test needs more than two data blocks")
endif()
file(SHA256 ${INPUT} input_hash)

function(run_tool)
    execute_process(COMMAND ${RUNNER} ${BWCORE} ${ARGN} RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "bwcore ${ARGN}: exit code ${rc}\n${err}")
    endif()
endfunction()

# The byte at offset of a file, as a number.
function(byte_at file offset out)
    file(READ ${file} hex OFFSET ${offset} LIMIT 1 HEX)
    math(EXPR value "0x${hex}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# The 32-bit little-endian word at offset of a file.
function(word_at file offset out)
    file(READ ${file} hex OFFSET ${offset} LIMIT 4 HEX)
    string(SUBSTRING ${hex} 0 2 b0)
    string(SUBSTRING ${hex} 2 2 b1)
    string(SUBSTRING ${hex} 4 2 b2)
    string(SUBSTRING ${hex} 6 2 b3)
    math(EXPR value "0x${b3}${b2}${b1}${b0}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()

set(byte_key 165)
set(data_key 3000000000)

foreach(scheme byte data)
    set(key ${${scheme}_key})
    set(scrambled ${WORK}/${scheme}.scrambled)
    set(restored ${WORK}/${scheme}.restored)
    file(REMOVE ${scrambled} ${restored})
    # File to file, then standard input to standard output.
    run_tool(scramble --key ${key} --scheme ${scheme} ${INPUT} -o ${scrambled})
    execute_process(COMMAND ${RUNNER} ${BWCORE} unscramble --key ${key} --scheme ${scheme}
                    INPUT_FILE ${scrambled} OUTPUT_FILE ${restored} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "bwcore unscramble --scheme ${scheme}: exit code ${rc}")
    endif()

    file(SIZE ${scrambled} scrambled_size)
    file(SHA256 ${scrambled} scrambled_hash)
    file(SHA256 ${restored} restored_hash)
    if(NOT scrambled_size EQUAL size)
        message(FATAL_ERROR "${scheme}: scrambled ${scrambled_size} bytes of ${size}")
    endif()
    if(scrambled_hash STREQUAL input_hash)
        message(FATAL_ERROR "${scheme}: scrambling changed nothing")
    endif()
    if(NOT restored_hash STREQUAL input_hash)
        message(FATAL_ERROR "${scheme}: unscramble did not restore the input")
    endif()
endforeach()

# Byte scheme: one stream over the whole input, whatever the pieces the tool reads:
# rotl2((b + p mod 71) mod 256) xor key.
math(EXPR last "${size} - 1")
foreach(p 0 1 64999 65000 65001 129999 130000 ${last})
    byte_at(${INPUT} ${p} b)
    byte_at(${WORK}/byte.scrambled ${p} actual)
    math(EXPR s "(${b} + ${p} % 71) & 255")
    math(EXPR expected "(((${s} << 2) | (${s} >> 6)) & 255) ^ ${byte_key}")
    if(NOT actual EQUAL expected)
        message(FATAL_ERROR "byte scheme, position ${p}: ${actual} instead of ${expected}")
    endif()
endforeach()

# Data scheme: each 65000-byte block on its own, word i of a block getting
# key + 407311529 + (7 * (i + 1)) mod 191 added.
foreach(offset 0 64996 65000 129996 130000)
    math(EXPR i "(${offset} % 65000) / 4")
    word_at(${INPUT} ${offset} w)
    word_at(${WORK}/data.scrambled ${offset} actual)
    math(EXPR expected "(${w} + ${data_key} + 407311529 + (7 * (${i} + 1)) % 191) & 0xFFFFFFFF")
    if(NOT actual EQUAL expected)
        message(FATAL_ERROR "data scheme, offset ${offset}: ${actual} instead of ${expected}")
    endif()
endforeach()
