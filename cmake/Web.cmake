# The WebAssembly builds' programs (settings shared by all: cmake/WebFlags.cmake).
# What the build runs under node sees the machine's files as they are, and
# ends node with its own exit status.
foreach(program stakko-assets stakko-sim)
  target_link_options(${program} PRIVATE -sNODERAWFS=1 -sEXIT_RUNTIME=1)
endforeach()

if(NOT STAKKO_TESTS)
  enable_testing()
  include(${CMAKE_SOURCE_DIR}/tests/web.cmake)
endif()
