# `cmake --install` for players: the game, its generated pictures and sounds
# (read-only, shared), a launcher that runs the game in the player's own XDG
# data folder, a desktop entry with the icon and an AppStream metainfo file.
#
#   PREFIX/bin/stakko                           launcher (packaging/stakko-launcher.sh.in)
#   PREFIX/libexec/stakko/stakko                the game itself
#   PREFIX/share/stakko/{graphics,Sound}        pictures and sounds
#   PREFIX/share/applications/ID.desktop
#   PREFIX/share/metainfo/ID.metainfo.xml
#   PREFIX/share/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,128x128,256x256,scalable}/apps/ID.{png,svg}
#   PREFIX/share/man/man6/stakko.6.gz
#   PREFIX/share/doc/stakko/{copyright,changelog.gz}
include(GNUInstallDirs)

# Installed for one player (say ~/.local) the pictures and sounds are made
# read-only: the player's game folder links to them. A system package has
# them owned by root, with the usual permissions.
option(STAKKO_SYSTEM_PACKAGE "Install with a system package's permissions (files owned by root)" OFF)
if(STAKKO_SYSTEM_PACKAGE)
  set(STAKKO_SHARE_FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
else()
  set(STAKKO_SHARE_FILE_PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
endif()
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(STAKKO_APP_ID io.github.stakko.Stakko)
set(STAKKO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/stakko)
set(STAKKO_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/stakko)
foreach(dir CMAKE_INSTALL_BINDIR STAKKO_SHARE_DIR STAKKO_LIBEXEC_DIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} must be relative to the prefix (the launcher finds the game from its own place)")
  endif()
endforeach()
file(RELATIVE_PATH STAKKO_BIN_TO_PREFIX /prefix/${CMAKE_INSTALL_BINDIR} /prefix)

# The launcher, with the layout above baked in relative to the prefix.
configure_file(${CMAKE_SOURCE_DIR}/packaging/stakko-launcher.sh.in
               ${CMAKE_BINARY_DIR}/packaging/stakko @ONLY)

# The desktop icons, drawn by our own code at each size, and as SVG.
add_executable(stakko-desktop-icons ${CMAKE_SOURCE_DIR}/tools/packaging/desktop_icons.cpp)
target_link_libraries(stakko-desktop-icons PRIVATE stakko_icon)
set(STAKKO_ICON_DIR ${CMAKE_BINARY_DIR}/packaging/hicolor)
add_custom_command(
  OUTPUT ${STAKKO_ICON_DIR}/icons.stamp
  COMMAND stakko-desktop-icons ${STAKKO_ICON_DIR} ${STAKKO_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${STAKKO_ICON_DIR}/icons.stamp
  DEPENDS stakko-desktop-icons
  COMMENT "Drawing the desktop icons")
add_custom_target(stakko_icons ALL DEPENDS ${STAKKO_ICON_DIR}/icons.stamp)

# The manual page (with the project's version) and the changelog, compressed
# the way Debian wants them (-n: no name or time stamp, so the files are the
# same on every build).
# The page is dated by the release: the newest entry of the changelog.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog STAKKO_RELEASE_LINE REGEX "^ -- .*  " LIMIT_COUNT 1)
string(REGEX MATCH "[0-9]+ [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9]" STAKKO_RELEASE_DAY "${STAKKO_RELEASE_LINE}")
string(REGEX MATCHALL "[^ ]+" STAKKO_RELEASE_PARTS "${STAKKO_RELEASE_DAY}")
list(LENGTH STAKKO_RELEASE_PARTS STAKKO_RELEASE_PART_COUNT)
if(NOT STAKKO_RELEASE_PART_COUNT EQUAL 3)
  message(FATAL_ERROR "packaging/changelog: no date in its newest entry's trailer line")
endif()
list(GET STAKKO_RELEASE_PARTS 0 STAKKO_RELEASE_D)
list(GET STAKKO_RELEASE_PARTS 1 STAKKO_RELEASE_MON)
list(GET STAKKO_RELEASE_PARTS 2 STAKKO_RELEASE_YEAR)
set(STAKKO_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND STAKKO_MONTHS ${STAKKO_RELEASE_MON} STAKKO_RELEASE_M)
math(EXPR STAKKO_RELEASE_M "${STAKKO_RELEASE_M} + 1")
string(LENGTH "${STAKKO_RELEASE_D}" STAKKO_RELEASE_D_LENGTH)
if(STAKKO_RELEASE_D_LENGTH EQUAL 1)
  set(STAKKO_RELEASE_D "0${STAKKO_RELEASE_D}")
endif()
if(STAKKO_RELEASE_M LESS 10)
  set(STAKKO_RELEASE_M "0${STAKKO_RELEASE_M}")
endif()
set(STAKKO_RELEASE_DATE "${STAKKO_RELEASE_YEAR}-${STAKKO_RELEASE_M}-${STAKKO_RELEASE_D}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/stakko.6.in ${CMAKE_BINARY_DIR}/packaging/stakko.6 @ONLY)
find_program(STAKKO_GZIP gzip REQUIRED)
set(STAKKO_COMPRESSED)
foreach(from ${CMAKE_BINARY_DIR}/packaging/stakko.6 ${CMAKE_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${from} NAME)
  set(to ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(
    OUTPUT ${to}
    COMMAND ${STAKKO_GZIP} -9n -c ${from} > ${to}
    DEPENDS ${from})
  list(APPEND STAKKO_COMPRESSED ${to})
endforeach()
add_custom_target(stakko_docs ALL DEPENDS ${STAKKO_COMPRESSED})

install(TARGETS stakko RUNTIME DESTINATION ${STAKKO_LIBEXEC_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/stakko DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${STAKKO_RUN_DIR}/graphics ${STAKKO_RUN_DIR}/Sound
        DESTINATION ${STAKKO_SHARE_DIR}
        FILE_PERMISSIONS ${STAKKO_SHARE_FILE_PERMISSIONS})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${STAKKO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${STAKKO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${STAKKO_ICON_DIR}/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
        FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")
install(FILES ${CMAKE_BINARY_DIR}/packaging/stakko.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/stakko)

include(${CMAKE_SOURCE_DIR}/cmake/PackageDeb.cmake)
