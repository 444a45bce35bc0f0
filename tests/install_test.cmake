# Installs the build tree into a fresh prefix, checks that the files are
# where they belong and that the installed program runs, and builds and
# runs a program of someone else's against the installed library: a C11
# program that calls the model from several threads at once, linked with
# plain pkg-config, which must link whatever the build installed.  (The
# documents' examples run against the packages: package_test.cmake.)
#
# A cross build runs the installed program through its emulator (EMULATOR,
# a list); the consumer needs a compiler for the target, which only the
# Windows build has: there a C program links the model's DLL, with
# pkg-config and with the CMake package, and runs under Wine.  A sanitizer
# build skips the consumer: its library needs the sanitizers' runtime.
#
#	cmake -D BUILD_DIR=... -D WORK_DIR=...
#	      [-D CROSS=ON -D EMULATOR=... -D EXE=.exe] [-D SANITIZED=ON]
#	      [-D PAGE=share/absink/absink.html] [-D TOOLCHAIN=... -D TARGET_CC=...]
#	      [-D PYTHON=python3]
#	      -P install_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/harness.cmake")

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

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

set(manual share/man/man1/absink.1)
set(texts "")
if(EXE STREQUAL ".exe")
  set(manual "") # Windows reads no roff
  # The .zip's texts, and the documents for its users.
  set(texts README.txt LICENSE.txt doc/model.md doc/library.md)
endif()
foreach(file IN ITEMS bin/absink${EXE} ${manual} ${texts} include/sedimentation/sedimentation.h
                      include/sedimentation/sedimentation.hpp lib/pkgconfig/sedimentation.pc ${PAGE})
  if(NOT EXISTS "${prefix}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# man finds the page beside the installed program.
find_program(MAN man)
if(MAN AND manual)
  run("${MAN}" -M "${prefix}/share/man" -w absink)
  if(NOT out STREQUAL "${prefix}/share/man/man1/absink.1\n")
    message(FATAL_ERROR "man -w absink: ${out}")
  endif()
endif()

run(${EMULATOR} "${prefix}/bin/absink${EXE}" 100 1)
expect_report("installed absink")
# The Python module, where it is built, went where its interpreter looks
# for a user's packages when the prefix is the user's (~/.local).
if(PYTHON)
  set(ENV{PYTHONUSERBASE} "${prefix}")
  run("${PYTHON}" -c "import sedimentation as s\nprint('%.4f' % s.settling_velocity(100, 1))")
  if(NOT out STREQUAL "25.1831\n")
    message(FATAL_ERROR "the installed Python module printed:\n${out}")
  endif()
endif()
# Windows: the model as a DLL, as the .zip carries it.  It exports the API
# alone and needs no DLL but Windows' own; a C program built against it,
# with pkg-config and with the CMake package, runs under Wine with the DLL
# on its PATH.  The program links without auto-import (see
# consumer/CMakeLists.txt), so a package that does not define
# SEDIMENTATION_SHARED fails to link it.
if(EXISTS "${prefix}/bin/sedimentation.dll")
  find_program(OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
  run("${OBJDUMP}" -p "${prefix}/bin/sedimentation.dll")
  string(REGEX MATCHALL "\n\t\[ *[0-9]+\] [A-Za-z_]+" exported "${out}")
  list(TRANSFORM exported REPLACE "^.*\] " "")
  expect_exports(sedimentation.dll ${exported})
  string(REGEX MATCHALL "DLL Name: [^\n]+" imported "${out}")
  if(imported MATCHES "DLL Name: lib")
    message(FATAL_ERROR "sedimentation.dll needs MinGW's runtime: ${imported}")
  endif()

  set(ENV{WINEPATH} "${prefix}/bin")
  set(particles "Z:${CMAKE_CURRENT_LIST_DIR}/particles.tsv")
  package_flags("${prefix}")
  run("${TARGET_CC}" -std=c11 -Wall -Wextra -pedantic -Werror "${CMAKE_CURRENT_LIST_DIR}/consumer/dll.c"
      ${flags} -Wl,--disable-auto-import -o "${WORK_DIR}/dll-pkg-config.exe")
  run(${EMULATOR} "${WORK_DIR}/dll-pkg-config.exe" "${particles}")
  expect_example_output("C program with the DLL (pkg-config)")

  run("${CMAKE_COMMAND}" -S "${CMAKE_CURRENT_LIST_DIR}/consumer" -B "${WORK_DIR}/dll-cmake"
      "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-Dsedimentation_DIR=${prefix}/lib/cmake/sedimentation")
  run("${CMAKE_COMMAND}" --build "${WORK_DIR}/dll-cmake")
  run(${EMULATOR} "${WORK_DIR}/dll-cmake/dll.exe" "${particles}")
  expect_example_output("C program with the DLL (CMake package)")
endif()
if(CROSS OR SANITIZED)
  message(STATUS "cross or sanitizer build: the native consumer skipped")
  return()
endif()

package_flags("${prefix}")
find_program(CC NAMES cc gcc clang REQUIRED)
run("${CC}" -std=c11 -Wall -Wextra -pedantic -Werror -O2 "${CMAKE_CURRENT_LIST_DIR}/consumer/threads.c"
    ${flags} -pthread -o "${WORK_DIR}/threads")
set(ENV{LD_LIBRARY_PATH} "${prefix}/lib")
run("${WORK_DIR}/threads" "${CMAKE_CURRENT_LIST_DIR}/particles.tsv")
message(STATUS "C11 threads: ${out}")
