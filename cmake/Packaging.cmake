# The Debian package (make package): the game component alone, its library dependencies worked
# out by dpkg-shlibdeps from the binary. Debian keeps games' commands in /usr/games, so the
# package takes the link from the component debian instead of the one in bin/.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zindrel)
set(CPACK_PACKAGE_VENDOR "The Zindrel developers")
set(CPACK_PACKAGE_CONTACT "${ZINDREL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D arcade space shooter")
set(CPACK_PACKAGE_DESCRIPTION
    "Steer your ship along the bottom of the screen and shoot down
formations of ten enemy ships that sway from side to side and fire
back; every fifth level a boss joins them. Three lives, one bullet in
flight at a time and a few shield charges. Every sprite, glyph and
sound is drawn and synthesised by the game's own code.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};game;/;${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZINDREL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a game pad or sound device the game still plays; Mesa draws when no GPU driver does.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1-mesa-dri)
include(CPack)
