# The style checks catch what they are for: in a small tree written here, a
# test that includes a higher folder fails the layer check with its file and
# line, and a file that differs from .clang-format fails the format check
# with its name. The tree with neither passes both.
#
#   cmake -DORV_SOURCE_DIR=<repo> -DORV_WORK_DIR=<scratch> -DORV_CLANG_FORMAT=<clang-format> -P CheckersCatch.cmake
cmake_minimum_required(VERSION 3.25)

set(tree "${ORV_WORK_DIR}/style-tree")
file(REMOVE_RECURSE "${tree}")
file(COPY "${ORV_SOURCE_DIR}/.clang-format" DESTINATION "${tree}")
file(WRITE "${tree}/world/Map.h" "#pragma once\n")
file(WRITE "${tree}/engine/Blit.h" "#pragma once\n")
file(WRITE "${tree}/tests/engine/BlitTest.cpp" "#include \"engine/Blit.h\"\n")
file(WRITE "${tree}/tests/world/ProvinceTest.cpp" "#include \"engine/Blit.h\"\n#include \"world/Map.h\"\n")

# check(<name> <script> <expect: pass|fail> <text the output must hold> [-D...])
function(check name script expect text)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DORV_SOURCE_DIR=${tree} ${ARGN} -P ${ORV_SOURCE_DIR}/cmake/${script}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(all "${out}${err}")
  if(expect STREQUAL "pass" AND NOT result EQUAL 0)
    message(FATAL_ERROR "${name}: should pass, failed:\n${all}")
  elseif(expect STREQUAL "fail" AND result EQUAL 0)
    message(FATAL_ERROR "${name}: should fail, passed:\n${all}")
  endif()
  string(FIND "${all}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${name}: the output lacks \"${text}\":\n${all}")
  endif()
endfunction()

set(layers -DORV_LAYERS=platform,engine,world)
set(format -DORV_CLANG_FORMAT=${ORV_CLANG_FORMAT})
check("clean tree, layers" CheckLayers.cmake pass "every include points down" ${layers})
check("clean tree, format" CheckFormat.cmake pass "follow .clang-format" ${format})

# A test of the engine that reaches up into the world.
file(APPEND "${tree}/tests/engine/BlitTest.cpp" "#include \"world/Map.h\"\n")
check("upward test include" CheckLayers.cmake fail
  "tests/engine/BlitTest.cpp:2: includes \"world/Map.h\"" ${layers})

# A source that differs from the style.
file(WRITE "${tree}/engine/Blit.h" "#pragma once\nint  x;\n")
check("unformatted file" CheckFormat.cmake fail "engine/Blit.h" ${format})

file(REMOVE_RECURSE "${tree}")
message("The style checks catch an upward include and an unformatted file")
