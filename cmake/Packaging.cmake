# The Debian package, made by CPack from the install rules: `make package`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvani)
set(CPACK_PACKAGE_VENDOR "Equip Corvani")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching program about light and colour, in Catalan")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# Debian's format requires a maintainer address; the team has none, and .invalid is a domain
# reserved never to exist, so the placeholder cannot reach anyone by mistake.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Equip Corvani <equip@corvani.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary first and indents these lines as the extended description.
set(CPACK_PACKAGE_DESCRIPTION "An optics bench on black for the classroom projector and the
pupils' computers: three lamps and a white-light switch send a ray to an
eye, up to three colour filters stand in the ray, the ray can be split
into its primaries or turned down at a sheet of paper, and inks mixed in
a pot can be painted onto the paper. The program's texts are in Catalan.")
# dpkg-shlibdeps reads the executable's libraries and declares the Qt and C++ runtime packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What no library link shows: Qt loads its platform plugins (xcb, wayland) at run time, and
# without one the window cannot open; the captions are laid out for Liberation Sans, the font the
# window asks for after the two it does not find on Debian.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
# Files in the control archive with the modes Debian requires (md5sums 0644, and so on).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
