# Shared helpers for the project's libraries, tests, fuzz targets and benchmarks.

# orv_library(name SOURCES... [DEPS lib...])
function(orv_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # The folder libraries call each other (a message reaches the world, the
  # world posts messages): let the linker go round the circle often enough.
  set_property(TARGET ${name} PROPERTY LINK_INTERFACE_MULTIPLICITY 4)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# orv_folder_library(name [DEPS lib...]): the static library of a source
# folder, made of every .cpp file in it.
function(orv_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    orv_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
  else()
    # A folder with headers only so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
