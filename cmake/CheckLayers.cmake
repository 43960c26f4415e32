# Fails when a source includes a header of a higher layer.
#
#   cmake -DORV_SOURCE_DIR=<tree> -DORV_LAYERS=platform,engine,... -P CheckLayers.cmake
#
# A folder may include its own headers and those of the folders before it in
# ORV_LAYERS. A test folder tests/<folder>/ keeps to <folder>'s place;
# tests/e2e, tests/fuzz and tests/bench drive the whole program and may
# include any folder. Every violation is named with its file and line.
cmake_minimum_required(VERSION 3.25)

if(NOT ORV_SOURCE_DIR OR NOT ORV_LAYERS)
  message(FATAL_ERROR "CheckLayers: ORV_SOURCE_DIR and ORV_LAYERS are needed")
endif()

string(REPLACE "," ";" ORV_LAYERS "${ORV_LAYERS}")
set(whole_program_tests e2e fuzz bench)
# The programs in tools/ that link the game's folders keep to the highest
# folder they link, and so do their tests in tests/tools/<program>/: the map
# viewer to world, the long runs to ai.
set(tool_layers "viewer=world" "longrun=ai")

# tool_layer(<program> <out>): the folder the tool keeps to, or "".
function(tool_layer program out)
  set(layer "")
  foreach(entry IN LISTS tool_layers)
    if(entry MATCHES "^${program}=(.+)$")
      set(layer "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# rank_of(<folder> <out>): the folder's place in the order, or -1.
function(rank_of folder out)
  list(FIND ORV_LAYERS "${folder}" rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()

set(sources)
foreach(folder IN LISTS ORV_LAYERS ITEMS tests tools)
  if(IS_DIRECTORY "${ORV_SOURCE_DIR}/${folder}")
    file(GLOB_RECURSE found "${ORV_SOURCE_DIR}/${folder}/*.h" "${ORV_SOURCE_DIR}/${folder}/*.cpp")
    list(APPEND sources ${found})
  endif()
endforeach()
list(SORT sources)

set(violations 0)
foreach(path IN LISTS sources)
  file(RELATIVE_PATH relative "${ORV_SOURCE_DIR}" "${path}")
  string(REPLACE "/" ";" parts "${relative}")
  list(LENGTH parts depth)
  list(GET parts 0 folder)
  if(folder STREQUAL "tests")
    if(depth LESS 3)
      continue() # the tests' own support files
    endif()
    list(GET parts 1 folder)
    if(folder IN_LIST whole_program_tests)
      continue()
    endif()
    if(folder STREQUAL "tools" AND depth GREATER 3)
      list(GET parts 2 program)
      tool_layer("${program}" folder)
    endif()
  elseif(folder STREQUAL "tools")
    set(program "")
    if(depth GREATER 2)
      list(GET parts 1 program)
    endif()
    tool_layer("${program}" folder)
  endif()
  rank_of("${folder}" own_rank)
  if(own_rank LESS 0)
    continue()
  endif()

  file(STRINGS "${path}" lines)
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included "${CMAKE_MATCH_1}")
    string(REPLACE "/" ";" included_parts "${included}")
    list(GET included_parts 0 included_folder)
    if(included_folder STREQUAL "tests")
      list(LENGTH included_parts included_depth)
      if(included_depth LESS 3)
        continue()
      endif()
      list(GET included_parts 1 included_folder)
    endif()
    rank_of("${included_folder}" included_rank)
    if(included_rank GREATER own_rank)
      message("${relative}:${line_number}: includes \"${included}\": ${included_folder}/ lies above ${folder}/")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) of a higher layer; the order is ${ORV_LAYERS} (see HACKING.md)")
endif()
message("Layers: every include points down (${ORV_LAYERS})")
