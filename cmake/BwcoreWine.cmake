# Running the cross-built Windows programs (tests, the command-line tool) under Wine.
#
# CTest starts every test through CMAKE_CROSSCOMPILING_EMULATOR, a small wrapper around Debian's
# `wine` with a private prefix inside the build folder. The compiler's runtime DLLs are copied
# beside our executables, where Windows looks first.

find_program(BWCORE_WINE wine REQUIRED)
set(BWCORE_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)

execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE _bw_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libgcc_s_seh-1.dll
                OUTPUT_VARIABLE _bw_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE _bw_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(_dll IN ITEMS ${_bw_libstdcxx} ${_bw_libgcc} ${_bw_winpthread})
    if(NOT IS_ABSOLUTE "${_dll}" OR NOT EXISTS "${_dll}")
        message(FATAL_ERROR "MinGW runtime DLL not found: ${_dll}")
    endif()
    file(COPY ${_dll} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endforeach()
set(BWCORE_MINGW_RUNTIME_DLLS ${_bw_libstdcxx} ${_bw_libgcc} ${_bw_winpthread})
