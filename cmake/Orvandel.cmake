# Shared helpers for the project's libraries, tests, fuzz targets and benchmarks.

# orv_link_folders(target scope lib...): links the folder libraries whole, so
# that the registrations an upper folder makes in its files (broadcast
# receivers, saved-game blocks, hooks) are in every program that links it,
# whether or not the program names anything of those files.
function(orv_link_folders target scope)
  foreach(lib IN LISTS ARGN)
    if(lib IN_LIST ORV_LAYERS)
      target_link_libraries(${target} ${scope} "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
    else()
      target_link_libraries(${target} ${scope} ${lib})
    endif()
  endforeach()
endfunction()

# orv_folder_library(name [DEPS external...]): the static library of a source
# folder, made of every .cpp file in it. It links the library of the nearest
# folder below it in ORV_LAYERS, and through that one every lower folder;
# DEPS names outside libraries only.
function(orv_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  list(FIND ORV_LAYERS ${name} rank)
  if(rank LESS 0)
    message(FATAL_ERROR "${name} is not a folder of ORV_LAYERS")
  endif()
  set(below)
  while(rank GREATER 0 AND NOT below)
    math(EXPR rank "${rank} - 1")
    list(GET ORV_LAYERS ${rank} candidate)
    if(TARGET ${candidate})
      set(below ${candidate})
    endif()
  endwhile()

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    set(scope PUBLIC)
  else()
    # A folder with headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    set(scope INTERFACE)
  endif()
  orv_link_folders(${name} ${scope} ${below} ${ARG_DEPS})
endfunction()
