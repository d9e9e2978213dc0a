# libFuzzer targets (clang, preset "fuzz"), one per parser of outside text:
# tests/fuzz/<name>.cpp with its seed corpus in tests/fuzz/corpus/<name>/.
# ctest replays each corpus once (fuzz.<name>.corpus); scripts/fuzz.sh fuzzes.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "LUMA_FUZZ needs clang (preset fuzz)")
endif()
# The core is instrumented for coverage; LUMA_SANITIZE adds ASan and UBSan.
foreach(layer IN LISTS LUMA_CORE_LAYERS)
  if(TARGET luma_${layer})
    get_target_property(type luma_${layer} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      target_compile_options(luma_${layer} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endif()
endforeach()
enable_testing()
file(GLOB luma_fuzz_sources CONFIGURE_DEPENDS tests/fuzz/*.cpp)
foreach(source IN LISTS luma_fuzz_sources)
  get_filename_component(name ${source} NAME_WE)
  add_executable(fuzz_${name} ${source})
  target_include_directories(fuzz_${name} PRIVATE tests/unit)
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_${name} PRIVATE lumacore)
  add_test(NAME fuzz.${name}.corpus
    COMMAND fuzz_${name} -runs=0 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
endforeach()
