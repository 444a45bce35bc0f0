# The packages as a user gets them: KIND deb, the four .debs, or tgz, the
# .tar.gz for any Linux; PYTHON is the interpreter the Python module was
# built for, PRESET the preset that built them.
#
# Both kinds: a second build of the same sources, copied to another folder
# and built there at another time, gives the same bytes.  Unpacked into a
# scratch root, they hold the program, which prints the report, a shared
# library that exports the API alone, and the Python module, which passes
# its tests.
#
# The .debs: lintian finds nothing, to its pedantic, informational and
# experimental tags, but what is overridden; the program is linked
# dynamically against libc and libm alone, and depends on what
# dpkg-shlibdeps gives; the library's symbols file lists exactly the
# symbols it exports; each package carries the documents its users read.
# The examples of the library's and the Python module's documents, built
# and run exactly as they stand there, work against the packages alone:
# each block of commands after "<!-- example run -->" runs line by line in
# the folder of the example files, and its last line prints the two lines
# every example prints.  So does a C program of someone else's with globals of its own
# named like the library's, linked with the static library through CMake,
# and one that calls the shared library from several threads; both check
# the report's verdicts.
#
# The .tar.gz: the program is static, no path is Debian's alone, the
# Python module loads from where the archive's README says, and the
# documents it names lie beside it.
#
#	cmake -D KIND=deb|tgz -D PACKAGE_DIR=... -D SOURCE_DIR=... -D WORK_DIR=...
#	      -D PYTHON=... -D PRESET=... -D VERSION=... -P package_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/harness.cmake")

# The NEEDED entries of an ELF file, as a list in "needed".
function(needed file)
  run(readelf -d "${file}")
  string(REGEX MATCHALL "\\(NEEDED\\)[^[]*\\[[^]]+\\]" entries "${out}")
  list(TRANSFORM entries REPLACE ".*\\[(.*)\\]" "\\1")
  set(needed "${entries}" PARENT_SCOPE)
endfunction()

# The user's python3 is the one the module was built for.
get_filename_component(python_bin "${PYTHON}" DIRECTORY)
set(ENV{PATH} "${python_bin}:$ENV{PATH}")

# This version's packages: those of an older one may lie beside them.
if(KIND STREQUAL "deb")
  file(GLOB packages "${PACKAGE_DIR}/*_${VERSION}_*.deb")
  set(expected 4)
else()
  file(GLOB packages "${PACKAGE_DIR}/*-${VERSION}-*.tar.gz")
  set(expected 1)
endif()
list(LENGTH packages count)
if(NOT count EQUAL expected)
  message(FATAL_ERROR "expected ${expected} ${KIND} in ${PACKAGE_DIR} (run cpack first), found: ${packages}")
endif()

set(root "${WORK_DIR}/root")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${root}")

# The same sources in another folder, built there later, give the same
# bytes: no time and no path of the build reaches a package.
set(copy "${WORK_DIR}/source")
file(GLOB sources "${SOURCE_DIR}/*" "${SOURCE_DIR}/.ci")
list(REMOVE_ITEM sources "${SOURCE_DIR}/build")
file(COPY ${sources} DESTINATION "${copy}")
run("${CMAKE_COMMAND}" -S "${copy}" --preset "${PRESET}" -DBUILD_TESTING=OFF)
run("${CMAKE_COMMAND}" --build "${copy}/build/${PRESET}")
run("${CMAKE_COMMAND}" -E chdir "${copy}" cpack --preset "${PRESET}")
foreach(package IN LISTS packages)
  get_filename_component(name "${package}" NAME)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${package}" "${copy}/build/${PRESET}/${name}"
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${name} differs from the second build's: the build is not reproducible")
  endif()
