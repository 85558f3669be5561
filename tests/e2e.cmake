# The real game in a real X server (Xvfb), driven by real key and mouse
# events: tests/e2e/real_window_test.py. Included by tests/CMakeLists.txt.
#
# These run only in the normal build: the sanitizer build would run the same
# X server session again, much slower, for nothing the headless tests miss.
# The Windows build has its own (tests/windows.cmake).
# A machine without Xvfb, xdotool or xwd reports them as skipped (77), except
# under CI, where that is a failure.
if(NOT TARGET stakko OR STAKKO_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()

find_program(STAKKO_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(STAKKO_PYTHON3 NAMES python3)
if(NOT STAKKO_PYTHON3)
  message(STATUS "python3 not found: the real-window tests are not registered")
  return()
endif()

set(STAKKO_E2E_DIR ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
set(STAKKO_E2E_ARTIFACTS ${CMAKE_CURRENT_BINARY_DIR}/e2e-artifacts)

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

# The picture after Alt+Enter on the screens that show it once and wait, with
# and without a window manager, and on screens smaller than the picture.
add_test(NAME e2e.picture_survives
  COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/picture_survives_test.py
          --stakko $<TARGET_FILE:stakko> --sim $<TARGET_FILE:stakko-sim> --run-dir ${STAKKO_RUN_DIR})
set_tests_properties(e2e.picture_survives PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
