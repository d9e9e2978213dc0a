# The program's version resource, from the project version, and the package
# tests: scripts/package.sh writes dist/, tests/package/ checks it, reading the
# version resource back under Wine with versioninfo.exe (64-bit build).
configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/lumatype_version.h @ONLY)
target_include_directories(lumatype PRIVATE ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(res/lumatype.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/lumatype_version.h)

if(LUMA_TESTS AND LUMA_RUN_WINE_TESTS AND CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_executable(versioninfo tests/package/versioninfo.cpp)
  target_link_libraries(versioninfo PRIVATE version)
  target_link_options(versioninfo PRIVATE -municode)

  set(luma_package_tests ${CMAKE_SOURCE_DIR}/tests/package)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${luma_package_tests}/test_package.py)
  execute_process(COMMAND python3 test_package.py --list WORKING_DIRECTORY ${luma_package_tests}
    OUTPUT_VARIABLE luma_package_ids RESULT_VARIABLE luma_list_status)
  if(NOT luma_list_status EQUAL 0)
    message(FATAL_ERROR "cannot list the package tests (tests/package/test_package.py)")
  endif()
  string(REPLACE "\n" ";" luma_package_ids "${luma_package_ids}")
  foreach(id IN LISTS luma_package_ids)
    if(NOT id STREQUAL "")
      add_test(NAME package.${id} COMMAND python3 -m unittest -v ${id}
        WORKING_DIRECTORY ${luma_package_tests})
      set_tests_properties(package.${id} PROPERTIES TIMEOUT 300
        SKIP_REGULAR_EXPRESSION "OK \\(skipped="
        ENVIRONMENT "LUMA_BUILD_DIR=${CMAKE_BINARY_DIR};LUMA_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
    endif()
  endforeach()
endif()
