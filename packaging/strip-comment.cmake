# Run by cpack on the staged files before it packs them (the strip before
# it keeps .comment): removes the compiler's version string, .comment, from
# every program, shared object and static library, as Debian's dh_strip
# does, and leaves an archive's members without dates.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 8 HEX)
  # ELF's 7f "ELF", and an ar archive's "!<arch>\n".
  if(magic MATCHES "^7f454c46" OR magic STREQUAL "213c617263683e0a")
    execute_process(
        COMMAND "${CPACK_ABSINK_OBJCOPY}" --enable-deterministic-archives --remove-section=.comment "${file}"
        COMMAND_ERROR_IS_FATAL ANY
    )
  endif()
endforeach()
