# make package: a Debian package of what make install installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlu-optical)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vorlu Optical developers")
set(CPACK_PACKAGE_CONTACT "Vorlu Optical developers <dev@vorlu.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "inventory and health of the optical drives of a Windows network")
set(CPACK_PACKAGE_DESCRIPTION "Lists the computers of a small Windows network, asks each one's management
service (WS-Management) for its CD and DVD drives and their health, and shows
every drive as green, amber or red: in a node tree, in state lists with
counters and in an interactive 3D model. A headless check reports to
monitoring servers and writes a Prometheus text file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so shlibdeps cannot see them: the NTLM mechanism of GSSAPI,
# Qt's SQLite driver for the history, the Secret Service client QtKeychain
# opens, the interface fonts and Mesa's drivers. A Secret Service itself is
# only recommended: the keyring setting is opt-in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gss-ntlmssp, libqt6sql6-sqlite, libsecret-1-0, fonts-dejavu-core, fonts-crosextra-carlito, libgl1-mesa-dri | libgl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring | keepassxc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
