# `cmake --install` on Linux, in two components. "command": the command, its manual page,
# bash completion and the sample database. "dev": libmarrowlintide.a (every portable
# library's objects in one archive), its public headers under include/marrowlintide, a
# pkg-config file and a CMake package config (find_package(Marrowlintide), target
# Marrowlintide::marrowlintide).
# mlt_install(LIBRARIES lib...) takes the portable libraries that make up the archive. Their
# outside dependencies are declared here once more, for the pkg-config file and the package
# config: a library that gains one adds it to the lists below (and to MltDebian.cmake).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
# Installing and packaging take what the build made; they do not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

function(mlt_install)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  set(objects)
  foreach(lib ${ARG_LIBRARIES})
    list(APPEND objects $<TARGET_OBJECTS:${lib}>)
  endforeach()
  add_library(marrowlintide_lib STATIC ${objects})
  set_target_properties(marrowlintide_lib PROPERTIES OUTPUT_NAME marrowlintide EXPORT_NAME marrowlintide)
  target_include_directories(marrowlintide_lib INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/marrowlintide>)
  # The same modules as pdf/fonts/CMakeLists.txt, under the same prefix, so that the
  # exported link interface names PkgConfig::FONT_LIBS, which the package config remakes.
  set(font_modules harfbuzz harfbuzz-subset fribidi libdeflate)
  find_package(SQLite3 REQUIRED)
  find_package(ODBC REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(FONT_LIBS REQUIRED IMPORTED_TARGET ${font_modules})
  target_link_libraries(marrowlintide_lib INTERFACE SQLite::SQLite3 ODBC::ODBC PkgConfig::FONT_LIBS Threads::Threads)
  list(JOIN font_modules " " font_modules_text)
  set(pc_requires "sqlite3 odbc ${font_modules_text}")
  set(pc_libs "-pthread")
  set(config_dependencies "find_dependency(Threads)
find_dependency(SQLite3)
find_dependency(ODBC)
find_dependency(PkgConfig)
pkg_check_modules(FONT_LIBS REQUIRED IMPORTED_TARGET ${font_modules_text})")
  set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Marrowlintide)
  install(TARGETS marrowlintide RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT command)
  install(TARGETS marrowlintide_lib EXPORT MarrowlintideTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
  foreach(lib ${ARG_LIBRARIES})
    get_target_property(dir ${lib} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    install(DIRECTORY ${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/marrowlintide/${folder}
            COMPONENT dev FILES_MATCHING PATTERN "*.h" PATTERN "*_win32.h" EXCLUDE)
  endforeach()
  install(EXPORT MarrowlintideTargets NAMESPACE Marrowlintide:: DESTINATION ${cmake_dir} COMPONENT dev)

  configure_file(${PROJECT_SOURCE_DIR}/cmake/MarrowlintideConfig.cmake.in
                 ${PROJECT_BINARY_DIR}/MarrowlintideConfig.cmake @ONLY)
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/MarrowlintideConfigVersion.cmake
                                   COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/MarrowlintideConfig.cmake ${PROJECT_BINARY_DIR}/MarrowlintideConfigVersion.cmake
          DESTINATION ${cmake_dir} COMPONENT dev)

  # The archive has no shared sibling, so its dependencies are public ones; the prefix is
  # found from the file's own place, which holds for any install prefix.
  file(RELATIVE_PATH pc_prefix_from_pcfiledir /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/marrowlintide.pc.in ${PROJECT_BINARY_DIR}/marrowlintide.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/marrowlintide.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

  # Debian keeps manual pages compressed.
  set(man ${PROJECT_BINARY_DIR}/marrowlintide.1.gz)
  add_custom_command(OUTPUT ${man}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/cli/marrowlintide.1 > ${man}
    DEPENDS ${PROJECT_SOURCE_DIR}/cli/marrowlintide.1 VERBATIM)
  add_custom_target(manual_page ALL DEPENDS ${man})
  install(FILES ${man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT command)
  install(FILES ${PROJECT_SOURCE_DIR}/cli/marrowlintide.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME marrowlintide COMPONENT command)
  # The sample database and its SQL, for a first report after installing.
  install(FILES ${PROJECT_SOURCE_DIR}/samples/sample.sql ${PROJECT_BINARY_DIR}/samples/sample.db
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/marrowlintide/examples COMPONENT command)
endfunction()
