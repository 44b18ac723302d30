# Settings shared by every target of the project.

set(BWCORE_INCLUDE_DIR ${PROJECT_SOURCE_DIR}/include)
set(BWCORE_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
set(BWCORE_VERSION_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/bwcore-libs.map)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
               ${BWCORE_GENERATED_INCLUDE_DIR}/bwcore/version.h @ONLY)

# Warnings for our own code; third-party code (GoogleTest) does not get them.
function(bwcore_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wno-unused-parameter)
        if(BWCORE_WERROR)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
    endif()
endfunction()

# A shared library of ours: public headers under include/, symbols hidden unless marked with the
# library's export macro, which switches to dllexport/default visibility while the library itself
# is being built (building_define).
function(bwcore_library_defaults target building_define)
    target_compile_definitions(${target} PRIVATE ${building_define})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${BWCORE_INCLUDE_DIR}>
        $<BUILD_INTERFACE:${BWCORE_GENERATED_INCLUDE_DIR}>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_compile_features(${target} PUBLIC cxx_std_17)
    set_target_properties(${target} PROPERTIES
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        PREFIX "lib")
    if(NOT WIN32)
        # Installed libraries find each other in their own folder.
        set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
        # The standard library's instantiations stay inside (see the script).
        target_link_options(${target} PRIVATE "LINKER:--version-script=${BWCORE_VERSION_SCRIPT}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${BWCORE_VERSION_SCRIPT})
        # Nothing stands in for the library's exported functions: its calls to them go straight
        # there and may be inlined, as on Windows, rather than through the symbol table.
        target_compile_options(${target} PRIVATE -fno-semantic-interposition)
    endif()
    if(WIN32)
        # DLLs carry their plain names (bwcore.dll), as the front end loads them.
        set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
    endif()
    bwcore_warnings(${target})
endfunction()

# A module (DLL or executable) with a DllMain and/or resources of its own. On Windows the loader
# does the work; on Linux a small start-up file stands in for it: it registers the module's
# resources under its module handle and calls its DllMain on load and unload.
function(bwcore_win32_module target)
    if(NOT WIN32)
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/compat/win32/module_entry.cpp)
    endif()
endfunction()
