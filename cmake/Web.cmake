# The WebAssembly builds' programs (settings shared by all: cmake/WebFlags.cmake).
# What the build runs under node sees the machine's files as they are, and
# ends node with its own exit status.
foreach(program stakko-assets stakko-sim)
  target_link_options(${program} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1)
endforeach()

# The game for a page, written with the page's own files into page/, a
# folder any static web server can serve as it is:
#   index.html  page.js (ours)  stakko.js  stakko.wasm  stakko.data
# stakko.data holds the generated graphics/ and Sound/; the high-score table
# lives in the browser's IndexedDB, mounted at /Data by page.js. The game is
# started by page.js once the player has clicked or pressed a key (a page may
# only start sound then), and its end is reported to the page.
if(TARGET stakko)
  set(STAKKO_PAGE_DIR ${CMAKE_BINARY_DIR}/page)
  set_target_properties(stakko PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${STAKKO_PAGE_DIR})
  target_link_options(stakko PRIVATE
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sEXIT_RUNTIME=1 -sINVOKE_RUN=0 -sENVIRONMENT=web
    -sEXPORTED_RUNTIME_METHODS=callMain -sFORCE_FILESYSTEM=1 -lidbfs.js
    "SHELL:--preload-file ${STAKKO_RUN_DIR}/graphics@/graphics"
    "SHELL:--preload-file ${STAKKO_RUN_DIR}/Sound@/Sound")
  # Linked again when the pictures or sounds change.
  set_property(TARGET stakko APPEND PROPERTY LINK_DEPENDS ${STAKKO_RUN_DIR}/assets.stamp)
  foreach(file index.html page.js)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/web/${file} ${STAKKO_PAGE_DIR}/${file} COPYONLY)
  endforeach()
endif()

if(NOT STAKKO_TESTS)
  enable_testing()
  include(${CMAKE_SOURCE_DIR}/tests/web/tests.cmake)
endif()
