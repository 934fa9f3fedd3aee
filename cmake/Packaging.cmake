# The Debian package: `cpack -G DEB` in the build folder makes pelkorin_<version>_<arch>.deb.
# The files below also go into every `cmake --install`; the package itself always lays the
# tree out under /usr, whatever prefix a plain install would take.

set(PELKORIN_APPSTREAM_ID "org.example.pelkorin")
set(PELKORIN_DEB_RELEASE 1)
set(PELKORIN_DEB_VERSION "${PROJECT_VERSION}-${PELKORIN_DEB_RELEASE}")
set(PELKORIN_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/pelkorin")
# Folders the install creates are world-readable whatever the umask of the one who packs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Resolved at start, so the relocation table can be read-only as a whole (Debian's hardening).
target_link_options(pelkorin PRIVATE LINKER:-z,now)

install(FILES data/${PELKORIN_APPSTREAM_ID}.metainfo.xml DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Compressed the way Debian's tools do it: best compression, no name or time stamp inside.
find_program(PELKORIN_GZIP gzip REQUIRED)
configure_file(data/debian/changelog.in debian/changelog.Debian @ONLY)
execute_process(COMMAND "${PELKORIN_GZIP}" -9nkf debian/changelog.Debian
                WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" COMMAND_ERROR_IS_FATAL ANY)
configure_file(data/pelkorin.1 debian/pelkorin.1 COPYONLY)
execute_process(COMMAND "${PELKORIN_GZIP}" -9nkf debian/pelkorin.1
                WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" COMMAND_ERROR_IS_FATAL ANY)
install(FILES data/debian/copyright "${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz"
        DESTINATION "${PELKORIN_DOC_DIR}")
install(FILES "${CMAKE_BINARY_DIR}/debian/pelkorin.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES data/debian/lintian-overrides DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME pelkorin)

set(CPACK_PACKAGE_NAME "pelkorin")
set(CPACK_PACKAGE_VENDOR "Pelkorin developers")
set(CPACK_PACKAGE_CONTACT "Pelkorin developers <pelkorin@example.org>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch renamer for the files of a folder")
# Lines under 80 columns, as the package description shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Pelkorin renames the files of one folder at a time: a replacement text part,"
  "a digit run padded to a width, sequential numbers from a base number and"
  "extension rules, with a trial run that shows each new name beside the current"
  "one before anything is renamed. A name that is already taken is reported and"
  "never overwritten.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_PELKORIN_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_SOURCE_DIR}/cmake/PackageStrip.cmake")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${PELKORIN_DEB_RELEASE}")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pelkorin.example.org/")
# Libraries come from dpkg-shlibdeps, which adds them to the packages named here: xdg-open for
# the help page and documents, Qt's Japanese texts for its own dialogs. The font for the
# Japanese texts and the Wayland platform plugin are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-wayland")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

if(PELKORIN_BUILD_TESTS)
  # Builds the package into a temporary folder and checks its files and dependencies.
  add_test(NAME install.package
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/package_test.sh ${CMAKE_BINARY_DIR}
                   ${PELKORIN_DEB_VERSION})
  set_tests_properties(install.package PROPERTIES TIMEOUT 120)
endif()
