# What the install and package tests share: running a command, the output
# every example prints, and the names the library exports.

# run(COMMAND...): runs a command in a test script, fails the test with the
# command and its output when it fails, and leaves its standard output in
# "out": what is compared is what the command prints, not the warnings a
# library may write on standard error (distributed's about a busy port).
function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGV}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# What every example prints: w, Nre, vs and the aerodynamic diameter of
# (100 um, 1 g/cm^3) and of (100 um, 2.65 g/cm^3).
set(example_output "49.9100 1.7225 25.1831 100.0000\n132.2615 3.9537 57.8029 173.8736\n")

# expect_example_output(what): "out" must be what every example prints.
function(expect_example_output what)
  if(NOT out STREQUAL example_output)
    message(FATAL_ERROR "${what} printed:\n${out}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

# expect_report(what): "out" must be the report of absink 100 1, to its
# last line, in LF or CR LF.
function(expect_report what)
  if(NOT out MATCHES "\nvs \\(in cm/s\\)       :   25\\.1831\r?\n$")
    message(FATAL_ERROR "${what} printed:\n${out}")
  endif()
endfunction()

# expect_exports(library names...): the names a shared library exports,
# sorted, must be the API's and no more.
function(expect_exports library)
  list(SORT ARGN)
  if(NOT ARGN STREQUAL "best_number;reynolds_number;sedimentation_aerodynamic_diameter;sedimentation_class_split;sedimentation_compute;sedimentation_particle_size_class;sedimentation_report_verdict;sedimentation_reported_velocity;sedimentation_settling_diameter;sedimentation_size_class;sedimentation_split_message;sedimentation_velocity")
    message(FATAL_ERROR "${library} exports more or less than the API: ${ARGN}")
  endif()
endfunction()