endforeach()
message(STATUS "a second build: the same bytes")
if(KIND STREQUAL "tgz")
  run(tar -xzf "${packages}" -C "${root}" --strip-components=1)
  set(root_usr "${root}")
  set(libdir "${root}/lib")
  foreach(debian_only IN ITEMS lib/python3/dist-packages share/lintian share/man/man1/absink.1.gz)
    if(EXISTS "${root}/${debian_only}")
      message(FATAL_ERROR "a path of Debian's alone in the .tar.gz: ${debian_only}")
    endif()
  endforeach()
  needed("${root}/bin/absink")
  if(needed)
    message(FATAL_ERROR "the program in the .tar.gz needs ${needed}: it is not static")
  endif()
  run("${root}/bin/absink" 100 1)
  expect_report("the archive's absink")
  # The documents for its users, beside the README that names them.
  file(READ "${root}/share/doc/absink/README" readme)
  foreach(document IN ITEMS model library python)
    if(NOT EXISTS "${root}/share/doc/absink/${document}.md" OR NOT readme MATCHES "share/doc/absink/${document}\\.md")
      message(FATAL_ERROR "the .tar.gz lacks ${document}.md, or its README does not name it")
    endif()
  endforeach()
  # The module, loaded as the archive's README says.
  if(NOT readme MATCHES "\n    (PYTHONPATH=[^\n]+)\n")
    message(FATAL_ERROR "the archive's README says nothing of the Python module")
  endif()
  # (A script, since the line holds a semicolon, CMake's list separator.)
  file(WRITE "${WORK_DIR}/python.sh" "cd \"$1\" && ${CMAKE_MATCH_1}\n")
  run(sh "${WORK_DIR}/python.sh" "${root}")
  if(NOT out MATCHES "^25\\.18308")
    message(FATAL_ERROR "the archive's Python module printed: ${out}")
  endif()
  file(GLOB library "${libdir}/libsedimentation.so.1")
else()
  find_program(LINTIAN lintian REQUIRED)
  run("${LINTIAN}" --no-cfg --pedantic -I -E --fail-on error,warning,info,pedantic,experimental ${packages})
  message(STATUS "lintian: ok")
  foreach(deb IN LISTS packages)
    run(dpkg-deb -x "${deb}" "${root}")
  endforeach()
  set(root_usr "${root}/usr")
  # Each package carries the documents its users read.
  foreach(package_documents IN ITEMS "absink:README model" "libsedimentation-dev:library"
                                     "python3-sedimentation:python")
    string(REPLACE ":" ";" package_documents "${package_documents}")
    list(GET package_documents 0 package)
    list(GET package_documents 1 documents)
    file(GLOB deb "${PACKAGE_DIR}/${package}_${VERSION}_*.deb")
    run(dpkg-deb -c "${deb}")
    separate_arguments(documents)
    foreach(document IN LISTS documents)
      if(NOT out MATCHES " \\./usr/share/doc/${package}/${document}\\.md\\.gz\n")
        message(FATAL_ERROR "${package} does not carry ${document}.md")
      endif()
    endforeach()
  endforeach()
  message(STATUS "each package's documents: ok")
  foreach(file IN ITEMS usr/bin/absink usr/share/man/man1/absink.1.gz usr/share/absink/absink.html
                        usr/share/doc/absink/copyright usr/share/doc/absink/changelog.gz)
    if(NOT EXISTS "${root}/${file}")
      message(FATAL_ERROR "not in the package: ${file}")
    endif()
  endforeach()

  # absink as Debian links it: against libc and libm alone, which
  # dpkg-shlibdeps turns into its dependency.
  needed("${root}/usr/bin/absink")
  list(REMOVE_ITEM needed libm.so.6)
  if(NOT needed STREQUAL "libc.so.6")
    message(FATAL_ERROR "the packaged absink needs more or less than libc and libm: ${needed}")
  endif()
  file(GLOB deb "${PACKAGE_DIR}/absink_${VERSION}_*.deb")
  run(dpkg-deb -f "${deb}" Depends)
  if(NOT out MATCHES "^libc6 \\(>= [0-9.]+\\)\n$")
    message(FATAL_ERROR "absink depends on: ${out}")
  endif()
  run("${root}/usr/bin/absink" 100 1)
  expect_report("the packaged absink")

  # The symbols file lists what the library exports, no more and no less.
  file(GLOB library "${root}/usr/lib/*/libsedimentation.so.1")
  set(control "${WORK_DIR}/libsedimentation1")
  file(GLOB deb "${PACKAGE_DIR}/libsedimentation1_${VERSION}_*.deb")
  run(dpkg-deb -e "${deb}" "${control}")
  run(dpkg-deb -f "${deb}" Version)
  string(STRIP "${out}" version)
  run(dpkg-gensymbols -plibsedimentation1 "-v${version}" "-P${root}" "-e${library}"
      "-I${control}/symbols" "-O${WORK_DIR}/symbols" -c4)
  message(STATUS "the symbols file: ok")
  # And the shlibs file, for tools that read no symbols file.
  file(READ "${control}/shlibs" shlibs)
  if(NOT shlibs STREQUAL "libsedimentation 1 libsedimentation1 (>= ${version})\n")
    message(FATAL_ERROR "libsedimentation1's shlibs file: ${shlibs}")
  endif()
