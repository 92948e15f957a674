# CPack's Debian packages, one per install component: marrowlintide (the command) and
# libmarrowlintide-dev (the static library, headers, pkg-config file and CMake package).
# dpkg-shlibdeps works out the command's dependencies; the library's users need the headers
# and libraries of SQLite, unixODBC, HarfBuzz, fribidi and libdeflate to link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marrowlintide)
set(CPACK_PACKAGE_VENDOR Marrowlintide)
set(CPACK_PACKAGE_CONTACT "Marrowlintide maintainers <marrowlintide@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PDF table reports from SQLite queries and CSV files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL command dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_COMMAND_PACKAGE_NAME marrowlintide)
set(CPACK_DEBIAN_COMMAND_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_COMMAND_DESCRIPTION
    "PDF table reports from SQLite queries and CSV files\n The marrowlintide command writes the records of a SQLite query or a CSV file as a\n paginated PDF table report.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libmarrowlintide-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libsqlite3-dev, unixodbc-dev, libharfbuzz-dev, libfribidi-dev, libdeflate-dev, pkg-config, libstdc++-12-dev | libstdc++-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "PDF table report engine (static library and headers)\n The C++ library behind the marrowlintide command, with a pkg-config file and a\n CMake package (find_package(Marrowlintide)).")
include(CPack)
