# The .deb as a user gets it: lintian finds no error in it, and unpacked
# into a scratch root it holds the program, its manual page and its
# copyright, and the program prints the report.
#
#	cmake -D PACKAGE_DIR=... -D WORK_DIR=... -P package_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/run.cmake")

file(GLOB debs "${PACKAGE_DIR}/absink_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one absink_*.deb in ${PACKAGE_DIR} (run cpack first), found: ${debs}")
endif()

find_program(LINTIAN lintian)
if(LINTIAN)
  # lintian exits non-zero on errors only; warnings are shown.
  run("${LINTIAN}" --no-cfg "${debs}")
  message(STATUS "lintian:\n${out}")
else()
  message(STATUS "lintian is not installed: not run")
endif()

set(root "${WORK_DIR}/root")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${root}")
run(dpkg-deb -x "${debs}" "${root}")
foreach(file IN ITEMS usr/bin/absink usr/share/man/man1/absink.1.gz usr/share/absink/absink.html
                      usr/share/doc/absink/copyright usr/share/doc/absink/changelog.gz)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "not in the package: ${file}")
  endif()
endforeach()

run("${root}/usr/bin/absink" 100 1)
set(expected "
Berechnung der Sedimentationsgeschwindigkeit nach VDI 3782 Blatt 1 (neu):
Durchmesser (in mu):  100.0000
Dichte (in g/cm3)  :    1.0000
Bestzahl w         :   49.9100
Reynoldszahl Nre   :    1.7225
vs (in cm/s)       :   25.1831
")
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "the packaged absink printed:\n${out}")
endif()
message(STATUS "the packaged absink works")
