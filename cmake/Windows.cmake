# The Windows build of the game (cross-built with MinGW-w64, see
# cmake/mingw-w64-x86_64.cmake): a GUI program with the game's icon and
# version information, SDL2.dll beside it in the run folder, and the layout
# of the zip players unpack:
#
#   stakko.exe  SDL2.dll  README.txt  graphics\  Sound\  Data\ and Replays\ (empty)
enable_language(RC)

# The icon resource: the desktop icon painted at each size by our own tool
# (run under the cross-compiling emulator).
add_executable(stakko-icon-ico ${CMAKE_SOURCE_DIR}/tools/packaging/icon_ico.cpp)
target_link_libraries(stakko-icon-ico PRIVATE stakko_icon)
set(STAKKO_ICON_ICO ${CMAKE_BINARY_DIR}/packaging/stakko.ico)
add_custom_command(
  OUTPUT ${STAKKO_ICON_ICO}
  COMMAND stakko-icon-ico ${STAKKO_ICON_ICO}
  DEPENDS stakko-icon-ico
  COMMENT "Painting the Windows icon")
add_custom_target(stakko_icon_ico DEPENDS ${STAKKO_ICON_ICO})

set(STAKKO_MANIFEST ${CMAKE_BINARY_DIR}/packaging/stakko.manifest)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/stakko.manifest ${STAKKO_MANIFEST} @ONLY)
set(STAKKO_RC ${CMAKE_BINARY_DIR}/packaging/stakko.rc)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/stakko.rc.in ${STAKKO_RC} @ONLY)
set_source_files_properties(${STAKKO_RC} PROPERTIES OBJECT_DEPENDS "${STAKKO_ICON_ICO};${STAKKO_MANIFEST}")
target_sources(stakko PRIVATE ${STAKKO_RC})
add_dependencies(stakko stakko_icon_ico)
# No console window: the game is a GUI program (its main() is still the
# entry, MinGW's start-up code calls it).
set_target_properties(stakko PROPERTIES WIN32_EXECUTABLE ON)
# What players get carries no debugging symbols (a third of its size) and no
# link time, so the same sources give the same bytes.
target_link_options(stakko PRIVATE -s -Wl,--no-insert-timestamp)

# SDL2.dll beside the game in the build's run folder, so the build runs as is.
get_target_property(STAKKO_SDL2_DLL SDL2::SDL2 IMPORTED_LOCATION_RELEASE)
if(NOT STAKKO_SDL2_DLL)
  get_target_property(STAKKO_SDL2_DLL SDL2::SDL2 IMPORTED_LOCATION)
endif()
add_custom_command(TARGET stakko POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${STAKKO_SDL2_DLL} $<TARGET_FILE_DIR:stakko>)

# README.txt, with the game's licence and SDL2's, which travels with its DLL.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE STAKKO_LICENSE)
get_filename_component(STAKKO_SDL2_PREFIX "${SDL2_DIR}/../../.." ABSOLUTE)
set(STAKKO_SDL2_VERSION ${SDL2_VERSION})
if(EXISTS ${STAKKO_SDL2_PREFIX}/SDL2-LICENSE.txt)
  file(READ ${STAKKO_SDL2_PREFIX}/SDL2-LICENSE.txt STAKKO_SDL2_LICENSE)
else()
  message(FATAL_ERROR "SDL2's licence text is missing in ${STAKKO_SDL2_PREFIX}; build SDL2 with scripts/package-windows.sh")
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in
               ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS stakko RUNTIME DESTINATION .)
install(FILES ${STAKKO_SDL2_DLL} ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)
install(DIRECTORY ${STAKKO_RUN_DIR}/graphics ${STAKKO_RUN_DIR}/Sound DESTINATION .)
install(DIRECTORY DESTINATION Data)
install(DIRECTORY DESTINATION Replays)
