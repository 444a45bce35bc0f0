# absink, its manual page, and the model as a CMake package "sedimentation"
# that other programs find with find_package(sedimentation CONFIG) and link
# as sedimentation::sedimentation, or with pkg-config as "sedimentation".
include(CMakePackageConfigHelpers)

install(TARGETS absink RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT absink)
# A build that installs into /usr follows Debian's layout (packaging.cmake
# and the package test use this too); Debian wants manual pages compressed.
set(debian_layout OFF)
if(NOT WIN32 AND CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(debian_layout ON)
endif()
if(debian_layout)
  set(manual "${PROJECT_BINARY_DIR}/absink.1.gz")
else()
  set(manual doc/absink.1)
endif()
install(FILES "${manual}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT absink)

install(
    TARGETS sedimentation
    EXPORT sedimentationTargets
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT sedimentation
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT sedimentation
            NAMELINK_COMPONENT sedimentation
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT sedimentation
)
install(
    FILES sedimentation/sedimentation.h sedimentation/sedimentation.hpp
    DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/sedimentation"
    COMPONENT sedimentation
)

set(package_dir "${CMAKE_INSTALL_LIBDIR}/cmake/sedimentation")
install(
    EXPORT sedimentationTargets
    NAMESPACE sedimentation::
    DESTINATION "${package_dir}"
    COMPONENT sedimentation
)
write_basic_package_version_file(
    "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion
)
install(
    FILES cmake/sedimentationConfig.cmake
          "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    DESTINATION "${package_dir}"
    COMPONENT sedimentation
)

# pkg-config, for C and Fortran builds.  The library is C++ inside but uses
# nothing of the C++ runtime, so a static link needs libm alone.  The prefix
# is found from the file's own folder, libdir/pkgconfig.
string(REGEX REPLACE "[^/]+" ".." pc_up "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
set(pc_cflags "")
if(sedimentation_type STREQUAL "SHARED_LIBRARY")
  set(pc_cflags " -DSEDIMENTATION_SHARED")
endif()
configure_file(cmake/sedimentation.pc.in "${PROJECT_BINARY_DIR}/sedimentation.pc" @ONLY)
install(
    FILES "${PROJECT_BINARY_DIR}/sedimentation.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT sedimentation
)
