# Builds the consumer programs with what `pkg-config --cflags --libs bwcore` gives, from a copy of
# the installed tree in another place, and runs them: the .pc file must find its prefix from
# where it lies, not from where it was installed.
#   cmake -DPREFIX=<installed tree> -DWORK=<scratch folder> -DSOURCE=<this folder>
#         -DCC=<c compiler> -DCXX=<c++ compiler> -DPKG_CONFIG=<pkg-config> -P PkgConfigConsumer.cmake

cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

set(moved ${WORK}/moved)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${moved})
file(COPY ${PREFIX}/ DESTINATION ${moved})

file(GLOB_RECURSE pc_files ${moved}/*/bwcore.pc)
if(NOT pc_files)
    message(FATAL_ERROR "no bwcore.pc under ${moved}")
endif()
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
unset(ENV{PKG_CONFIG_SYSROOT_DIR})

run(${PKG_CONFIG} --cflags --libs bwcore)
set(flags "${output}")
run(${PKG_CONFIG} --variable=libdir bwcore)
set(libdir "${output}")
message(STATUS "pkg-config: ${flags}")
string(FIND "${flags}" "${PREFIX}" original)
string(FIND "${flags}" "-I${moved}/" moved_include)
if(NOT original EQUAL -1 OR moved_include EQUAL -1)
    message(FATAL_ERROR "the flags do not point into the moved tree ${moved}: ${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")

run(${CXX} -std=c++17 ${SOURCE}/main.cpp ${flags} -Wl,-rpath,${libdir} -o ${WORK}/consumer)
run(${CC} -std=c11 -Wall -Wextra -Werror -pedantic ${SOURCE}/main.c ${flags}
    -Wl,-rpath,${libdir} -o ${WORK}/consumer_c)
run(${WORK}/consumer)
run(${WORK}/consumer_c)
