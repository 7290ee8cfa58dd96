# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package zentu, made by CPack from what `cmake --install` puts in place:
#   cpack -G DEB          in the build folder (scripts/package does this)
# The run-time libraries are found by dpkg-shlibdeps (package dpkg-dev); the fonts and
# Qt's translations are loaded by name at run time, so they are listed here.

set(ZENTU_PACKAGE_MAINTAINER "The Zentu developers <zentu@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zentu developers")
set(CPACK_PACKAGE_CONTACT "${ZENTU_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "scientific calculator with a Turkish interface, one expression per line")
set(CPACK_PACKAGE_DESCRIPTION [=[
Zentu is a scientific calculator for the desktop with a Turkish user
interface. One writes an expression per line, by typing or with the keypad,
and presses Enter or EXEC: the line becomes the expression, an equals sign
and the result, rounded to 0 to 12 decimals if wished.

The expression language has trigonometric, hyperbolic, logarithmic, root,
rounding and integer functions, permutations and combinations, a data series
with its sum, means, variance and standard deviation, definite integrals and
derivatives of a formula, the previous answer, pi and eighteen physical and
mathematical constants. A plot window draws a formula and point series and
copies the plot to the clipboard; a reference card lists every function,
operator and constant with an example.

The package holds the desktop program zentu and the command-line program
zentu-cli, which runs the same lines from files or a terminal.]=])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZENTU_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# fonts-liberation2: Liberation Sans, the stand-in for Tahoma (the font of the windows)
# and the next stand-in for the others. fonts-dejavu-core: DejaVu Sans, the stand-in for
# Verdana and for the memo's font. fonts-comfortaa: the stand-in for Arial Rounded MT Bold
# (CLR, EXEC). qt6-translations-l10n: the Turkish texts of Qt's own dialogs and buttons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation2, fonts-dejavu-core, fonts-comfortaa, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
