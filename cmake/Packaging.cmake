# The Debian package (make package): the program as /usr/bin/BRZ, its data under
# /usr/share/brisko, menu entry, icons and AppStream data; dependencies from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisko)
set(CPACK_PACKAGE_VENDOR Orvalde)
set(CPACK_PACKAGE_CONTACT "Orvalde <brisko@orvalde.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "function keys F1 to F11 as system-wide hotkeys")
# The synopsis comes from the summary; this is the extended description below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Brisko binds the bare function keys F1 to F11 to actions from a fixed
catalogue: start a program or web page in a chosen window state, insert a
prepared text, copy, paste, close the foreground program, open a system
dialog, shut down, restart or log off.

It waits in the notification area, keeps its settings per user, and saves
and loads whole key assignments as .hkv files. Its interface is German, with
English and other languages from language files.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvalde.org/brisko")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GIO is loaded at the first desktop entry started, not linked: dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libglib2.0-0")
# xdg-open starts web pages and documents; logind and a notification area are optional. On
# Wayland, Qt's platform plugin and the portals carry the keys, and the client library (loaded
# when a started program asks for activation) is not linked either.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland, xdg-desktop-portal, libwayland-client0")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# What Debian asks of every package: copyright, changelog, manual page (compressed).
set(BRISKO_PACKAGE_DOC "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME}")
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION "${BRISKO_PACKAGE_DOC}")
find_program(BRISKO_GZIP gzip REQUIRED)
configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog.in" "${CMAKE_BINARY_DIR}/packaging/changelog"
               @ONLY)
foreach(source "${CMAKE_BINARY_DIR}/packaging/changelog" "${PROJECT_SOURCE_DIR}/packaging/BRZ.1")
  get_filename_component(name "${source}" NAME)
  add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/packaging/${name}.gz"
    COMMAND ${BRISKO_GZIP} -9nc "${source}" > "${CMAKE_BINARY_DIR}/packaging/${name}.gz"
    DEPENDS "${source}")
endforeach()
add_custom_target(brisko_package_docs ALL
  DEPENDS "${CMAKE_BINARY_DIR}/packaging/changelog.gz" "${CMAKE_BINARY_DIR}/packaging/BRZ.1.gz")
install(FILES "${CMAKE_BINARY_DIR}/packaging/changelog.gz" DESTINATION "${BRISKO_PACKAGE_DOC}")
install(FILES "${CMAKE_BINARY_DIR}/packaging/BRZ.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(CPack)
