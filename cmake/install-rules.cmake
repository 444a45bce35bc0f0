# absink, its manual page, and the model as a CMake package "sedimentation"
# that other programs find with find_package(sedimentation CONFIG), or with
# pkg-config as "sedimentation".
#
# Three components, as Debian splits a library: "absink" (the program, its
# manual page, the web page and the docs), "library" (the shared library,
# for programs that run) and "development" (header, static library, the
# shared library's link name, CMake and pkg-config packages).
include(CMakePackageConfigHelpers)

install(TARGETS absink RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT absink)
# A build that installs into /usr follows Debian's layout (packaging.cmake
# and the package test use this too); Debian wants manual pages compressed.
# Windows reads no roff: its .zip has the manual as text (packaging.cmake).
set(debian_layout OFF)
if(NOT WIN32 AND CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(debian_layout ON)
endif()
if(debian_layout)
  install(FILES "${PROJECT_BINARY_DIR}/absink.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT absink)
elseif(NOT WIN32)
  install(FILES doc/absink.1 DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT absink)
endif()

# On Windows a DLL serves every compiler and Python's ctypes, where a
# static MinGW library would serve MinGW alone: where both are built, the
# static one is absink.exe's alone.
set(model_installed "${model_kinds}")
if(WIN32 AND TARGET sedimentation_shared)
  set(model_installed shared)
endif()
list(TRANSFORM model_installed PREPEND sedimentation_ OUTPUT_VARIABLE model_targets)
install(
    TARGETS ${model_targets}
    EXPORT sedimentationTargets
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT library
            NAMELINK_COMPONENT development
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT library
)
install(
    FILES sedimentation/sedimentation.h sedimentation/sedimentation.hpp
    DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/sedimentation"
    COMPONENT development
)

set(package_dir "${CMAKE_INSTALL_LIBDIR}/cmake/sedimentation")
install(
    EXPORT sedimentationTargets
    NAMESPACE sedimentation::
    DESTINATION "${package_dir}"
    COMPONENT development
)
write_basic_package_version_file(
    "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion
)
install(
    FILES cmake/sedimentationConfig.cmake
          "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    DESTINATION "${package_dir}"
    COMPONENT development
)

# pkg-config, for C and Fortran builds: plain --libs links what is
# installed, the shared library where there is one; --static adds what a
# static link needs besides.  The library is C++ inside but uses nothing of
# the C++ runtime, so that is libm alone; a static library alone needs it
# always.  The prefix is found from the file's own folder, libdir/pkgconfig.
string(REGEX REPLACE "[^/]+" ".." pc_up "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
set(pc_cflags "")
set(pc_libs "")
if("shared" IN_LIST model_installed)
  set(pc_cflags " -DSEDIMENTATION_SHARED")
  if(WIN32)
    set(pc_usage "links the DLL through its import library; keep bin/sedimentation.dll\n# beside the program or on its PATH.")
  elseif("static" IN_LIST model_installed)
    set(pc_usage "links the shared library; --static, with -static for the link, the static\n# one:  cc -static prog.c $(pkg-config --cflags --libs --static sedimentation)")
  else()
    set(pc_usage "links the shared library.")
  endif()
  if(UNIX)
    set(pc_libs "\nLibs.private: -lm")
  endif()
else()
  set(pc_usage "links the static library.")
  if(UNIX)
    set(pc_libs " -lm")
  endif()
endif()
configure_file(cmake/sedimentation.pc.in "${PROJECT_BINARY_DIR}/sedimentation.pc" @ONLY)
install(
    FILES "${PROJECT_BINARY_DIR}/sedimentation.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT development
)
