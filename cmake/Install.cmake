# `cmake --install` for players: the game, its generated pictures and sounds
# (read-only, shared), a launcher that runs the game in the player's own XDG
# data folder, a desktop entry with the icon and an AppStream metainfo file.
#
#   PREFIX/bin/stakko                           launcher (packaging/stakko-launcher.sh.in)
#   PREFIX/libexec/stakko/stakko                the game itself
#   PREFIX/share/stakko/{graphics,Sound}        pictures and sounds
#   PREFIX/share/applications/ID.desktop
#   PREFIX/share/metainfo/ID.metainfo.xml
#   PREFIX/share/icons/hicolor/64x64/apps/ID.png
include(GNUInstallDirs)

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

# The icon: the generated window icon as PNG, converted by our own tool.
add_executable(stakko-icon-png ${CMAKE_SOURCE_DIR}/tools/packaging/icon_png.cpp)
target_link_libraries(stakko-icon-png PRIVATE stakko_sim_lib)
set(STAKKO_ICON_PNG ${CMAKE_BINARY_DIR}/packaging/${STAKKO_APP_ID}.png)
add_custom_command(
  OUTPUT ${STAKKO_ICON_PNG}
  COMMAND stakko-icon-png ${STAKKO_RUN_DIR}/graphics/Icon.bmp ${STAKKO_ICON_PNG}
  DEPENDS stakko-icon-png ${STAKKO_RUN_DIR}/assets.stamp
  COMMENT "Making the desktop icon")
add_custom_target(stakko_icon ALL DEPENDS ${STAKKO_ICON_PNG})

install(TARGETS stakko RUNTIME DESTINATION ${STAKKO_LIBEXEC_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/stakko DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${STAKKO_RUN_DIR}/graphics ${STAKKO_RUN_DIR}/Sound
        DESTINATION ${STAKKO_SHARE_DIR}
        FILE_PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${STAKKO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${STAKKO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${STAKKO_ICON_PNG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
