# Installs the build tree into a fresh prefix, checks that the files are
# where they belong, and builds and runs programs of someone else's against
# the installed package: the README's examples in C++ (find_package), C and
# Fortran (pkg-config) and Python (ctypes), and a C11 program that calls the
# model from several threads at once.
#
# C, Fortran and Python get installs of their own, a static and a shared
# build of the sources with the system's default flags: this build's flags
# (sanitizers, say) are for its own compiler.
#
# A cross build checks the installed files and runs the installed program
# through its emulator (EMULATOR, a list); the consumers need compilers and
# a Python for the target, and are left to native builds, but for the C
# programs that a Windows build links with the model's DLL (DLL_BUILD).
#
#	cmake -D BUILD_DIR=... -D SOURCE_DIR=... -D WORK_DIR=...
#	      -D CXX=... -D CXX_FLAGS=... [-D CROSS=ON -D EMULATOR=... -D EXE=.exe]
#	      [-D PAGE=share/absink/absink.html]
#	      [-D DLL_BUILD=... -D TOOLCHAIN=... -D TARGET_CC=...] -P install_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/run.cmake")

# What every example prints: w, Nre and vs of (100 um, 1 g/cm^3) and of
# (800 um, 2 g/cm^3).
set(expected "49.9100 1.7225 25.1831\n51107.8398 277.6049 507.3229\n")
# The flags that pkg-config gives for the package installed in prefix, and
# for none of this machine's, as a list in "flags"; ARGN adds its options.
function(package_flags prefix)
  find_program(PKG_CONFIG pkg-config REQUIRED)
  set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/lib/pkgconfig")
  run("${PKG_CONFIG}" --cflags --libs ${ARGN} sedimentation)
  string(STRIP "${out}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(flags "${flags}" PARENT_SCOPE)
endfunction()

function(expect what)
  if(NOT out STREQUAL expected)
    message(FATAL_ERROR "${what} printed:\n${out}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

foreach(file IN ITEMS bin/absink${EXE} share/man/man1/absink.1 include/sedimentation/sedimentation.h
                      include/sedimentation/sedimentation.hpp lib/pkgconfig/sedimentation.pc ${PAGE})
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# man finds the page beside the installed program.
find_program(MAN man)
if(MAN)
  run("${MAN}" -M "${prefix}/share/man" -w absink)
  if(NOT out STREQUAL "${prefix}/share/man/man1/absink.1\n")
    message(FATAL_ERROR "man -w absink: ${out}")
  endif()
endif()

run(${EMULATOR} "${prefix}/bin/absink${EXE}" 100 1)
if(NOT out MATCHES "vs \\(in cm/s\\)       :   25.1831\r?\n$")
  message(FATAL_ERROR "installed absink printed:\n${out}")
endif()
# Windows: the model as a DLL, as the .zip carries it.  It exports the API
# alone and needs no DLL but Windows' own; a C program built against it,
# with pkg-config and with the CMake package, runs under Wine with the DLL
# on its PATH.  The program links without auto-import (see
# consumer/CMakeLists.txt), so a package that does not define
# SEDIMENTATION_SHARED fails to link it.
if(DLL_BUILD)
  set(dll "${WORK_DIR}/dll")
  run("${CMAKE_COMMAND}" --install "${DLL_BUILD}" --prefix "${dll}" --component sedimentation)
  find_program(OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
  run("${OBJDUMP}" -p "${dll}/bin/sedimentation.dll")
  string(REGEX MATCHALL "\n\t\[ *[0-9]+\] [A-Za-z_]+" exported "${out}")
  list(TRANSFORM exported REPLACE "^.*\] " "")
  list(SORT exported)
  if(NOT exported STREQUAL "best_number;reynolds_number;sedimentation_compute;sedimentation_velocity")
    message(FATAL_ERROR "sedimentation.dll exports more or less than the API: ${exported}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imported "${out}")
  if(imported MATCHES "DLL Name: lib")
    message(FATAL_ERROR "sedimentation.dll needs MinGW's runtime: ${imported}")
  endif()

  set(ENV{WINEPATH} "${dll}/bin")
  package_flags("${dll}")
  run("${TARGET_CC}" -std=c11 -Wall -Wextra -pedantic -Werror "${CMAKE_CURRENT_LIST_DIR}/consumer/dll.c"
      ${flags} -Wl,--disable-auto-import -o "${WORK_DIR}/dll-pkg-config.exe")
  run(${EMULATOR} "${WORK_DIR}/dll-pkg-config.exe")
  expect("C program with the DLL (pkg-config)")

  run("${CMAKE_COMMAND}" -S "${CMAKE_CURRENT_LIST_DIR}/consumer" -B "${WORK_DIR}/dll-cmake"
      "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-Dsedimentation_DIR=${dll}/lib/cmake/sedimentation")
  run("${CMAKE_COMMAND}" --build "${WORK_DIR}/dll-cmake")
  run(${EMULATOR} "${WORK_DIR}/dll-cmake/dll.exe")
  expect("C program with the DLL (CMake package)")
endif()
if(CROSS)
  message(STATUS "cross build: the consumers of the native builds skipped")
  return()
endif()

# The README's examples, each a fenced block after "<!-- example: NAME -->".
set(examples "${WORK_DIR}/examples")
file(READ "${SOURCE_DIR}/README.md" readme)
set(marker "<!-- example: ")
while(TRUE)
  string(FIND "${readme}" "${marker}" at)
  if(at EQUAL -1)
    break()
  endif()
  string(LENGTH "${marker}" length)
  math(EXPR at "${at} + ${length}")
  string(SUBSTRING "${readme}" ${at} -1 readme)
  string(FIND "${readme}" " -->" end)
  string(SUBSTRING "${readme}" 0 ${end} name)
  string(FIND "${readme}" "```" open)
  string(SUBSTRING "${readme}" ${open} -1 readme)
  string(FIND "${readme}" "\n" newline)
  math(EXPR newline "${newline} + 1")
  string(SUBSTRING "${readme}" ${newline} -1 readme)
  string(FIND "${readme}" "```" close)
  string(SUBSTRING "${readme}" 0 ${close} code)
  file(WRITE "${examples}/${name}" "${code}")
  list(APPEND found "${name}")
endwhile()
foreach(name IN ITEMS CMakeLists.txt example.cpp example.c example.f90 example.py)
  if(NOT name IN_LIST found)
    message(FATAL_ERROR "README.md has no example ${name}")
  endif()
endforeach()

# C++: this build's package, compiler and flags.
run("${CMAKE_COMMAND}" -S "${examples}" -B "${WORK_DIR}/cxx"
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run("${CMAKE_COMMAND}" --build "${WORK_DIR}/cxx")
run("${WORK_DIR}/cxx/example")
expect("C++ example (find_package)")

# A static and a shared build of the sources with default flags, each
# installed into its own prefix.
foreach(kind IN ITEMS static shared)
  set(shared OFF)
  if(kind STREQUAL "shared")
    set(shared ON)
  endif()
  run("${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}/${kind}-build"
      -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "-DBUILD_SHARED_LIBS=${shared}")
  run("${CMAKE_COMMAND}" --build "${WORK_DIR}/${kind}-build" --target sedimentation)
  run("${CMAKE_COMMAND}" --install "${WORK_DIR}/${kind}-build" --prefix "${WORK_DIR}/${kind}"
      --component sedimentation)
endforeach()

# C and Fortran: pkg-config, static link.
package_flags("${WORK_DIR}/static" --static)

find_program(CC NAMES cc gcc clang REQUIRED)
run("${CC}" -std=c11 -Wall -Wextra -pedantic -Werror "${examples}/example.c" ${flags}
    -o "${WORK_DIR}/example-c")
run("${WORK_DIR}/example-c")
expect("C example (pkg-config)")

run("${CC}" -std=c11 -Wall -Wextra -pedantic -Werror -O2 "${CMAKE_CURRENT_LIST_DIR}/consumer/threads.c"
    ${flags} -pthread -o "${WORK_DIR}/threads")
run("${WORK_DIR}/threads")
message(STATUS "C11 threads: ${out}")

find_program(FC NAMES gfortran REQUIRED)
run("${FC}" -std=f2008 -Wall -Werror "${examples}/example.f90" ${flags} -o "${WORK_DIR}/example-f")
run("${WORK_DIR}/example-f")
expect("Fortran example (pkg-config)")

# Python: ctypes on the shared library, which exports the API alone.
file(GLOB library "${WORK_DIR}/shared/lib*/libsedimentation.so.1")
if(NOT library)
  message(FATAL_ERROR "no libsedimentation.so.1 in the shared install")
endif()
find_program(NM nm)
if(NM)
  run("${NM}" -D --defined-only "${library}")
  string(REGEX MATCHALL "[^ \n]+\n" exported "${out}")
  list(TRANSFORM exported STRIP)
  list(SORT exported)
  if(NOT exported STREQUAL "best_number;reynolds_number;sedimentation_compute;sedimentation_velocity")
    message(FATAL_ERROR "libsedimentation.so exports more than the API:\n${out}")
  endif()
endif()
find_program(PYTHON NAMES python3 REQUIRED)
run("${PYTHON}" "${examples}/example.py" "${library}")
expect("Python example (ctypes)")
