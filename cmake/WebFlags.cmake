# Compiler and linker settings of the WebAssembly builds, set before any
# target. Two kinds of build share them:
#  - without SDL, for node: stakko-sim and the generator read and write the
#    machine's own files and throw and catch as on the desktop (the headless
#    backend ends a run with an exception);
#  - with SDL, the page: the game waits inside its own loops, which Asyncify
#    unwinds to hand the page its turns, and Asyncify and exceptions do not
#    mix in this emscripten, so that build has none (a throw would abort;
#    the SDL backend never throws).
if(NOT STAKKO_WITH_SDL)
  add_compile_options(-fexceptions)
  add_link_options(-fexceptions)
endif()
add_link_options(-sALLOW_MEMORY_GROWTH=1)
