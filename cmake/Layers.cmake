# Layers: folders that are build targets and include only the layers below them.
#   scrivane_layer(TARGET [USES layer...])
#       The current folder is a layer built as TARGET (declared before). TARGET links the
#       layers it USES, and the folder's sources (subfolders too) may include project headers
#       only from its own folder and from the folders those layers may include from. A check
#       at build time, rerun whenever a file of the folder changes, fails the build on any
#       other project include.
#   scrivane_link_unit(TARGET UNIT)
#       Every program linking TARGET links the source file of TARGET marked with
#       VCL_UNIT_LINKED(UNIT) (classlib/rtl/UnitInit.h), and so runs that unit's start-up,
#       even when its code names nothing of that file.
#   scrivane_layer_group(NAME layer...)
#       An interface target NAME standing for several layers (linking them all); a layer that
#       USES it may include from all of them.
# Only quoted includes with a folder part are checked, and only when their first folder is a
# folder of this repository ("classlib/forms/Forms.h"); a name without a folder is the
# folder's own (a generated file, a neighbouring header).
set(SCRIVANE_CHECK_LAYER ${CMAKE_CURRENT_LIST_DIR}/CheckLayer.cmake)

function(_scrivane_layer_allowed out)
  set(allowed "")
  foreach(dep IN LISTS ARGN)
    get_property(known GLOBAL PROPERTY SCRIVANE_LAYER_${dep} SET)
    if(NOT known)
      message(FATAL_ERROR "${dep} is not a layer (declare it with scrivane_layer first)")
    endif()
    get_property(dep_allowed GLOBAL PROPERTY SCRIVANE_LAYER_${dep})
    list(APPEND allowed ${dep_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set(${out} ${allowed} PARENT_SCOPE)
endfunction()

function(scrivane_layer target)
  cmake_parse_arguments(L "" "" "USES" ${ARGN})
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  _scrivane_layer_allowed(allowed ${L_USES})
  list(PREPEND allowed ${folder})
  set_property(GLOBAL PROPERTY SCRIVANE_LAYER_${target} ${allowed})
  get_target_property(type ${target} TYPE)
  if(L_USES AND type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${target} INTERFACE ${L_USES})
  elseif(L_USES)
    target_link_libraries(${target} PUBLIC ${L_USES})
  endif()

  file(GLOB_RECURSE files CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.rc)
  list(JOIN allowed "," allowed_text)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DFOLDER=${folder} -DLAYER=${target}
            -DALLOWED=${allowed_text} -DSTAMP=${stamp} -P ${SCRIVANE_CHECK_LAYER}
    DEPENDS ${files} ${SCRIVANE_CHECK_LAYER}
    COMMENT "Checking the includes of ${folder}"
    VERBATIM)
  add_custom_target(${target}_layer_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_layer_check)
endfunction()

function(scrivane_link_unit target unit)
  target_link_options(${target} INTERFACE "LINKER:--undefined=vcl_unit_${unit}")
endfunction()

function(scrivane_layer_group name)
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${ARGN})
  _scrivane_layer_allowed(allowed ${ARGN})
  set_property(GLOBAL PROPERTY SCRIVANE_LAYER_${name} ${allowed})
endfunction()
