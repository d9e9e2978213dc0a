# The Win32 tests (GoogleTest) and the end-to-end tests of a Windows build,
# run under Wine through scripts/wine-run.sh. Every test case is a ctest test
# of its own. The Win32 tests share the test run's display and prefix (focus,
# key state, the registry), so they take the lock luma_wine_session and run
# one at a time, beside tests that do not take it.
# Debian's python3 (scripts/setup.sh) runs the test scripts: one found first
# on PATH may be a shim that costs a good part of a second per start.
find_program(LUMA_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(LUMA_PYTHON python3 REQUIRED)
set(LUMA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest sources, built here with the Windows compiler")
add_subdirectory(${LUMA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB LUMA_WIN32_TESTS CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32_tests ${LUMA_WIN32_TESTS})
# Its own main (tests/win32/Main.cpp): it can run the emulated suites alone.
target_link_libraries(win32_tests PRIVATE luma_app gtest)
# The fakes of the settings are shared with the unit tests.
target_include_directories(win32_tests PRIVATE tests/unit)
# Every test file starts with these two, a third of its compile time. The
# tests and GoogleTest are not optimised: their speed does not matter, and
# optimising them is most of the build. The code under test keeps the
# build's flags, so the tests run the program's code as it ships.
target_precompile_headers(win32_tests PRIVATE <windows.h> <gtest/gtest.h>)
target_compile_options(gtest PRIVATE -O0)
target_compile_options(win32_tests PRIVATE -O0)
# The render test leaves one picture per color scheme here.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/artefacts)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  # Reads the windows of the end-to-end tests (of both builds) inside Wine.
  add_executable(probe tests/e2e/probe.cpp)
  # The accessible object of its drawn password field is the Win32 tests' one.
  target_include_directories(probe PRIVATE tests/win32)
  target_link_libraries(probe PRIVATE user32 gdi32 psapi ole32 oleaut32 oleacc)
  # The program's keyboard model under the session's layout: what each key shows.
  add_executable(keymodel tests/e2e/keymodel.cpp)
  target_include_directories(keymodel PRIVATE tests/win32)
  target_link_libraries(keymodel PRIVATE luma_win32 lumacore)
  # How the Win32 tests and the end-to-end tests report each case of a group run once.
  add_test(NAME scripts.groupcases COMMAND ${LUMA_PYTHON} -m unittest test_groupcases
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/scripts)
endif()

execute_process(COMMAND ${LUMA_WINE_LOADER} --version RESULT_VARIABLE luma_wine_status
  OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
# Where 32-bit code runs only under qemu (scripts/setup.sh), every 32-bit
# Wine process takes ~40 s to start: there only the suites marked
# LUMA_EMULATED_SUITE in their own files (key injection and drawing) run, in
# one process, as one ctest test. The program selects them itself and refuses
# to run when a mark has no case or nothing is marked; every whole run of the
# program checks the marks too (EmulatedSuitesTest).
set(luma_emulated OFF)
if(LUMA_WINE_OPTIONAL AND EXISTS /proc/sys/fs/binfmt_misc/qemu-i386)
  file(READ /proc/sys/fs/binfmt_misc/qemu-i386 luma_qemu_handler)
  if(luma_qemu_handler MATCHES "^enabled")
    set(luma_emulated ON)
  endif()
endif()
set(luma_win32_env "LUMA_ARTEFACT_DIR=${CMAKE_BINARY_DIR}/artefacts")
if(luma_wine_status EQUAL 0 AND luma_emulated)
  message(STATUS "32-bit code runs under qemu here: only the key injection and drawing tests")
  add_test(NAME win32_tests.key_injection_and_drawing COMMAND win32_tests
    --emulated-suites-only)
  # A selection that matches nothing is no pass, whatever the program said.
  set_tests_properties(win32_tests.key_injection_and_drawing PROPERTIES TIMEOUT 900
    ENVIRONMENT "${luma_win32_env}" RESOURCE_LOCK luma_wine_session
    FAIL_REGULAR_EXPRESSION "\\[==========\\] 0 tests from")
elseif(luma_wine_status EQUAL 0 OR NOT LUMA_WINE_OPTIONAL)
  # Listed when ctest starts (cmake/Win32Cases.cmake): Wine needs the test
  # session's prefix and display.
  set(luma_cases_include ${CMAKE_BINARY_DIR}/win32_tests_cases.cmake)
  file(WRITE ${luma_cases_include}
    "set(luma_python [==[${LUMA_PYTHON}]==])\n"
    "set(luma_cases_script [==[${CMAKE_SOURCE_DIR}/scripts/gtest-case.py]==])\n"
    "set(luma_exe [==[${CMAKE_BINARY_DIR}/win32_tests.exe]==])\n"
    "set(luma_dir [==[${CMAKE_BINARY_DIR}]==])\n"
    "set(luma_env [==[${luma_win32_env}]==])\n"
    "include([==[${CMAKE_CURRENT_LIST_DIR}/Win32Cases.cmake]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${luma_cases_include})
else()
  message(WARNING "${LUMA_WINE_LOADER} does not run here: this build's Win32 tests are "
    "skipped (scripts/setup.sh tells what is missing)")
  add_test(NAME win32_tests COMMAND sh -c
    "echo '${LUMA_WINE_LOADER} does not run here: skipped (see scripts/setup.sh)'; exit 77")
  set_tests_properties(win32_tests PROPERTIES SKIP_RETURN_CODE 77)
endif()

# One ctest test per end-to-end test case; a 32-bit build runs the cases
# marked for it. Under test.sh the cases of a class share one session: the
# class's first case runs them all and keeps each outcome, and the others,
# run after it (DEPENDS), report theirs (tests/e2e/run_case.py). Each session
# has a display and prefix of its own, so classes run side by side.
set(luma_e2e_dir ${CMAKE_SOURCE_DIR}/tests/e2e)
file(GLOB luma_e2e_files ${luma_e2e_dir}/*.py)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${luma_e2e_files})
math(EXPR luma_bits "${CMAKE_SIZEOF_VOID_P} * 8")
execute_process(COMMAND python3 list_tests.py --bits ${luma_bits}
  WORKING_DIRECTORY ${luma_e2e_dir} OUTPUT_VARIABLE luma_e2e_ids RESULT_VARIABLE luma_list_status)
if(NOT luma_list_status EQUAL 0)
  message(FATAL_ERROR "cannot list the end-to-end tests (tests/e2e/list_tests.py)")
endif()
string(REPLACE "\n" ";" luma_e2e_ids "${luma_e2e_ids}")
set(luma_e2e_classes "")
foreach(id IN LISTS luma_e2e_ids)
  if(NOT id STREQUAL "")
    string(REGEX REPLACE "\\.[^.]+$" "" class ${id})
    list(APPEND luma_e2e_classes ${class})
    list(APPEND luma_e2e_cases_${class} ${id})
  endif()
endforeach()
list(REMOVE_DUPLICATES luma_e2e_classes)
set(luma_e2e_env "LUMA_BUILD_DIR=${CMAKE_BINARY_DIR};LUMA_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
foreach(class IN LISTS luma_e2e_classes)
  set(cases ${luma_e2e_cases_${class}})
  list(POP_FRONT cases first)
  list(LENGTH luma_e2e_cases_${class} count)
  math(EXPR timeout "900 * ${count}")
  add_test(NAME e2e.${first} COMMAND ${LUMA_PYTHON} run_case.py ${first} --with ${cases}
    WORKING_DIRECTORY ${luma_e2e_dir})
  # COST: the longest classes start first when ctest runs two at a time.
  set_tests_properties(e2e.${first} PROPERTIES TIMEOUT ${timeout} COST ${count} LABELS e2e
    SKIP_REGULAR_EXPRESSION "OK \\(skipped=" ENVIRONMENT "${luma_e2e_env}")
  foreach(id IN LISTS cases)
    add_test(NAME e2e.${id} COMMAND ${LUMA_PYTHON} run_case.py ${id} --after ${first}
      WORKING_DIRECTORY ${luma_e2e_dir})
    set_tests_properties(e2e.${id} PROPERTIES TIMEOUT 900 DEPENDS e2e.${first} LABELS e2e
      SKIP_REGULAR_EXPRESSION "OK \\(skipped=" ENVIRONMENT "${luma_e2e_env}")
  endforeach()
endforeach()