endif()

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
set(ENV{CMAKE_PREFIX_PATH} "${root_usr}")
set(ENV{LD_LIBRARY_PATH} "${libdir}")
# The user's python3 finds the root's module where it is installed.
file(GLOB_RECURSE module "${root}/__init__.py")
list(FILTER module INCLUDE REGEX "/sedimentation/__init__\\.py$")
get_filename_component(module "${module}" DIRECTORY)
get_filename_component(module "${module}" DIRECTORY)
set(ENV{PYTHONPATH} "${module}")
set(ENV{PYTHONDONTWRITEBYTECODE} 1)
run("${PYTHON}" -m pytest -q -p no:cacheprovider "${SOURCE_DIR}/tests/python")
message(STATUS "the Python module's tests: ok")
if(KIND STREQUAL "tgz")
  return()
endif()

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

# The examples of the library's and the Python module's documents: their
# files and blocks of commands, in their order; a block comes after the
# files it builds.
set(blocks 0)
foreach(document IN ITEMS library python)
  file(READ "${SOURCE_DIR}/doc/${document}.md" text)
  while(text MATCHES "<!-- example(: [^ ]+| run) -->\n```[a-z]*\n")
    set(what "${CMAKE_MATCH_1}")
    string(FIND "${text}" "${CMAKE_MATCH_0}" at)
    string(LENGTH "${CMAKE_MATCH_0}" length)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${text}" ${at} -1 text)
    string(FIND "${text}" "```" close)
    string(SUBSTRING "${text}" 0 ${close} code)
    if(what STREQUAL " run")
      string(REGEX MATCHALL "[^\n]+" commands "${code}")
      example(${commands})
      math(EXPR blocks "${blocks} + 1")
    else()
      string(SUBSTRING "${what}" 2 -1 name)
      file(WRITE "${examples}/${name}" "${code}")
    endif()
  endwhile()
endforeach()
if(blocks LESS 8)
  message(FATAL_ERROR "doc/library.md and doc/python.md have ${blocks} blocks of example commands, not eight or more")
endif()

example("cmake -S '${CMAKE_CURRENT_LIST_DIR}/consumer' -B clash" "cmake --build clash"
        "clash/clash '${CMAKE_CURRENT_LIST_DIR}/particles.tsv'")

# The shared library from several threads, and its verdicts, with plain
# pkg-config.
run(sh -c "cc -std=c11 -O2 \"$0\" $(pkg-config --cflags --libs sedimentation) -pthread -o \"$1\" && \"$1\" \"$2\""
    "${CMAKE_CURRENT_LIST_DIR}/consumer/threads.c" "${WORK_DIR}/threads" "${CMAKE_CURRENT_LIST_DIR}/particles.tsv")
message(STATUS "the shared library: ${out}")
