# Debian's hardening, as Debian builds its packages: what dpkg-buildflags
# gives with hardening=+all (stack protector, _FORTIFY_SOURCE=2, stack clash
# and control-flow protection, -z relro -z now) where dpkg is installed,
# else the same flags written once.  The optimisation and -g it would add
# are left to the build type: the build type's -O3 comes after them anyway,
# and the packages are stripped.  Programs are position-independent (PIE).
# The web page's WebAssembly takes none of it: emscripten has no stack
# protector's guard to link.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                "DEB_${kind}_MAINT_STRIP=-g -O2" "${DPKG_BUILDFLAGS}" --get ${kind}
        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY
    )
    separate_arguments(hardening_${kind} UNIX_COMMAND "${flags}")
  endforeach()
else()
  set(hardening_CPPFLAGS -D_FORTIFY_SOURCE=2)
  set(hardening_CFLAGS -fstack-protector-strong)
  set(hardening_CXXFLAGS -fstack-protector-strong)
  set(hardening_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
add_compile_options(
    ${hardening_CPPFLAGS}
    "$<$<COMPILE_LANGUAGE:C>:${hardening_CFLAGS}>"
    "$<$<COMPILE_LANGUAGE:CXX>:${hardening_CXXFLAGS}>"
)
add_link_options(${hardening_LDFLAGS})
message(STATUS "Hardening: ${hardening_CPPFLAGS} ${hardening_CXXFLAGS} ${hardening_LDFLAGS}")
