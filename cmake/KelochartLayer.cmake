# Each folder of src/ is one layer of the library, built as an object library of its own.
# A layer's include path is a folder of links made here, <build>/layers/<layer>/, holding
# its own folder and those of the layers it may use (private sources under "<layer>/",
# public headers under "kelochart/<layer>/"), so an include that runs upward does not
# compile. The layers each one may use are written once, in the call in src/<layer>/, and
# the dependency check of the test suite (cmake/CheckLayers.cmake) reads the same table.
define_property(GLOBAL PROPERTY KELOCHART_LAYER_OBJECTS
  BRIEF_DOCS "object files of every layer" FULL_DOCS "object files of every layer")

# kelochart_layer(<name> [USES <lower layer>...])
function(kelochart_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "USES")
  set(root ${PROJECT_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/kelochart)
  foreach(seen IN ITEMS ${name} ${LAYER_USES})
    # Links to folders that do not exist yet are harmless and start working once they do.
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${seen} ${root}/${seen} SYMBOLIC)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/include/kelochart/${seen} ${root}/kelochart/${seen} SYMBOLIC)
  endforeach()
  file(APPEND ${PROJECT_BINARY_DIR}/layers/table.cmake "set(KELOCHART_USES_${name} \"${LAYER_USES}\")\n")
  set_property(GLOBAL APPEND PROPERTY KELOCHART_LAYERS ${name})

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()  # a header-only layer, or one not written yet
  endif()
  add_library(kelochart_${name} OBJECT ${sources})
  target_include_directories(kelochart_${name} PRIVATE ${root})
  target_compile_features(kelochart_${name} PRIVATE cxx_std_20)
  target_link_libraries(kelochart_${name} PRIVATE kelochart_warnings)
  set_target_properties(kelochart_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  foreach(used IN LISTS LAYER_USES)
    if(TARGET kelochart_${used})
      target_link_libraries(kelochart_${name} PRIVATE kelochart_${used})
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY KELOCHART_LAYER_OBJECTS $<TARGET_OBJECTS:kelochart_${name}>)
endfunction()
