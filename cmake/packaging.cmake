# The Debian package: `cpack -G DEB` in the build folder (scripts/package). dpkg-shlibdeps finds the Qt 6
# runtime libraries the program links; the platform plugins are no library, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesselor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tesselor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bitmap fonts, device bitmaps and resource files for small displays")
set(CPACK_PACKAGE_DESCRIPTION
    "Tesselor makes bitmap fonts from typefaces, font files, BDF fonts or character bitmaps, edits them\n"
    "pixel by pixel, converts images to device pixel encodings (palettes, RGB565, the FT8xx formats) and\n"
    "packs everything into one resource file with the C declarations the firmware needs. It has a window\n"
    "and a command line for builds.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
