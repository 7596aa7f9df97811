# One library per source folder, named after it (src/region/core -> region_core). A library sees
# only its own folder's headers and those of the libraries it uses: each gets an include folder
# of links to exactly those, so code that reaches a layer it may not use fails to build.
#
#   tivolu_layer(FOLDER [USES FOLDER...] [SYSTEM LIB...] [EXCLUDE FILE...] [SUFFIX S] [OPTIONS O...])
#
# SUFFIX names a variant (the host's sanitizer build), linked to the same variant of its uses.
function(tivolu_layer folder)
  cmake_parse_arguments(ARG "" "SUFFIX" "USES;SYSTEM;EXCLUDE;OPTIONS" ${ARGN})
  string(REPLACE "/" "_" name "${folder}")
  set(target ${name}${ARG_SUFFIX})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/src/${excluded})
  endforeach()
  set(view ${CMAKE_BINARY_DIR}/layers/${name})
  get_filename_component(parent ${view}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${view}/${folder} SYMBOLIC)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${view})
  target_compile_options(${target} PRIVATE ${WARNINGS} ${ARG_OPTIONS})
  foreach(use ${ARG_USES})
    string(REPLACE "/" "_" used "${use}")
    target_link_libraries(${target} PUBLIC ${used}${ARG_SUFFIX})
  endforeach()
  target_link_libraries(${target} PUBLIC ${ARG_SYSTEM})
endfunction()

# The Windows-free layers, built for both targets.
macro(tivolu_core_layers)
  tivolu_layer(framework/core ${ARGN})
  tivolu_layer(region/core USES framework/core ${ARGN})
  tivolu_layer(app/core ${ARGN})
  tivolu_layer(controls/core ${ARGN})
  tivolu_layer(settings/core USES framework/core ${ARGN})
endmacro()
