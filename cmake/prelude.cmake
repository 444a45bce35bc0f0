# Build trees live beside the sources, never in them: an in-source build
# would scatter CMake's files among ours.
if(CMAKE_SOURCE_DIR STREQUAL CMAKE_BINARY_DIR)
  message(
      FATAL_ERROR
      "In-source builds are not supported. Use a build directory, e.g.\n"
      "  cmake --preset release\n"
      "and remove CMakeCache.txt and CMakeFiles/ that this run left here."
  )
endif()
