# The Debian package, made by CPack from the install rules:
#     cmake --build build && (cd build && cpack -G DEB)
# scripts/package.sh does the whole of it in build-package/.
#
# The package is orvu-icons_<version>-<release>_<arch>.deb. Its dependencies on
# shared libraries come from dpkg-shlibdeps; the window also needs a font with
# Chinese characters. Before the files are packed, deb/finish-package.cmake
# compresses the manual pages and adds the copyright file and the Debian
# changelog (deb/copyright, deb/changelog: give the changelog an entry for
# every new version or release).

if(NOT (UNIX AND NOT APPLE))
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvu-icons)
set(CPACK_PACKAGE_VENDOR Orvu)
set(CPACK_PACKAGE_CONTACT "Orvu <orvu@example.com>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pull the icons out of Windows programs")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvu Icon Extractor (Orvu图标提取机) shows every icon inside a Windows executable, library or
icon file as a tile, and saves the one you pick as a picture. It reads
PE32, PE32+ and 16-bit NE executables and .ico files the way Windows reads
them, and treats every file as hostile.

The package holds the program orvu-icons (a Qt window in Chinese, or in
English where the user's language is neither Chinese nor the C locale), the
command-line tool orvu-icons-cli, which lists and extracts icons, and a
thumbnailer that shows a program's icon in file managers.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(ORVU_WITH_QT)
    # The window draws its labels in one of these fonts (designFont() in
    # controls/skin.cpp): without them its Chinese shows only empty boxes, and
    # its English loses the widths of the design.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei | fonts-noto-cjk")
    # Qt's own Chinese texts, for the file dialogs and questions the window
    # opens when it speaks Chinese.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# Read by deb/finish-package.cmake, which CPack runs on the staged files.
set(CPACK_ORVU_DEB_FILES ${CMAKE_CURRENT_LIST_DIR}/deb)
set(CPACK_ORVU_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb/finish-package.cmake)

include(CPack)
