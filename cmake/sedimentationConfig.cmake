# find_package(sedimentation): the installed libraries as
# sedimentation::static and sedimentation::shared, and
# sedimentation::sedimentation, which is the shared library where one is
# installed and the static one otherwise.
include("${CMAKE_CURRENT_LIST_DIR}/sedimentationTargets.cmake")
if(NOT TARGET sedimentation::sedimentation)
  add_library(sedimentation::sedimentation INTERFACE IMPORTED)
  if(TARGET sedimentation::shared)
    target_link_libraries(sedimentation::sedimentation INTERFACE sedimentation::shared)
  else()
    target_link_libraries(sedimentation::sedimentation INTERFACE sedimentation::static)
  endif()
endif()
