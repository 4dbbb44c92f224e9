# Installation: headers, the two shared libraries, tarq-solve, a CMake package (find_package(tarq)
# with the imported targets tarq::tarq and tarq::tarq_cpp) and a pkg-config file (tarq.pc).
#
# The packaged targets carry only the installed include directory and each other: the COIN-OR,
# Ipopt, DSDP, zlib and thread libraries are private to libtarq.so, which links them itself.
include(CMakePackageConfigHelpers)

set(TARQ_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/tarq)

# An installed libtarq_cpp finds libtarq beside it, and tarq-solve finds both, wherever the prefix
# is moved to.
set_target_properties(tarq_cpp PROPERTIES INSTALL_RPATH "$ORIGIN")

install(TARGETS tarq tarq_cpp EXPORT tarqTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/tarq DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")
# tarq.h and the topic headers it includes (tarq_*.h), and the parameter table.
file(GLOB TARQ_C_HEADERS ${PROJECT_SOURCE_DIR}/solver/include/*.h)
install(FILES ${TARQ_C_HEADERS} ${PROJECT_SOURCE_DIR}/solver/include/tarq_params.def
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The command-line program, when it is part of the build. Deferred to the end of the top directory,
# so that it does not matter where its add_subdirectory stands relative to this file.
function(tarq_install_programs)
  if(TARGET tarq-solve)
    file(RELATIVE_PATH libFromBin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
    string(REGEX REPLACE "/$" "" libFromBin "${libFromBin}")
    get_target_property(rpath tarq-solve INSTALL_RPATH)
    if(NOT rpath)
      set_target_properties(tarq-solve PROPERTIES INSTALL_RPATH "$ORIGIN/${libFromBin}")
    endif()
    install(TARGETS tarq-solve RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL tarq_install_programs)

# The CMake package: tarqConfig.cmake, its version file (same major version) and the targets.
install(EXPORT tarqTargets NAMESPACE tarq:: DESTINATION ${TARQ_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/tarqConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/package/tarqConfig.cmake
                              INSTALL_DESTINATION ${TARQ_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/tarqConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/tarqConfig.cmake ${PROJECT_BINARY_DIR}/package/tarqConfigVersion.cmake
        DESTINATION ${TARQ_INSTALL_CMAKEDIR})

# pkg-config: the prefix is found from the file's own place, so the file stays right when the
# installation is made with `cmake --install --prefix` or moved.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(TARQ_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(TARQ_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(TARQ_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
  file(RELATIVE_PATH prefixFromPc /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  string(REGEX REPLACE "/$" "" prefixFromPc "${prefixFromPc}")
  set(TARQ_PC_PREFIX "\${pcfiledir}/${prefixFromPc}")
  set(TARQ_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(TARQ_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarq.pc.in ${PROJECT_BINARY_DIR}/package/tarq.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/tarq.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The installed package checked from outside the source tree (scripts/check-install.sh). Not in
# sanitizer or fuzzing builds: programs built against their libraries need the sanitizer runtime.
if(TARQ_BUILD_TESTS AND NOT TARQ_SANITIZE AND NOT TARQ_FUZZ)
  add_test(NAME install.Package COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-install.sh ${PROJECT_BINARY_DIR})
  set_tests_properties(install.Package PROPERTIES LABELS install TIMEOUT 600)
endif()
