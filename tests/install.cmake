# `cmake --install` into a temporary prefix, then the installed launcher under
# Xvfb: tests/e2e/install_test.py. Normal builds only, like tests/e2e.cmake.
if(NOT TARGET stakko OR STAKKO_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()
find_program(STAKKO_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(STAKKO_PYTHON3 NAMES python3)
if(NOT STAKKO_PYTHON3)
  return()
endif()
add_test(NAME install.launcher
  COMMAND ${STAKKO_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/install_test.py
          --build-dir ${CMAKE_BINARY_DIR} --cmake ${CMAKE_COMMAND} --version ${PROJECT_VERSION}
          --artifacts ${CMAKE_CURRENT_BINARY_DIR}/e2e-artifacts/install)
set_tests_properties(install.launcher PROPERTIES TIMEOUT 240 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
