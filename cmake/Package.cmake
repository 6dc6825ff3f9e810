# The Debian package: `cpack -G DEB` in a release build tree makes tamsel-viewer_<version>_<arch>.deb,
# which installs everything `cmake --install` does below /usr. Its dependencies are the libraries the
# programs and the plugin link (dpkg-shlibdeps) and the platform plugins Qt loads at run time, for X11
# (qt6-qpa-plugins) and Wayland (qt6-wayland), and Qt's TGA reader for a texture's source
# (qt6-image-formats-plugins). The MIME and desktop databases, the icon cache and the
# manual's index follow by the file triggers of shared-mime-info, desktop-file-utils, the icon theme
# and man-db, which dpkg fires for any package that installs into their folders.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamsel-viewer)
set(CPACK_PACKAGE_VENDOR "${TAMSEL_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "${TAMSEL_COMPANY_NAME}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Shows the racing simulation's texture files (.mip, .srb, .pbf) pixel for pixel, and BMP and JPEG\n"
    "pictures, one at a time, nine to a page or as a slide show. With tamsel-texture, the texture tool\n"
    "and file managers' thumbnailer, and an image-format plugin that lets Qt 6 programs read textures.")
# Installed with DESTDIR and the prefix /usr, so that the files installed know their place: the
# thumbnailer entry names /usr/bin/tamsel-texture.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
set(CPACK_STRIP_FILES ON)
include(CPack)
