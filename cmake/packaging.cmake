# Packages for users: three .debs and a .tar.gz on Linux, a .zip on Windows,
# of what install-rules.cmake installs.
#
#	cmake --workflow --preset package	(Debian: build/package/*.deb)
#	cmake --workflow --preset windows	(build/windows/*.zip)
#
# The .debs split as Debian splits a library, one per install component:
# absink (the program, static, depending on nothing), libsedimentation1
# (the shared library), libsedimentation-dev (what a build needs) and,
# with the Python module, python3-sedimentation.

set(CPACK_PACKAGE_NAME absink)
set(CPACK_PACKAGE_VENDOR "The absink developers")
set(CPACK_PACKAGE_CONTACT "The absink developers <absink@example.org>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "absink-${PROJECT_VERSION}-windows-x86_64")
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

# One .deb per component; the archives hold them all.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE absink)
foreach(component package IN ZIP_LISTS components packages)
  string(TOUPPER "${component}" component)
  set(CPACK_DEBIAN_${component}_PACKAGE_NAME "${package}")
endforeach()
# Control files with the modes Debian's policy gives them (0644, scripts
# 0755) whatever the modes of the sources: a tree unpacked from a
# git archive has 0664.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts CPACK_PACKAGE_DESCRIPTION_SUMMARY before every package's
# description unless it is CPack's own default; each package here has a
# synopsis of its own, the first line of its description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_NAME} built using CMake")

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

set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SHLIBDEPS ON)
# dpkg's trigger runs ldconfig, so that the loader finds the library by its
# SONAME (Python's ctypes does).  CPack also writes an ldconfig call into
# postinst and postrm, which the lintian override explains.
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

if(SEDIMENTATION_PYTHON)
  # What dh_python3 and dh_numpy3 give a Debian package with an extension
  # module: this Python's version alone (the module is built for its ABI),
  # and numpy from the first version of its C API on, with the ABI package
  # (Debian's numpy says which in /usr/share/numpy3/versions).  The
  # library by its shlibs file, and libc for feraiseexcept, which
  # dpkg-shlibdeps dates to 2.2.5.
  math(EXPR python_next "${Python_VERSION_MINOR} + 1")
  set(python_depends
      "python3 (>= ${Python_VERSION_MAJOR}.${Python_VERSION_MINOR}~), python3 (<< ${Python_VERSION_MAJOR}.${python_next})")
  set(numpy_depends python3-numpy)
  set(numpy_versions /usr/share/numpy3/versions)
  if(EXISTS "${numpy_versions}")
    file(STRINGS "${numpy_versions}" numpy_abi REGEX "^abi ")
    file(STRINGS "${numpy_versions}" numpy_api_min REGEX "^api-min-version ")
    string(REPLACE "abi " "python3-numpy-abi" numpy_abi "${numpy_abi}")
    string(REPLACE "api-min-version " "" numpy_api_min "${numpy_api_min}")
    set(numpy_depends "python3-numpy (>= ${numpy_api_min}), ${numpy_abi}")
  endif()
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "libc6 (>= 2.2.5), libsedimentation1 (>= ${PROJECT_VERSION}), ${python_depends}, ${numpy_depends}")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA
      "${PROJECT_SOURCE_DIR}/packaging/python3-sedimentation/postinst"
      "${PROJECT_SOURCE_DIR}/packaging/python3-sedimentation/prerm")
  set(CPACK_DEBIAN_PYTHON_DESCRIPTION
      "settling velocity of particles in still air - Python 3 module
${library_about}
.
This package holds the Python 3 module sedimentation: the model as numpy
ufuncs, which take arrays, dask arrays and xarray DataArrays.")
endif()

include(CPack)
