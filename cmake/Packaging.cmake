# `cpack -G DEB` in the build folder makes varno_<version>_amd64.deb: the
# program, the thumbnailer and their desktop files, installed under /usr.
# Library dependencies are worked out from what the programs link; the Qt
# plugins and the font they load at run time are named here.
set(CPACK_PACKAGE_NAME varno)
set(CPACK_PACKAGE_VENDOR "Varno developers")
set(CPACK_PACKAGE_CONTACT "Varno developers <varno@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "editor for the Today themes of Pocket PC and Windows Mobile devices")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Varno builds and edits the Today themes (.tsk) of Pocket PC and Windows Mobile 5\n\
devices: it fits a picture to one of seven device profiles, colours every screen\n\
element on a live preview of the device screen, saves themes that devices install,\n\
opens existing themes, browses folders of them with thumbnails, and shows theme\n\
previews in file managers. It also works from the command line.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, qt6-image-formats-plugins, qt6-qpa-plugins")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
