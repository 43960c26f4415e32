# Fails when a source differs from the project's .clang-format style.
#
#   cmake -DORV_SOURCE_DIR=<tree> -DORV_CLANG_FORMAT=<clang-format> -P CheckFormat.cmake
#
# Every .h and .cpp file of the source folders and the tests is checked; the
# files that differ are named (clang-format -i fixes them).
cmake_minimum_required(VERSION 3.25)

if(NOT ORV_SOURCE_DIR OR NOT ORV_CLANG_FORMAT)
  message(FATAL_ERROR "CheckFormat: ORV_SOURCE_DIR and ORV_CLANG_FORMAT are needed")
endif()

file(GLOB folders LIST_DIRECTORIES true "${ORV_SOURCE_DIR}/*")
set(sources)
foreach(folder IN LISTS folders)
  get_filename_component(name "${folder}" NAME)
  if(NOT IS_DIRECTORY "${folder}" OR name MATCHES "^(build|\\..*)$")
    continue()
  endif()
  file(GLOB_RECURSE found "${folder}/*.h" "${folder}/*.cpp")
  list(APPEND sources ${found})
endforeach()
list(SORT sources)

# One clang-format run over every file; its complaints start with the path.
execute_process(COMMAND "${ORV_CLANG_FORMAT}" --dry-run --Werror ${sources}
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE complaints)
set(unformatted)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: (error|warning)" lines "${complaints}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: (error|warning)$" "" path "${line}")
    file(RELATIVE_PATH relative "${ORV_SOURCE_DIR}" "${path}")
    list(APPEND unformatted "${relative}")
  endforeach()
  list(REMOVE_DUPLICATES unformatted)
  if(NOT unformatted)
    message(FATAL_ERROR "clang-format failed:\n${complaints}")
  endif()
endif()

if(unformatted)
  list(LENGTH unformatted count)
  list(JOIN unformatted "\n  " names)
  message(FATAL_ERROR "${count} file(s) differ from .clang-format (clang-format -i fixes them):\n  ${names}")
endif()
list(LENGTH sources count)
message("Format: ${count} files follow .clang-format")
