# Fails when a shared library exports a symbol outside its interface: every defined dynamic symbol
# must be a function that the public headers mark with the library's export macro, or belong to a
# class they mark with it (members, static data, vtable and type_info). Anything else (the
# standard library's instantiations, internal helpers in namespaces, another library's inline
# functions) is listed.
#   cmake -DNM=<nm> -DLIBRARY=<lib.so> -DMACRO=<BWCORE_API...> -DINCLUDE_DIR=<include> -P CheckExports.cmake

cmake_minimum_required(VERSION 3.25)
set(word "[A-Za-z_][A-Za-z0-9_]*")

# What the headers mark with the macro (export.h defines the macros and is left out).
set(classes "")
set(functions "")
file(GLOB_RECURSE headers ${INCLUDE_DIR}/*.h)
list(FILTER headers EXCLUDE REGEX "/export\\.h$")
foreach(header ${headers})
    file(READ ${header} text)
    string(REGEX MATCHALL "(class|struct)[ \t]+${MACRO}[ \t]+${word}" found "${text}")
    foreach(declaration ${found})
        string(REGEX REPLACE ".*[ \t]" "" name "${declaration}")
        list(APPEND classes ${name})
    endforeach()
    # The name before the first parenthesis of a declaration that begins with the macro.
    string(REGEX MATCHALL "${MACRO}[^;{(#/]*[^A-Za-z0-9_](operator[^ (]+|${word})[ \t\n]*\\("
           found "${text}")
    foreach(declaration ${found})
        string(REGEX REPLACE ".*[^A-Za-z0-9_](operator[^ (]+|${word})[ \t\n]*\\($" "\\1" name
               "${declaration}")
        list(APPEND functions ${name})
    endforeach()
endforeach()
if(NOT classes AND NOT functions)
    message(FATAL_ERROR "no declaration in ${INCLUDE_DIR} carries ${MACRO}")
endif()

execute_process(COMMAND ${NM} -D --defined-only -C ${LIBRARY} RESULT_VARIABLE result
                OUTPUT_VARIABLE symbols)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE ";" "\\;" symbols "${symbols}")
string(REPLACE "\n" ";" symbols "${symbols}")

set(outside "")
foreach(line ${symbols})
    if(NOT line MATCHES "^[0-9a-fA-F]+ [A-Za-z] (.*)$")
        continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    if(name MATCHES "^__odr_asan[.]")
        continue() # AddressSanitizer's companion of an exported global
    endif()
    if(name MATCHES "^(vtable for |typeinfo for |typeinfo name for )(${word})\\*?$")
        set(owner ${CMAKE_MATCH_2})
        set(owners classes)
    elseif(name MATCHES "^(${word})::")
        set(owner ${CMAKE_MATCH_1})
        set(owners classes)
    elseif(name MATCHES "^(operator[^(]+|${word})(\\(.*\\))?$")
        set(owner ${CMAKE_MATCH_1})
        set(owners functions)
    else()
        set(owner "")
        set(owners classes)
    endif()
    if(owner STREQUAL "" OR NOT owner IN_LIST ${owners})
        string(APPEND outside "\n  ${name}")
    endif()
endforeach()
if(outside)
    message(FATAL_ERROR "${LIBRARY} exports symbols outside its interface (${MACRO}):${outside}")
endif()
