# The Debian package, made by CPack from the layout cmake/Install.cmake
# installs under /usr; scripts/package-deb.sh configures a Release tree with
# the flags Debian builds with and runs `cpack -G DEB`.
#
# The dependencies are computed by dpkg-shlibdeps from the libraries the
# game links, never written by hand. There is no Homepage field: the project
# has no web site yet.

# Debian's packages need a contact with an address, and the project has none
# yet; ".invalid" is reserved for exactly that (RFC 2606). Pass a real one
# when there is one.
set(STAKKO_DEB_MAINTAINER "The Stakko developers <maintainers@stakko.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME stakko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Stakko developers")
set(CPACK_PACKAGE_CONTACT "${STAKKO_DEB_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME stakko)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # stakko_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STAKKO_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The first line is the synopsis; CPack indents the rest and turns empty
# lines into the " ." Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[falling jewels puzzle game
Stakko is a single-player puzzle game. A column of three jewels falls into
a well six cells wide and twelve deep; move it left and right, cycle its
jewels and drop it. Three or more jewels of a kind in a line, across, down
or diagonally, explode, the jewels above fall into the gaps and new lines
explode in turn. Every level makes the columns fall faster.

The ten best results are kept with the player's name, level and date.
Every picture and sound of the game is drawn and synthesised by its own
code.]=])

include(CPack)
