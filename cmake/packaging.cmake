# Packages for users: a .deb and a .tar.gz on Linux, a .zip on Windows.
#
#	cmake --workflow --preset package	(Debian: build/package/*.deb)
#	cmake --workflow --preset windows	(build/windows/*.zip)
#
# The .deb follows Debian's layout when the build installs into /usr, as the
# package preset does: the manual page compressed, the copyright file and
# the changelog in /usr/share/doc/absink, and the one lintian override the
# static link needs.

set(doc_dir "${CMAKE_INSTALL_DATADIR}/doc/absink")

if(WIN32)
  # The .zip: absink.exe beside its README, licence and manual (as text).
  install(FILES README.md DESTINATION . COMPONENT absink)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT absink)
  find_program(GROFF groff)
  if(GROFF)
    add_custom_command(
        OUTPUT absink.txt
        COMMAND "${GROFF}" -man -Tutf8 -P-cbou "${PROJECT_SOURCE_DIR}/doc/absink.1" > absink.txt
        DEPENDS doc/absink.1
        VERBATIM
    )
    add_custom_target(manual_text ALL DEPENDS absink.txt)
    install(FILES "${PROJECT_BINARY_DIR}/absink.txt" DESTINATION . COMPONENT absink)
  endif()
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
  install(FILES "${PROJECT_BINARY_DIR}/changelog.gz" packaging/copyright README.md
          DESTINATION "${doc_dir}" COMPONENT absink)
  install(
      FILES packaging/lintian-overrides
      DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
      RENAME absink
      COMPONENT absink
  )
endif()

set(CPACK_PACKAGE_NAME absink)
set(CPACK_PACKAGE_VENDOR "The absink developers")
set(CPACK_PACKAGE_CONTACT "The absink developers <absink@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "settling velocity of a particle in still air (VDI 3782 Blatt 1)")
set(CPACK_PACKAGE_DESCRIPTION
    "absink computes the settling (sedimentation) velocity of a particle in
still air by the procedure of the guideline VDI 3782 Blatt 1 (new edition),
from its diameter in micrometres and its density in g/cm3, and prints a
short report in German: the Best number, the Reynolds number and the
velocity in cm/s.
The package also holds the model as a C and C++ library, libsedimentation,
with its header, a CMake package and a pkg-config file.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "absink-${PROJECT_VERSION}-windows-x86_64")
  # The static absink.exe with the model as a DLL, from the DLL's build.
  if(dll_build)
    set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};absink;absink;/" "${dll_build};absink;sedimentation;/")
  endif()
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# absink is linked statically; the library is static unless built shared.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)

include(CPack)
