# The web page, absink.html, installed with the program: into share/absink,
# on Windows into bin beside absink.exe, so that a double click opens it.
# The WebAssembly build makes it itself (web/).  A build for another
# platform makes it in a WebAssembly build of its own, in the build folder
# "page", when emscripten is there (ABSINK_PAGE AUTO, the default, and the
# release preset's), always (ON: the packages ship it) or never (OFF: the
# test presets, which thus build once for their one toolchain).
set(ABSINK_PAGE AUTO CACHE STRING "Build and install the web page, which needs emscripten: AUTO, ON or OFF")
set_property(CACHE ABSINK_PAGE PROPERTY STRINGS AUTO ON OFF)

if(WIN32)
  set(page_destination "${CMAKE_INSTALL_BINDIR}")
else()
  set(page_destination "${CMAKE_INSTALL_DATADIR}/absink")
endif()

set(page_installed "")
if(EMSCRIPTEN)
  add_subdirectory(web)
  install(FILES "$<TARGET_FILE:absink_page>" DESTINATION "${page_destination}" COMPONENT absink)
  set(page_installed "${page_destination}/absink.html")
  return()
endif()

if(ABSINK_PAGE STREQUAL "OFF")
  return()
endif()
find_program(ABSINK_EMCC emcc)
find_program(ABSINK_NODE NAMES node nodejs)
if(NOT ABSINK_EMCC OR NOT ABSINK_NODE)
  if(ABSINK_PAGE STREQUAL "ON")
    message(FATAL_ERROR "ABSINK_PAGE is ON, but emcc or node is missing (packages emscripten, nodejs)")
  endif()
  message(STATUS "No emscripten here: the web page is not built")
  return()
endif()

include(ExternalProject)
set(page "${PROJECT_BINARY_DIR}/page/web/absink.html")
ExternalProject_Add(
    web_page
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${PROJECT_BINARY_DIR}/page"
    CMAKE_ARGS "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-wasm.cmake"
               -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
               "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
               "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${page}"
    INSTALL_COMMAND ""
)
install(FILES "${page}" DESTINATION "${page_destination}" COMPONENT absink)
set(page_installed "${page_destination}/absink.html")
