# Packages for users: three .debs and a .tar.gz on Linux, a .zip on Windows.
#
#	cmake --workflow --preset package	(Debian: build/package/*.deb)
#	cmake --workflow --preset windows	(build/windows/*.zip)
#
# The .debs split as Debian splits a library, one per install component:
# absink (the program, static, depending on nothing), libsedimentation1
# (the shared library) and libsedimentation-dev (what a build needs).  Each
# follows Debian's layout when the build installs into /usr, as the package
# preset does: the manual page compressed, and the copyright file and the
# changelog in each package's /usr/share/doc.

if(WIN32)
  # The .zip: absink.exe beside a README, the licence and the manual, as
  # Windows' own programs read text.
  set(windows_text "${PROJECT_SOURCE_DIR}/cmake/windows-text.cmake")
  set(texts "")
  foreach(pair IN ITEMS "packaging/README-windows.txt=README.txt" "LICENSE=LICENSE.txt")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 name)
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
  foreach(pair IN ITEMS absink=absink library=libsedimentation1 development=libsedimentation-dev)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 component)
    list(GET pair 1 package)
    install(FILES "${PROJECT_BINARY_DIR}/changelog.gz" packaging/copyright
            DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${package}" COMPONENT ${component})
  endforeach()
  install(FILES README.md DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/absink" COMPONENT absink)
  install(
      FILES packaging/lintian-overrides
      DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
      RENAME absink
      COMPONENT absink
  )
  install(
      FILES packaging/lintian-overrides-library
      DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
      RENAME libsedimentation1
      COMPONENT library
  )
endif()

set(CPACK_PACKAGE_NAME absink)
set(CPACK_PACKAGE_VENDOR "The absink developers")
set(CPACK_PACKAGE_CONTACT "The absink developers <absink@example.org>")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "absink-${PROJECT_VERSION}-windows-x86_64")
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

# One .deb per component; the archives hold all three.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE absink)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts CPACK_PACKAGE_DESCRIPTION_SUMMARY before every package's
# description unless it is CPack's own default; each package here has a
# synopsis of its own, the first line of its description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_NAME} built using CMake")

set(CPACK_DEBIAN_ABSINK_PACKAGE_NAME absink)
set(CPACK_DEBIAN_ABSINK_PACKAGE_SECTION science)
set(CPACK_DEBIAN_ABSINK_DESCRIPTION
    "settling velocity of a particle in still air (VDI 3782 Blatt 1)
absink computes the settling (sedimentation) velocity of a particle in
still air by the procedure of the guideline VDI 3782 Blatt 1 (new edition),
from its diameter in micrometres and its density in g/cm3, and prints a
short report in German: the Best number, the Reynolds number and the
velocity in cm/s.
.
The package also holds the same program as a web page for the browser.")

set(library_about
    "libsedimentation computes the settling (sedimentation) velocity of a
particle in still air by the procedure of the guideline VDI 3782 Blatt 1
(new edition), with the Best number and the Reynolds number on the way,
for dispersion models and other programs in C, C++, Fortran and Python.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libsedimentation1)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SHLIBDEPS ON)
# dpkg's trigger runs ldconfig, so that the loader finds the library by its
# SONAME (Python's ctypes does).  CPack also writes an ldconfig call into
# postinst and postrm, which the override explains.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA "${PROJECT_SOURCE_DIR}/packaging/triggers")
# The shlibs file lets dpkg-shlibdeps give programs that link the library
# a dependency on this package, at least in this version.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION
    "settling velocity of particles in still air - shared library
${library_about}
.
This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libsedimentation-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libsedimentation1 (= ${PROJECT_VERSION})")
# Version 1.1.0 had the whole library in the one package absink.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_REPLACES "absink (<< 1.2.0)")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_BREAKS "absink (<< 1.2.0)")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "settling velocity of particles in still air - development files
${library_about}
.
This package holds the header, the static library, and the CMake and
pkg-config packages.")

include(CPack)
