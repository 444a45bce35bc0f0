# On Windows the model goes to other programs as a DLL, which any of them,
# and Python's ctypes, can load.  A build whose model is static (the one
# that makes the static absink.exe) makes the DLL in a build of its own, in
# the build folder "dll"; the .zip carries it with its import library, the
# header and the CMake and pkg-config packages, which define
# SEDIMENTATION_SHARED for the programs that use it.
set(dll_build "")
if(NOT WIN32 OR sedimentation_type STREQUAL "SHARED_LIBRARY")
  return()
endif()

include(ExternalProject)
set(dll_build "${PROJECT_BINARY_DIR}/dll")
ExternalProject_Add(
    model_dll
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${dll_build}"
    CMAKE_ARGS "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}" "-DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}"
               -DBUILD_SHARED_LIBS=ON -DBUILD_TESTING=OFF -DABSINK_PAGE=OFF
               "-DCMAKE_CXX_FLAGS=${CMAKE_CXX_FLAGS}"
               "-DCMAKE_COMPILE_WARNING_AS_ERROR=${CMAKE_COMPILE_WARNING_AS_ERROR}"
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
)
