# The four .debs as a user gets them; PYTHON is the interpreter the Python
# module was built for.  lintian finds neither error nor warning in them.  Unpacked into a scratch root, they
# hold the program, which prints the report, a shared library that exports
# the API alone, and the Python module, which passes its tests.  The README's examples, built and run exactly as they stand there,
# work against the packages alone: each block of commands after
# "<!-- example run -->" runs line by line in the folder of the example
# files, and its last line prints the two lines every example prints.  So
# does a C program of someone else's with globals of its own named like
# the library's, linked with the static library through CMake, and one that
# calls the shared library from several threads; both check the report's
# verdicts.
#
#	cmake -D PACKAGE_DIR=... -D SOURCE_DIR=... -D WORK_DIR=... -D PYTHON=... -P package_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/harness.cmake")

file(GLOB debs "${PACKAGE_DIR}/*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "expected the four .debs in ${PACKAGE_DIR} (run cpack first), found: ${debs}")
endif()

find_program(LINTIAN lintian)
if(LINTIAN)
  run("${LINTIAN}" --no-cfg --fail-on error,warning ${debs})
  message(STATUS "lintian: ok")
else()
  message(STATUS "lintian is not installed: not run")
endif()

set(root "${WORK_DIR}/root")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${root}")
foreach(deb IN LISTS debs)
  run(dpkg-deb -x "${deb}" "${root}")
endforeach()
foreach(file IN ITEMS usr/bin/absink usr/share/man/man1/absink.1.gz usr/share/absink/absink.html
                      usr/share/doc/absink/copyright usr/share/doc/absink/changelog.gz)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "not in the package: ${file}")
  endif()
endforeach()

run("${root}/usr/bin/absink" 100 1)
expect_report("the packaged absink")

file(GLOB library "${root}/usr/lib/*/libsedimentation.so.1")
if(NOT library)
  message(FATAL_ERROR "no libsedimentation.so.1 in the packages")
endif()
get_filename_component(libdir "${library}" DIRECTORY)
run(nm -D --defined-only "${library}")
string(REGEX MATCHALL "[^ \n]+\n" exported "${out}")
list(TRANSFORM exported STRIP)
expect_exports(libsedimentation.so.1 ${exported})

# Where an installed system would find them: the root's libraries,
# pkg-config files and CMake packages, and none of this machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${libdir}/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{CMAKE_PREFIX_PATH} "${root}/usr")
set(ENV{LD_LIBRARY_PATH} "${libdir}")
# The user's python3 is the one the module was built for, which finds the
# root's module as an installed system finds it in dist-packages.
set(ENV{PYTHONPATH} "${root}/usr/lib/python3/dist-packages")
set(ENV{PYTHONDONTWRITEBYTECODE} 1)
get_filename_component(python_bin "${PYTHON}" DIRECTORY)
set(ENV{PATH} "${python_bin}:$ENV{PATH}")
run("${PYTHON}" -m pytest -q -p no:cacheprovider "${SOURCE_DIR}/tests/python")
message(STATUS "the Python module's tests: ok")

# Runs the commands (a list) one by one in the examples' folder; the last
# prints what every example prints.
set(examples "${WORK_DIR}/examples")
file(MAKE_DIRECTORY "${examples}")
function(example)
  foreach(command IN LISTS ARGN)
    run(sh -c "cd \"$0\" && ${command}" "${examples}")
    set(last "${command}")
  endforeach()
  expect_example_output("${last}")
endfunction()

# The README's files and blocks of commands, in its order: a block comes
# after the files it builds.
file(READ "${SOURCE_DIR}/README.md" readme)
set(blocks 0)
while(readme MATCHES "<!-- example(: [^ ]+| run) -->\n```[a-z]*\n")
  set(what "${CMAKE_MATCH_1}")
  string(FIND "${readme}" "${CMAKE_MATCH_0}" at)
  string(LENGTH "${CMAKE_MATCH_0}" length)
  math(EXPR at "${at} + ${length}")
  string(SUBSTRING "${readme}" ${at} -1 readme)
  string(FIND "${readme}" "```" close)
  string(SUBSTRING "${readme}" 0 ${close} code)
  if(what STREQUAL " run")
    string(REGEX MATCHALL "[^\n]+" commands "${code}")
    example(${commands})
    math(EXPR blocks "${blocks} + 1")
  else()
    string(SUBSTRING "${what}" 2 -1 name)
    file(WRITE "${examples}/${name}" "${code}")
  endif()
endwhile()
if(blocks LESS 8)
  message(FATAL_ERROR "README.md has ${blocks} blocks of example commands, not eight or more")
endif()

example("cmake -S '${CMAKE_CURRENT_LIST_DIR}/consumer' -B clash" "cmake --build clash" clash/clash)

# The shared library from several threads, and its verdicts, with plain
# pkg-config.
run(sh -c "cc -std=c11 -O2 \"$0\" $(pkg-config --cflags --libs sedimentation) -pthread -o \"$1\" && \"$1\""
    "${CMAKE_CURRENT_LIST_DIR}/consumer/threads.c" "${WORK_DIR}/threads")
message(STATUS "the shared library: ${out}")
