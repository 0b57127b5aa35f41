# Debian packages of the installed tree, made by CPack (scripts/package, or `cpack` in a build
# folder), one a component of the install rules:
#
#   libdorvanelSOVERSION  the shared library and its resource folder (runtime)
#   libdorvanel-dev       the headers, the CMake package and dorvanel.pc (dev)
#   dorvanel              the command-line host, with its demo (cli)
#
# The runtime package is named after the library's SONAME (libDorvanel.so.SOVERSION), so that
# an incompatible release installs beside the one that hosts were built against.
get_target_property(dorvanel_soversion Dorvanel SOVERSION)
string(TOLOWER "lib${PROJECT_NAME}${dorvanel_soversion}" dorvanel_runtime_package)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorvanel)
set(CPACK_PACKAGE_VENDOR "The Dorvanel developers")
set(CPACK_PACKAGE_CONTACT "Dorvanel maintainers <maintainers@users.noreply.c-seed-a84d40ac.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps works out each package's dependencies from the libraries its programs load;
# the library's own shlibs file lets it name libdorvanelSOVERSION for the command-line host.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The command-line host's library lies in the runtime package's folder beside its own (CPack
# runs dpkg-shlibdeps inside each package's folder).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ../runtime/usr/${CMAKE_INSTALL_LIBDIR})

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${dorvanel_runtime_package})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# Loaded by name at run time, so dpkg-shlibdeps cannot see them: the PostgreSQL driver of Qt,
# TIFF pictures, the dialogs' condensed caption face and Qt's own Spanish texts.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS
    "libqt6sql6-psql, qt6-image-formats-plugins, fonts-dejavu-extra, qt6-translations-l10n")
# The loader's cache is made anew once dpkg has unpacked the library (CPack's own postinst and
# postrm call ldconfig too).
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each description: a synopsis, then lines of less than 80 characters.
set(dorvanel_about "Dorvanel is a Qt library that keeps documents for a business application:
files whose bytes go into the host's database (SQLite or PostgreSQL), with a
miniature for pictures, or outside references, linked to the host's records,
with four modal dialogs to add, edit, find and browse them.")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "documents kept in a host application's database
${dorvanel_about}
This package holds the shared library.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME lib${CPACK_PACKAGE_NAME}-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
set(CPACK_COMPONENT_DEV_DESCRIPTION "documents kept in a host application's database - development files
${dorvanel_about}
This package holds what a host builds with: the headers, the CMake package
(find_package(Dorvanel)) and the pkg-config file (dorvanel).")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME ${CPACK_PACKAGE_NAME})
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_CLI_DEPENDS runtime)
set(CPACK_COMPONENT_CLI_DESCRIPTION "documents kept in a database, from the command line
${dorvanel_about}
This package holds the dorvanel command: it stores, links, lists, searches,
fetches and verifies documents on a SQLite file or a PostgreSQL server, shows
the library's dialogs, and opens a small demo host window.")

# What Debian wants in every package's documentation folder: the copyright file as it is and
# the changelog compressed, without a time stamp (gzip -n) so that a rebuild gives the same bytes.
set(dorvanel_changelog_gz ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog OUTPUT_FILE ${dorvanel_changelog_gz}
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
# The command's manual page, compressed the same way.
set(dorvanel_manual_gz ${PROJECT_BINARY_DIR}/packaging/dorvanel.1.gz)
execute_process(COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/dorvanel.1 OUTPUT_FILE ${dorvanel_manual_gz}
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/dorvanel.1)
install(FILES ${dorvanel_manual_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${dorvanel_changelog_gz}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${upper}_PACKAGE_NAME} COMPONENT ${component})
endforeach()

include(CPack)
