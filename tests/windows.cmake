# The Windows build under wine (cross builds only; included by
# tests/CMakeLists.txt):
#   wine.parity       stakko-sim.exe against the Linux stakko-sim, byte for byte
#   wine.zip_window   the packaged zip's stakko.exe in Xvfb, driven by xdotool
# The unit suite itself runs as wine.unit (tests/CMakeLists.txt).
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32 OR NOT STAKKO_WINE64)
  return()
endif()

find_program(STAKKO_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(STAKKO_PYTHON3 NAMES python3)
set(STAKKO_NATIVE_BUILD_DIR ${CMAKE_SOURCE_DIR}/build-test CACHE PATH
    "A Linux build of this tree whose stakko-sim and run folder the Windows ones must match")
set(STAKKO_WINDOWS_ZIP ${CMAKE_SOURCE_DIR}/dist/stakko-${PROJECT_VERSION}-windows-x64.zip CACHE FILEPATH
    "The zip scripts/package-windows.sh wrote")
set(STAKKO_E2E_DIR ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
set(STAKKO_WINE_ENV WINEPREFIX=${STAKKO_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)

add_test(NAME wine.parity
  COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/sim_parity_test.py
          --native-sim ${STAKKO_NATIVE_BUILD_DIR}/stakko-sim --native-run-dir ${STAKKO_NATIVE_BUILD_DIR}/run
          --other-sim $<TARGET_FILE:stakko-sim> --other-run-dir ${STAKKO_RUN_DIR}
          --kind windows --launcher ${STAKKO_WINE64} --work ${CMAKE_CURRENT_BINARY_DIR}/parity)
set_tests_properties(wine.parity PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77 ENVIRONMENT "${STAKKO_WINE_ENV}")

add_test(NAME wine.zip_window
  COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/windows_zip_test.py --zip ${STAKKO_WINDOWS_ZIP}
          --wine ${STAKKO_WINE64} --objdump ${CMAKE_OBJDUMP}
          --artifacts ${CMAKE_CURRENT_BINARY_DIR}/e2e-artifacts/zip_window)
set_tests_properties(wine.zip_window PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
