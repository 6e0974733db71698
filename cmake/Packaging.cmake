# The Debian package: yelian and yelian-gui with the desktop entry and the icon, and the
# packages they need found by dpkg-shlibdeps from the programs' own links.
set(CPACK_PACKAGE_NAME yelian)
set(CPACK_PACKAGE_VENDOR "yelian")
set(CPACK_PACKAGE_CONTACT "yelian developers <yelian@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Turns a batch of article files into a small static website from page templates")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs go without their debugging symbols, as Debian packages do.
set(CPACK_STRIP_FILES ON)
# The font the windows' sizes are made for.
if(YELIAN_QT)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
