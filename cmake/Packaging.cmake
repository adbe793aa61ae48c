# `make package`: a Debian package of what `make install` puts under /usr. Its library
# dependencies come from dpkg-shlibdeps; Qt's platform plugins are a package of their own
# that no library names, so it is added by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pavix developers")
set(CPACK_PACKAGE_CONTACT "The Pavix developers <pavix@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pavix.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
# Qt's translations of its own dialogs and buttons, shown beside Pavix's translated texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, adwaita-icon-theme, qt6-translations-l10n")
# The first line is the synopsis; CPack indents the lines after it and writes the empty
# line as " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "picture-tiling browser
Pavix browses folders of pictures (BMP, JPEG, GIF, ICO, PNG, WebP and
TIFF) in a folder tree, as a grid of thumbnails or in four list layouts sortable by name,
size or type, and previews the selected picture.

It shows how a picture looks repeated edge to edge as a background: a
full-window tiled preview, with a line of sample text in any scalable
font, size and colour laid over the tiles. The picture can also be set
as the desktop wallpaper.")
include(CPack)
