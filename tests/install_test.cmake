# Installs the build tree into a fresh prefix, checks that the files are
# where they belong, and builds and runs a separate project against the
# installed package.
#
#	cmake -D BUILD_DIR=... -D WORK_DIR=... -D CONSUMER_DIR=...
#	      -D CXX=... -D CXX_FLAGS=... -P install_test.cmake
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(prefix "${WORK_DIR}/prefix")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}")

foreach(file IN ITEMS bin/absink share/man/man1/absink.1 include/sedimentation/sedimentation.hpp)
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

run("${prefix}/bin/absink" 100 1)
if(NOT out MATCHES "vs \\(in cm/s\\)       :   25.1831\n$")
  message(FATAL_ERROR "installed absink printed:\n${out}")
endif()

run("${CMAKE_COMMAND}" -S "${CONSUMER_DIR}" -B "${WORK_DIR}/build"
    "-DCMAKE_PREFIX_PATH=${prefix}" "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run("${CMAKE_COMMAND}" --build "${WORK_DIR}/build")
run("${WORK_DIR}/build/consumer")
if(NOT out STREQUAL "49.9100 1.7225 25.1831\n")
  message(FATAL_ERROR "consumer printed: ${out}")
endif()
message(STATUS "installed package works")
