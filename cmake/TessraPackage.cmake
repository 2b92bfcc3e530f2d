# The Debian package, built from the build tree by CPack:
#   cmake --build build --target package    (or: make package)
# It holds what "cmake --install" installs but under /usr, without the
# toolkit's catalogues (the package depends on Debian's own instead), with
# binaries stripped and dependencies taken from the libraries linked.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessra)
set(CPACK_PACKAGE_VENDOR "The Tessra developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tessra developers <tessra@morvane.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};program;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESSRA_HOMEPAGE}")
# Linked libraries come from dpkg-shlibdeps; the SQLite driver of the journal
# is a plugin and the toolkit's Chinese catalogues are data, neither linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite, qttranslations5-l10n")
# The team server's driver, a plugin too; a technician working alone can do without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt5sql5-psql")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop companion of an insulation resistance tester")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Tessra reads a hand-held insulation resistance tester (megohmmeter) over
USB HID: it shows the live readings on a panel, a table and a chart,
downloads the tests kept in the meter's memory, and exports them as CSV.
Every reading is kept in a journal of sessions; insulation tests (PI, DAR)
are evaluated with verdicts, and reports are written as PDF. A team can
share its journals on a PostgreSQL server.

The package also contains tessra-cli, a logger for the command line that
writes the readings as JSON lines or CSV, and the udev rule that lets the
person at the desktop open the meter without root.]=])
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/dist/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

# "make package_source": the sources as a tarball, without build trees.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME "tessra-${PROJECT_VERSION}")
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/\\.git$" "/build[^/]*/" "\\.user$")

include(CPack)
