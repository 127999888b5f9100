# cmake -DROOT=<source root> -DLAYER=<folder> -DALLOWED=<folders> [-DSOURCES=<files>] [-DSTAMP=<file>]
#       -P CheckIncludes.cmake
# Fails, naming the file, the line and the rule, when a source of LAYER (or of SOURCES, paths
# from ROOT, when given) includes a header of a project folder outside ALLOWED (the layer itself
# and the layers below it).
cmake_minimum_required(VERSION 3.25)

if(SOURCES)
  set(sources ${SOURCES})
else()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${LAYER}/*.cpp ${ROOT}/${LAYER}/*.h)
endif()
list(JOIN ALLOWED ", " allowed_text)
set(failures "")
foreach(source IN LISTS sources)
  file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    # Only paths into the project's own folders are governed; Qt's and generated ones are not.
    if(NOT header MATCHES "/" OR NOT EXISTS ${ROOT}/${header})
      continue()
    endif()
    set(permitted FALSE)
    foreach(folder IN LISTS ALLOWED)
      string(LENGTH "${folder}/" length)
      string(SUBSTRING "${header}" 0 ${length} prefix)
      if(prefix STREQUAL "${folder}/")
        set(permitted TRUE)
      endif()
    endforeach()
    if(NOT permitted)
      string(APPEND failures
        "${source}: includes \"${header}\", but ${LAYER}/ may include only its own headers and those "
        "of the layers below it (${allowed_text})\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Layering rule broken:\n${failures}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
