# The documents as a reader meets them: the README and every Markdown file
# in doc/.
#
#  - Every relative link and image, Markdown's [text](target) and HTML's
#    src= and href=, names a file that exists, and its #anchor a heading
#    of that file, by the anchors GitHub gives headings: lower case, the
#    punctuation dropped, blanks as hyphens, a repeated one numbered -1,
#    -2.  Code, fenced and inline, holds no links.
#  - The README stays short enough to read in minutes: at most 200 lines.
#  - Each "$ absink ARGS" in a console block is followed by what the
#    program prints for ARGS (in LF; the manual page's examples check the
#    line ends).
#
#	cmake -D SOURCE_DIR=... -D ABSINK="[emulator;]path/to/absink" -P documents_test.cmake
cmake_minimum_required(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/harness.cmake")

file(GLOB documents "${SOURCE_DIR}/doc/*.md")
list(PREPEND documents "${SOURCE_DIR}/README.md")

set(failures "")
macro(fail what)
  string(APPEND failures "${what}\n")
endmacro()

# unfenced(file): a document's text without its fenced code blocks, in
# "text".
function(unfenced file)
  file(READ "${file}" text)
  string(REGEX REPLACE "\n *```[^\n]*\n([^`]|`[^`]|``[^`])*```" "\n" text "${text}")
  set(text "${text}" PARENT_SCOPE)
endfunction()

# anchors(file): the anchors of a Markdown file's headings, in "anchors".
# Fenced code may hold lines that start with #, which are no headings; a
# heading's inline code counts.
function(anchors file)
  unfenced("${file}")
  string(REGEX MATCHALL "(^|\n)#+ [^\n]+" headings "${text}")
  set(result "")
  foreach(heading IN LISTS headings)
    string(REGEX REPLACE "^\n?#+ " "" slug "${heading}")
    string(TOLOWER "${slug}" slug)
    foreach(mark IN ITEMS "`" "." "," ":" ";" "!" "?" "'" "\"" "(" ")" "[" "]" "{" "}" "/" "\\" "*" "&"
                          "+" "=" "<" ">" "|" "#" "$" "%" "@" "^" "~")
      string(REPLACE "${mark}" "" slug "${slug}")
    endforeach()
    string(REPLACE " " "-" slug "${slug}")
    set(anchor "${slug}")
    set(n 0)
    while(anchor IN_LIST result)
      math(EXPR n "${n} + 1")
      set(anchor "${slug}-${n}")
    endwhile()
    list(APPEND result "${anchor}")
  endforeach()
  set(anchors "${result}" PARENT_SCOPE)
endfunction()

set(links 0)
foreach(document IN LISTS documents)
  file(RELATIVE_PATH name "${SOURCE_DIR}" "${document}")
  get_filename_component(folder "${document}" DIRECTORY)
  unfenced("${document}")
  string(REGEX REPLACE "`[^`\n]*`" "" text "${text}")
  # A bracket would split CMake's lists elsewhere than at the links.
  string(REPLACE "](" "<link>(" text "${text}")
  string(REGEX MATCHALL "<link>\\([^)\n]+\\)|(src|href)=\"[^\"\n]+\"" targets "${text}")
  foreach(target IN LISTS targets)
    string(REGEX REPLACE "<link>\\(|(src|href)=\"|\\)|\"" "" target "${target}")
    if(target MATCHES "^[a-z]+:")
      continue() # an address on the web: not ours to check offline
    endif()
    math(EXPR links "${links} + 1")
    string(REGEX REPLACE "#.*" "" path "${target}")
    set(anchor "")
    if(target MATCHES "#(.*)")
      set(anchor "${CMAKE_MATCH_1}")
    endif()
    if(path STREQUAL "")
      set(path "${document}")
    else()
      set(path "${folder}/${path}")
    endif()
    if(NOT EXISTS "${path}")
      fail("${name}: ${target}: no such file")
    elseif(NOT anchor STREQUAL "")
      anchors("${path}")
      if(NOT anchor IN_LIST anchors)
        fail("${name}: ${target}: no such heading (there are: ${anchors})")
      endif()
    endif()
  endforeach()
endforeach()
if(links LESS 40)
  fail("only ${links} relative links found: is the link pattern still right?")
endif()

file(READ "${SOURCE_DIR}/README.md" text)
string(REGEX MATCHALL "\n" lines "${text}")
list(LENGTH lines count)
if(count GREATER 200)
  fail("README.md has ${count} lines, more than 200")
endif()

# The program's examples: "$ absink ARGS" and what follows it up to the
# next "$ " or the end of the block.
set(examples 0)
foreach(document IN LISTS documents)
  file(RELATIVE_PATH name "${SOURCE_DIR}" "${document}")
  file(READ "${document}" text)
  string(REGEX MATCHALL "```console\n([^`]|`[^`]|``[^`])*```" blocks "${text}")
  foreach(block IN LISTS blocks)
    string(REGEX REPLACE "^```console\n|```$" "" block "${block}")
    string(REGEX MATCHALL "\\$ [^\n]*\n([^$][^\n]*\n|\n)*" runs "${block}")
    foreach(run IN LISTS runs)
      if(NOT run MATCHES "^\\$ absink( [^\n<>|;&]*)?\n")
        continue()
      endif()
      # (Not REGEX REPLACE with ^, which CMake applies again and again.)
      string(FIND "${run}" "\n" end)
      string(SUBSTRING "${run}" 0 ${end} arguments)
      string(SUBSTRING "${arguments}" 8 -1 arguments)
      math(EXPR end "${end} + 1")
      string(SUBSTRING "${run}" ${end} -1 want)
      separate_arguments(arguments UNIX_COMMAND "${arguments}")
      run(${ABSINK} ${arguments})
      string(REPLACE "\r\n" "\n" out "${out}")
      if(NOT out STREQUAL want)
        list(JOIN arguments " " arguments)
        fail("${name}: absink ${arguments} prints:\n${out}not as the document says:\n${want}")
      endif()
      math(EXPR examples "${examples} + 1")
    endforeach()
  endforeach()
endforeach()
if(examples LESS 2)
  fail("only ${examples} examples of absink found in the documents")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "${links} links and ${examples} examples in ${count} README lines: ok")
