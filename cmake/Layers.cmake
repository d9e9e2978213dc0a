# One static library per folder of src/, linked in one direction only. Each
# folder names the folders it builds on; a file that includes a header of any
# other folder fails the build (cmake/CheckLayer.cmake), since a shared
# include path alone would let such an include through.
#
#   luma_layer(<folder> [DEPENDS <folder>...] [LINK <library>...])
#
# makes the library luma_<folder> from src/<folder>/*.cpp (an interface
# library when the folder has headers only).
add_custom_target(luma_layer_check ALL)
set(LUMA_LAYERS "" CACHE INTERNAL "")

function(luma_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS;LINK")
  set(allowed ${folder})
  foreach(dep IN LISTS arg_DEPENDS)
    if(NOT TARGET luma_${dep})
      message(FATAL_ERROR "layer ${folder}: ${dep} must be declared before it")
    endif()
    get_property(dep_allowed GLOBAL PROPERTY luma_layer_allowed_${dep})
    list(APPEND allowed ${dep_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY luma_layer_allowed_${folder} ${allowed})

  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
  set(deps)
  foreach(dep IN LISTS arg_DEPENDS)
    list(APPEND deps luma_${dep})
  endforeach()
  if(sources)
    add_library(luma_${folder} STATIC ${sources})
    target_include_directories(luma_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(luma_${folder} PUBLIC ${deps} ${arg_LINK})
  else()
    add_library(luma_${folder} INTERFACE)
    target_include_directories(luma_${folder} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(luma_${folder} INTERFACE ${deps} ${arg_LINK})
  endif()

  set(stamp ${CMAKE_BINARY_DIR}/layers/${folder}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} "-DALLOWED=${allowed}"
      "-DFILES=${sources};${headers}" -DSTAMP=${stamp}
      -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    DEPENDS ${sources} ${headers} ${PROJECT_SOURCE_DIR}/cmake/CheckLayer.cmake
    COMMENT "Checking the includes of src/${folder}" VERBATIM)
  add_custom_target(luma_${folder}_includes DEPENDS ${stamp})
  add_dependencies(luma_layer_check luma_${folder}_includes)
  if(sources)
    add_dependencies(luma_${folder} luma_${folder}_includes)
  endif()
  set(LUMA_LAYERS ${LUMA_LAYERS} ${folder} CACHE INTERNAL "")
endfunction()
