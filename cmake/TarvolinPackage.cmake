# The Debian package, made by `bash scripts/package.sh` (cpack -G DEB in a
# configured build folder). Its run-time dependencies are found by
# dpkg-shlibdeps from the libraries the programs link; what they load at
# run time without linking it is declared by hand below.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tarvolin developers")
set(CPACK_PACKAGE_CONTACT "The Tarvolin developers <developers@tarvolin.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "size standardization of 2D and 3D landmark data (geometric morphometrics)")
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarvolin takes a data set of 3D or 2D landmark configurations, superimposes
them by generalized Procrustes analysis, regresses every coordinate on a
size variable (centroid size or a list of values, optionally as ln or
log10), and writes out every specimen standardized to one chosen value of
that variable. An allometry report gives a Procrustes ANOVA of shape on
size with p-values from permutations.
.
It reads TPS, NTS, Morphologika, CSV tables, 3D Slicer markups and plain
rows of coordinates, with specimen IDs and missing landmarks. The package
holds the desktop program (tarvolin), the batch command line
(tarvolin-cli), example data and a user guide.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Window and plot text need a font; Qt's SVG icon engine draws the icon.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, bash-completion")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Wherever it was built, the package goes to build/package.
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_SOURCE_DIR}/build/package)
include(CPack)
