include("${CMAKE_CURRENT_LIST_DIR}/sedimentationTargets.cmake")
