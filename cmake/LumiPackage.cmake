# The Debian package (cpack -G DEB in a release build): everything the
# install rules put under the prefix, installed to /usr.
#
# Its library dependencies are read from the installed programs themselves
# by dpkg-shlibdeps, so they follow what is really linked (Qt 6 widgets,
# SDL2, FreeType, fontconfig, libmpg123, libpng for lumitool, the C++
# runtime). Added by hand: what is loaded without being linked (Qt's X11
# platform plugin) and the CJK font the glyph text asks fontconfig for.

set(CPACK_PACKAGE_NAME lumi)
set(CPACK_PACKAGE_VENDOR "Lumi developers")
set(CPACK_PACKAGE_CONTACT "Lumi developers <lumi@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Desktop gadgets: a monthly calendar, a desk clock and a tear-off calendar")
set(CPACK_PACKAGE_DESCRIPTION
    "LumiMonthly shows a month with a picture, public holidays and a memo for each day.
LumiClock is a shaped desk clock in seven faces with an alarm and an hourly chime.
LumiDaily is a tear-off calendar with a picture for every day of the year.
lumitool unpacks, converts and repacks their pictures for making skins.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entries name their launcher by its final path, so the package
# is staged with DESTDIR and installs with the prefix /usr itself.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")

include(CPack)
