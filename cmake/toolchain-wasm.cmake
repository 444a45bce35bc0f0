# WebAssembly with Debian's emscripten (package emscripten), through its own
# platform file.  Programs run under node: absink.js as the command-line
# program, the tests as they are.  node itself is the emulator: the one that
# emcmake would set adds --experimental-wasm-threads, which node 20 rejects.
set(EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Where emscripten is installed")
find_program(ABSINK_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ABSINK_NODE}")

# emcc runs its JavaScript optimiser under node, and Debian's emcc finds the
# optimiser's parser (acorn) only where Debian keeps node's modules: for the
# compiler checks of this configure run, and for every later link.
set(ABSINK_NODE_PATH /usr/share/nodejs CACHE PATH "node modules that emcc needs")
set(ENV{NODE_PATH} "${ABSINK_NODE_PATH}")
set(CMAKE_CXX_LINKER_LAUNCHER env "NODE_PATH=${ABSINK_NODE_PATH}")

include("${EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")
