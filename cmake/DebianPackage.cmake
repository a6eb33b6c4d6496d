# The .deb that tools/package-deb.sh makes with CPack from the install tree.
include_guard(GLOBAL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cubrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "The Cubrix developers <cubrix@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://cubrix.example.org/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator for sawn-timber sales bills")
set(CPACK_PACKAGE_DESCRIPTION
    "Cubrix is a desktop calculator for sawn-timber sales bills. The operator
keys up to eight bill lines (length in metres, width and thickness in
millimetres, piece count, unit price in yuan per cubic metre), and the window
keeps each line's volume and amount and the bill's totals up to date as the
keys go in. The window's texts are in Simplified Chinese.

The export button writes the bill into a prepared workbook in the documents
folder and opens it in LibreOffice Calc for printing; the package brings the
workbook template, which the cubrix command puts in place on its first start.")

# The libraries the program links come from its binary; these it needs at run
# time without linking them: Qt's X11 platform plugin, Qt's own Chinese texts,
# a Chinese face for the text boxes. Calc, which the export button drives, is
# only recommended: the bill prints without it, drawn by the program itself,
# and a failed export offers that print.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc")

include(CPack)
