# The WebAssembly builds' tests (included by cmake/Web.cmake; this folder
# also holds the npm packages the browser test drives Chromium with):
#   web.parity  stakko-sim.js under node against the Linux stakko-sim, byte
#               for byte (the build without SDL)
#   web.page    the zip served on 127.0.0.1 and played in headless Chromium
#               (the page's build)
if(NOT EMSCRIPTEN)
  return()
endif()

include(${CMAKE_SOURCE_DIR}/cmake/Python3.cmake)
set(STAKKO_NATIVE_BUILD_DIR ${CMAKE_SOURCE_DIR}/build-test CACHE PATH
    "A Linux build of this tree whose stakko-sim and run folder the WebAssembly ones must match")
set(STAKKO_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)

if(NOT STAKKO_WITH_SDL)
  add_test(NAME web.parity
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/sim_parity_test.py
            --native-sim ${STAKKO_NATIVE_BUILD_DIR}/stakko-sim --native-run-dir ${STAKKO_NATIVE_BUILD_DIR}/run
            --other-sim $<TARGET_FILE_DIR:stakko-sim>/stakko-sim.js --other-run-dir ${STAKKO_RUN_DIR}
            --kind web --launcher ${STAKKO_NODE} --work ${CMAKE_BINARY_DIR}/parity)
  set_tests_properties(web.parity PROPERTIES TIMEOUT 900 SKIP_RETURN_CODE 77
                       ENVIRONMENT NODE_OPTIONS=--no-experimental-fetch)
endif()

if(STAKKO_WITH_SDL)
  find_program(STAKKO_CHROMIUM NAMES chromium chromium-browser PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(STAKKO_CHROMIUM NAMES chromium chromium-browser)
  set(STAKKO_WEB_ZIP ${CMAKE_SOURCE_DIR}/dist/stakko-${PROJECT_VERSION}-web.zip CACHE FILEPATH
      "The zip scripts/package-web.sh wrote")
  set(STAKKO_WEB_NODE_MODULES "" CACHE PATH
      "node_modules holding puppeteer-core (scripts/test-web.sh installs it into the cache)")
  add_test(NAME web.page
    COMMAND ${STAKKO_PYTHON3} ${STAKKO_E2E_DIR}/web_page_test.py --zip ${STAKKO_WEB_ZIP}
            --native-sim ${STAKKO_NATIVE_BUILD_DIR}/stakko-sim --native-run-dir ${STAKKO_NATIVE_BUILD_DIR}/run
            --node ${STAKKO_NODE} --node-modules "${STAKKO_WEB_NODE_MODULES}" --chromium "${STAKKO_CHROMIUM}"
            --artifacts ${CMAKE_BINARY_DIR}/e2e-artifacts/page)
  set_tests_properties(web.page PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
