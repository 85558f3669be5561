# The real executables driven from outside. Included by tests/CMakeLists.txt,
# which looks up STAKKO_PYTHON3.
#
# Linux, normal builds only but e2e.lost_display (the sanitizer build would
# run the same X server sessions again, much slower, for nothing the headless
# tests miss):
#   e2e.*              the real game in Xvfb, driven by real key and mouse
#                      events (real_window_test.py)
#   install.launcher   `cmake --install` into a temporary prefix, then the
#                      installed launcher under Xvfb (install_test.py)
# The Windows cross build, under wine (the browser build's tests, under node
# and Chromium, are in tests/web/tests.cmake):
#   wine.parity        stakko-sim.exe against the Linux stakko-sim, byte for
#                      byte; each one's recorded games verify on the other
#   wine.zip_window    the packaged zip's stakko.exe in Xvfb, driven by
#                      xdotool; the game it records must verify on Linux
# (the unit suite itself runs as wine.unit, tests/CMakeLists.txt).
# A machine without Xvfb, xdotool or xwd reports them as skipped (77), except
# under CI, where that is a failure.
if(NOT STAKKO_PYTHON3)
  message(STATUS "python3 not found: the tests that drive the real executables are not registered")
  return()
endif()
set(STAKKO_E2E_DIR ${CMAKE_CURRENT_LIST_DIR})
set(STAKKO_E2E_ARTIFACTS ${CMAKE_CURRENT_BINARY_DIR}/e2e-artifacts)

# The X server killed while the music plays: in both Linux builds, since it
# is the sanitizer build that sees the sound thread read freed memory.
if(TARGET stakko AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME e2e.lost_display
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/lost_display_test.py
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR})
  set_tests_properties(e2e.lost_display PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endif()

if(TARGET stakko AND NOT STAKKO_SANITIZE AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME e2e.no_display
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/real_window_test.py --case no-display
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR})
  set_tests_properties(e2e.no_display PROPERTIES TIMEOUT 90 SKIP_RETURN_CODE 77)

  add_test(NAME e2e.signals
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/real_window_test.py --case signals
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR})
  set_tests_properties(e2e.signals PROPERTIES TIMEOUT 120 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  add_test(NAME e2e.real_window
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/real_window_test.py --case full
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR}
            --size 1280x1024 --artifacts ${STAKKO_E2E_ARTIFACTS}/real_window)
  # RUN_SERIAL: the game runs without a frame limiter and the check steps it
  # frame by frame; sharing the CPU with the parallel unit tests only slows it.
  set_tests_properties(e2e.real_window PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  add_test(NAME e2e.desktop
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/real_window_test.py --case desktop
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR}
            --artifacts ${STAKKO_E2E_ARTIFACTS}/desktop)
  set_tests_properties(e2e.desktop PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  # 8-, 16- and 30-bit displays: what the game says about them.
  add_test(NAME e2e.display_depth
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/display_depth_test.py
            --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR})
  set_tests_properties(e2e.display_depth PROPERTIES TIMEOUT 180 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  # What players choose: no sound device, the close button, the settings file
  # (player_choices_test.py).
  foreach(case sound close settings)
    add_test(NAME e2e.choices_${case}
      COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/player_choices_test.py --case ${case}
              --stakko $<TARGET_FILE:stakko> --run-dir ${STAKKO_RUN_DIR}
              --artifacts ${STAKKO_E2E_ARTIFACTS}/choices_${case})
    set_tests_properties(e2e.choices_${case} PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
  endforeach()

  # The picture after Alt+Enter on the screens that show it once and wait,
  # with and without a window manager, and on screens smaller than the picture.
  add_test(NAME e2e.picture_survives
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/picture_survives_test.py
            --stakko $<TARGET_FILE:stakko> --sim $<TARGET_FILE:stakko-sim> --run-dir ${STAKKO_RUN_DIR})
  set_tests_properties(e2e.picture_survives PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  # A game played in the window is recorded, verified and replayed.
  add_test(NAME e2e.replay_window
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/replay_window_test.py
            --stakko $<TARGET_FILE:stakko> --sim $<TARGET_FILE:stakko-sim> --run-dir ${STAKKO_RUN_DIR}
            --artifacts ${STAKKO_E2E_ARTIFACTS}/replay_window)
  set_tests_properties(e2e.replay_window PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)

  add_test(NAME install.launcher
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/install_test.py
            --build-dir ${CMAKE_BINARY_DIR} --cmake ${CMAKE_COMMAND} --version ${PROJECT_VERSION}
            --artifacts ${STAKKO_E2E_ARTIFACTS}/install)
  set_tests_properties(install.launcher PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endif()

# STAKKO_WINE64 and STAKKO_WINE_ENV come from cmake/mingw-w64-x86_64.cmake.
if(CMAKE_CROSSCOMPILING AND WIN32 AND STAKKO_WINE64)
  set(STAKKO_NATIVE_BUILD_DIR ${CMAKE_SOURCE_DIR}/build-test CACHE PATH
      "A Linux build of this tree whose stakko-sim and run folder the Windows ones must match")
  set(STAKKO_WINDOWS_ZIP ${CMAKE_SOURCE_DIR}/dist/stakko-${PROJECT_VERSION}-windows-x64.zip CACHE FILEPATH
      "The zip scripts/package-windows.sh wrote")

  add_test(NAME wine.parity
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/sim_parity_test.py
            --native-sim ${STAKKO_NATIVE_BUILD_DIR}/stakko-sim --native-run-dir ${STAKKO_NATIVE_BUILD_DIR}/run
            --other-sim $<TARGET_FILE:stakko-sim> --other-run-dir ${STAKKO_RUN_DIR}
            --kind windows --launcher ${STAKKO_WINE64} --work ${CMAKE_CURRENT_BINARY_DIR}/parity)
  set_tests_properties(wine.parity PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 ENVIRONMENT "${STAKKO_WINE_ENV}")

  add_test(NAME wine.zip_window
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/windows_zip_test.py --zip ${STAKKO_WINDOWS_ZIP}
            --wine ${STAKKO_WINE64} --objdump ${CMAKE_OBJDUMP}
            --native-sim ${STAKKO_NATIVE_BUILD_DIR}/stakko-sim --native-run-dir ${STAKKO_NATIVE_BUILD_DIR}/run
            --artifacts ${STAKKO_E2E_ARTIFACTS}/zip_window)
  set_tests_properties(wine.zip_window PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
endif()
