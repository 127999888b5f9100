# cmake -DCHECK=<CheckIncludes.cmake> -DWORK=<scratch folder> -P PlantedInclude.cmake
# The include check the build runs before each library: it lets a layer include itself and the
# layers below, and refuses an upper layer's header by file and rule.
cmake_minimum_required(VERSION 3.25)

function(check_data_layer out_result out_error)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -DLAYER=data "-DALLOWED=data;core" -P ${CHECK}
                  RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_error} "${error}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/core/Lower.h "#pragma once\n")
file(WRITE ${WORK}/app/cli/Upper.h "#pragma once\n")
file(WRITE ${WORK}/data/Clean.h "#pragma once\n#include \"core/Lower.h\"\n")
file(WRITE ${WORK}/data/Clean.cpp "#include \"data/Clean.h\"\n#include <QString>\n#include \"moc_Clean.cpp\"\n")

check_data_layer(result error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "a layer including only itself and the layers below was refused:\n${error}")
endif()

file(WRITE ${WORK}/data/Planted.cpp "#include \"data/Clean.h\"\n  #  include \"app/cli/Upper.h\"\n")
check_data_layer(result error)
if(result EQUAL 0)
  message(FATAL_ERROR "an include of app/cli/ from data/ passed the check")
endif()
if(NOT error MATCHES "data/Planted.cpp: includes \"app/cli/Upper.h\"" OR NOT error MATCHES "Layering rule broken")
  message(FATAL_ERROR "the refusal does not name the file and the rule:\n${error}")
endif()
if(error MATCHES "Clean")
  message(FATAL_ERROR "the refusal blames a file that keeps the rule:\n${error}")
endif()
