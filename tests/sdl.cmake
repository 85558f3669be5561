# Tests of the SDL backend's own units, which link SDL: their own executable,
# run with SDL's dummy drivers (no display, no sound card). Included by
# tests/CMakeLists.txt.
#
# The Windows cross build leaves them out: its SDL2.dll lives apart from the
# test programs, and what these prove about the backend the Linux build
# proves for both (the same sources; the wine runs check the real stakko.exe).
if(NOT TARGET stakko_sdl OR CMAKE_CROSSCOMPILING)
  return()
endif()
file(GLOB STAKKO_SDL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/sdl/*.cpp)
# The game's command line (app/options.cpp) is tested here too: it fills the
# SDL backend's settings.
add_executable(stakko_sdl_tests ${STAKKO_SDL_TEST_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/test_support.cpp
               ${CMAKE_SOURCE_DIR}/app/options.cpp)
target_link_libraries(stakko_sdl_tests PRIVATE stakko_sdl stakko_sim_lib GTest::gtest GTest::gtest_main)
target_compile_definitions(stakko_sdl_tests PRIVATE
  STAKKO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  STAKKO_RUN_DIR="${STAKKO_RUN_DIR}"
  STAKKO_SIM_PATH="$<TARGET_FILE:stakko-sim>")
gtest_discover_tests(stakko_sdl_tests
  TEST_PREFIX sdl.
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 120 ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
