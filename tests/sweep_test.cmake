# The sweep of this platform against the native digests (see
# CMakeLists.txt); with PLANT, also the comparison's own test.
#
#	cmake -D SWEEP=[emulator;]path/to/sweep -D PYTHON=python3 -D SOURCE_DIR=...
#	      -D WORK_DIR=... [-D PLANT=1] -P sweep_test.cmake
cmake_minimum_required(VERSION 3.25)

set(stride 37)
set(compare "${SOURCE_DIR}/tools/sweep-compare")
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# sweep(file args...): the sweep's digests of all blocks into file; the
# sweep says which block is the last.
execute_process(COMMAND ${SWEEP} last OUTPUT_VARIABLE last OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
function(sweep file)
  file(WRITE "${file}" "")
  foreach(density IN ITEMS 1 2.65)
    execute_process(COMMAND ${SWEEP} ${ARGN} ${density} ${stride} 0 ${last} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${SWEEP} ${ARGN} ${density}: ${rc}\n${out}")
    endif()
    file(APPEND "${file}" "${out}")
  endforeach()
endfunction()

list(JOIN SWEEP " " command)
sweep("${WORK_DIR}/digests.txt")
execute_process(
    COMMAND "${PYTHON}" "${compare}" --stride ${stride} --sweep "${command}"
            "${SOURCE_DIR}/tests/sweep-digests.txt" "${WORK_DIR}/digests.txt"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out
)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "this platform's sweep differs from the native one:\n${out}")
endif()
message(STATUS "${out}")
if(NOT PLANT)
  return()
endif()

# A velocity one ulp off at one input of block 200, its sixth as the
# sweep lists it, as a platform might give it: the comparison finds that
# block, and in it that input alone.
execute_process(COMMAND ${SWEEP} 1 ${stride} 200 list OUTPUT_VARIABLE inputs COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\n]+" inputs "${inputs}")
list(GET inputs 5 sixth)
string(REGEX REPLACE " .*" "" d "${sixth}")
execute_process(COMMAND ${SWEEP} 1 ${stride} 199 201 OUTPUT_VARIABLE clean COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${SWEEP} plant ${d} 1 ${stride} 199 201 OUTPUT_VARIABLE planted COMMAND_ERROR_IS_FATAL ANY)
file(WRITE "${WORK_DIR}/clean.txt" "${clean}")
file(WRITE "${WORK_DIR}/planted.txt" "${planted}")
execute_process(
    COMMAND "${PYTHON}" "${compare}" --stride ${stride} --reference-sweep "${command}"
            --sweep "${command} plant ${d}" "${WORK_DIR}/clean.txt" "${WORK_DIR}/planted.txt"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out
)
# The comparison names it in Python's hexadecimal, whose mantissa has all
# its digits: "0x1.0001980000000p-103" for the sweep's "0x1.000198p-103".
string(REGEX MATCHALL "\n  d [^\n]*" found "${out}")
list(LENGTH found count)
string(REGEX MATCH "^([^p]*)p(.*)$" parts "${d}")
string(REPLACE "." "\\." mantissa "${CMAKE_MATCH_1}")
string(REPLACE "+" "\\+" exponent "${CMAKE_MATCH_2}")
set(named "\\(${mantissa}0*p${exponent}\\)")
if(NOT rc EQUAL 1 OR NOT out MATCHES "1 differ\n" OR NOT count EQUAL 1 OR NOT found MATCHES "${named}")
  message(FATAL_ERROR "the planted ulp at ${d} was not found alone:\n${out}")
endif()
message(STATUS "the planted ulp at ${d}: found alone")
