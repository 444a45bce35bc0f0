# The release: its version is project()'s, in CMakeLists.txt, and nowhere
# else; its date is that of the changelog's newest entry
# (packaging/changelog), which a release adds with the version.  Gives
# release_epoch, the date in seconds since 1970 (the time every packed file
# carries), and release_day, the date as YYYY-MM-DD (the manual page's).
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/changelog" trailer REGEX "^ -- .*>  " LIMIT_COUNT 1)
file(STRINGS "${PROJECT_SOURCE_DIR}/packaging/changelog" heading REGEX "^absink \\(" LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- .*>  " "" release_date "${trailer}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog")
execute_process(
    COMMAND date -u -d "${release_date}" +%s
    OUTPUT_VARIABLE release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET
)
if(failed OR NOT release_epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "The changelog's newest entry has no date that date(1) reads: \"${trailer}\"")
endif()
# The changelog's newest entry is this version's: a release is not half made.
string(FIND "${heading}" "absink (${PROJECT_VERSION}) " at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "The changelog's newest entry is not version ${PROJECT_VERSION}'s: \"${heading}\"")
endif()
execute_process(
    COMMAND date -u -d "@${release_epoch}" +%Y-%m-%d
    OUTPUT_VARIABLE release_day OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY
)
