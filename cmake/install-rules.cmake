# What is installed where: absink, its manual page, the model as a CMake
# package "sedimentation" that other programs find with
# find_package(sedimentation CONFIG), or with pkg-config as "sedimentation",
# and the texts that the packages carry.  (The web page installs itself:
# web-page.cmake.)
#
# Three components, as Debian splits a library: "absink" (the program, its
# manual page, the web page and the docs), "library" (the shared library,
# for programs that run) and "development" (header, static library, the
# shared library's link name, CMake and pkg-config packages); a fourth,
# "python", where the Python module is built (python/CMakeLists.txt).
#
# A build that installs into /usr follows Debian's layout (the package test
# uses this too): the manual page and the changelog compressed, and the
# copyright file and the changelog in each package's /usr/share/doc.
# Windows reads no roff and no LF: its .zip has a README, the licence and
# the manual as text as Windows' own programs read it.
include(CMakePackageConfigHelpers)

# The components and the Debian packages they become, in the same order.
set(components absink library development)
set(packages absink libsedimentation1 libsedimentation-dev)
if(SEDIMENTATION_PYTHON)
  list(APPEND components python)
  list(APPEND packages python3-sedimentation)
endif()

set(debian_layout OFF)
if(NOT WIN32 AND CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(debian_layout ON)
endif()

install(TARGETS absink RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT absink)

# ---- Texts: the manual page, and each package's documents ----

if(WIN32)
  set(windows_text "${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake")
  set(texts "")
  set(sources packaging/README-windows.txt LICENSE)
  set(names README.txt LICENSE.txt)
  foreach(source name IN ZIP_LISTS sources names)
    add_custom_command(
        OUTPUT "${name}"
        COMMAND "${CMAKE_COMMAND}" "-DIN=${PROJECT_SOURCE_DIR}/${source}" "-DOUT=${name}" -P "${windows_text}"
        DEPENDS "${source}" "${windows_text}"
        VERBATIM
    )
    list(APPEND texts "${PROJECT_BINARY_DIR}/${name}")
  endforeach()
  find_program(GROFF groff)
  if(GROFF)
    add_custom_command(
        OUTPUT absink.txt
        COMMAND "${GROFF}" -man -Tutf8 -P-cbou "${PROJECT_SOURCE_DIR}/doc/absink.1" > absink.1.txt
        COMMAND "${CMAKE_COMMAND}" -DIN=absink.1.txt -DOUT=absink.txt -P "${windows_text}"
        DEPENDS doc/absink.1 "${windows_text}"
        VERBATIM
    )
    list(APPEND texts "${PROJECT_BINARY_DIR}/absink.txt")
  endif()
  add_custom_target(windows_texts ALL DEPENDS ${texts})
  install(FILES ${texts} DESTINATION . COMPONENT absink)
elseif(debian_layout)
  find_program(GZIP gzip REQUIRED)
  foreach(file IN ITEMS doc/absink.1 packaging/changelog)
    get_filename_component(name "${file}" NAME)
    add_custom_command(
        OUTPUT "${name}.gz"
        COMMAND "${GZIP}" -9nc "${PROJECT_SOURCE_DIR}/${file}" > "${name}.gz"
        DEPENDS "${file}"
        VERBATIM
    )
    list(APPEND compressed "${PROJECT_BINARY_DIR}/${name}.gz")
  endforeach()
  add_custom_target(debian_docs ALL DEPENDS ${compressed})
  install(FILES "${PROJECT_BINARY_DIR}/absink.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT absink)

  install(FILES README.md DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/absink" COMPONENT absink)
  foreach(component package IN ZIP_LISTS components packages)
    install(FILES "${PROJECT_BINARY_DIR}/changelog.gz" packaging/copyright
            DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${package}" COMPONENT ${component})
    set(overrides "packaging/lintian-overrides-${package}")
    if(EXISTS "${PROJECT_SOURCE_DIR}/${overrides}")
      install(FILES "${overrides}" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
              RENAME "${package}" COMPONENT ${component})
    endif()
  endforeach()
else()
  install(FILES doc/absink.1 DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT absink)
endif()

# ---- The model ----

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
configure_file(cmake/sedimentationConfig.cmake.in sedimentationConfig.cmake @ONLY)
write_basic_package_version_file(
    "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion
)
install(
    FILES "${PROJECT_BINARY_DIR}/sedimentationConfig.cmake"
          "${PROJECT_BINARY_DIR}/sedimentationConfigVersion.cmake"
    DESTINATION "${package_dir}"
    COMPONENT development
)

# pkg-config, for C and Fortran builds: plain --libs links the default
# kind (see CMakeLists.txt); --static adds what a static link needs
# besides.  The library is C++ inside but uses nothing of the C++ runtime,
# so that is libm alone, which a static library alone needs always.  The
# prefix is found from the file's own folder, libdir/pkgconfig.
string(REGEX REPLACE "[^/]+" ".." pc_up "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
set(libm "")
if(UNIX)
  set(libm " -lm")
endif()
set(pc_cflags "")
set(pc_libs "${libm}")
set(pc_libs_private "")
set(pc_usage "")
if(model_default STREQUAL "shared")
  set(pc_cflags " -DSEDIMENTATION_SHARED")
  set(pc_libs "")
  set(pc_libs_private "${libm}")
  if(WIN32)
    set(pc_usage "  Keep bin/sedimentation.dll beside the program or on\n# its PATH.")
  elseif("static" IN_LIST model_installed)
    set(pc_usage "  --static, with -static for the link, the static one:\n#   cc -static prog.c $(pkg-config --cflags --libs --static sedimentation)")
  endif()
endif()
configure_file(cmake/sedimentation.pc.in sedimentation.pc @ONLY)
install(
    FILES "${PROJECT_BINARY_DIR}/sedimentation.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT development
)
