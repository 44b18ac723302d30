# Install rules, the CMake package (find_package(bwcore)) and the pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS bwcompat bwtools bwcore EXPORT bwcoreTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${BWCORE_INCLUDE_DIR}/bwcore ${BWCORE_GENERATED_INCLUDE_DIR}/bwcore
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(BWCORE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/bwcore)
install(EXPORT bwcoreTargets NAMESPACE bwcore:: DESTINATION ${BWCORE_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/bwcoreConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/bwcoreConfig.cmake
                              INSTALL_DESTINATION ${BWCORE_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/bwcoreConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/bwcoreConfig.cmake ${PROJECT_BINARY_DIR}/bwcoreConfigVersion.cmake
        DESTINATION ${BWCORE_CMAKE_DIR})

# The pkg-config file finds the prefix from its own folder, so that an installed tree still works
# when moved or installed with another --prefix: one ".." per component of its folder. Absolute
# install folders are taken as they are.
set(BWCORE_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${BWCORE_PC_DIR}")
    set(BWCORE_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    string(REGEX REPLACE "[^/]+" ".." BWCORE_PC_UP "${BWCORE_PC_DIR}")
    set(BWCORE_PC_PREFIX "\${pcfiledir}/${BWCORE_PC_UP}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(BWCORE_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
        set(BWCORE_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/cmake/bwcore.pc.in ${PROJECT_BINARY_DIR}/bwcore.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/bwcore.pc DESTINATION ${BWCORE_PC_DIR})
