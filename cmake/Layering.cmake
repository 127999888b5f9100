# The layers of the program and the rules the build enforces on them:
#  - a library includes only its own headers and those of the libraries it links (the layers
#    below it); a library outside gui/ never links QtWidgets or QtPrintSupport.
# Every library declares its folder with tz4_layer(); tz4_enforce_layers() at the end of the
# top-level file turns the link graph into include paths and checks.
#
# Each library compiles against its own include root under build/layers/<target>/, which holds
# links to the folders it may use and nothing else, so the spelling "layer/File.h" stays the
# same everywhere. A check run before the library compiles names a forbidden include and the
# rule it breaks, rather than leaving the compiler's "file not found".

set(TZ4_CHECK_INCLUDES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake)

# tz4_layer(<target> <folder>): <target> is the library built from <folder> (relative to the
# source root, e.g. "data" or "gui").
# tz4_layer(target folder [OWN_SOURCES]): OWN_SOURCES checks only the target's own sources, for
# a library that takes a part of a folder another library of wider reach shares.
function(tz4_layer target folder)
  set_property(TARGET ${target} PROPERTY TZ4_FOLDER ${folder})
  if("OWN_SOURCES" IN_LIST ARGN)
    set_property(TARGET ${target} PROPERTY TZ4_OWN_SOURCES ON)
  endif()
  set_property(GLOBAL APPEND PROPERTY TZ4_LAYERS ${target})
  # moc looks at a library again only when one of its directory's list files or known sources
  # changes; a file that a glob adds (a new header, a checkout) changes none of them. Making the
  # source list itself a list file of the directory lets moc see new headers.
  get_target_property(sources ${target} SOURCES)
  list(JOIN sources "\n# " listed)
  set(listing ${PROJECT_BINARY_DIR}/layers/${target}.sources.cmake)
  file(CONFIGURE OUTPUT ${listing} CONTENT "# ${listed}\n")
  include(${listing})
endfunction()

# Every target `target` links, directly or through other targets, into `out`.
function(_tz4_collect_links target out)
  set(seen "${${out}}")
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(NOT libs)
    set(libs "")
  endif()
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  if(ilibs)
    list(APPEND libs ${ilibs})
  endif()
  foreach(lib IN LISTS libs)
    if(lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    if(TARGET ${lib})
      _tz4_collect_links(${lib} seen)
    endif()
  endforeach()
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

function(_tz4_forbid_widgets target links)
  foreach(lib IN LISTS links)
    if(lib MATCHES "Widgets|PrintSupport")
      message(FATAL_ERROR "${target} must not link ${lib}: only the gui/ library and the programs in app/ may")
    endif()
  endforeach()
endfunction()

# Every library target below `dir`, into `out`.
function(_tz4_libraries dir out)
  set(found "${${out}}")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC|SHARED)_LIBRARY$")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _tz4_libraries(${subdir} found)
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(tz4_enforce_layers)
  get_property(layers GLOBAL PROPERTY TZ4_LAYERS)
  # A program library without a layer would compile without any include path to the others.
  set(libraries "")
  _tz4_libraries(${PROJECT_SOURCE_DIR} libraries)
  foreach(target IN LISTS libraries)
    get_target_property(folder ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${folder})
    if(NOT target IN_LIST layers AND NOT folder MATCHES "^(tests|bench)")
      message(FATAL_ERROR "${target} (in ${folder}/) has no layer: add tz4_layer(${target} <folder>) after its add_library")
    endif()
  endforeach()
  foreach(target IN LISTS layers)
    get_target_property(own ${target} TZ4_FOLDER)
    set(links "")
    _tz4_collect_links(${target} links)
    if(NOT own MATCHES "^gui")
      _tz4_forbid_widgets(${target} "${links}")
    endif()

    set(allowed ${own})
    foreach(lib IN LISTS links)
      if(TARGET ${lib})
        get_target_property(folder ${lib} TZ4_FOLDER)
        if(folder)
          list(APPEND allowed ${folder})
        endif()
      endif()
    endforeach()
    list(REMOVE_DUPLICATES allowed)

    set(root ${PROJECT_BINARY_DIR}/layers/${target})
    file(REMOVE_RECURSE ${root})
    foreach(folder IN LISTS allowed)
      get_filename_component(parent ${root}/${folder} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PRIVATE ${root})

    get_target_property(sources ${target} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.(cpp|h)$")
    set(stamp ${PROJECT_BINARY_DIR}/layers/${target}.checked)
    set(only "")
    get_target_property(own_sources ${target} TZ4_OWN_SOURCES)
    if(own_sources)
      foreach(source IN LISTS sources)
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${source})
        list(APPEND only ${relative})
      endforeach()
    endif()
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DLAYER=${own} "-DALLOWED=${allowed}"
              "-DSOURCES=${only}" -DSTAMP=${stamp} -P ${TZ4_CHECK_INCLUDES_SCRIPT}
      DEPENDS ${sources} ${TZ4_CHECK_INCLUDES_SCRIPT}
      COMMENT "Checking the includes of ${own}/"
      VERBATIM)
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_dependencies(${target} ${target}_includes)
  endforeach()
endfunction()
