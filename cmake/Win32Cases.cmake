# Run by ctest when it starts (TEST_INCLUDE_FILES, see WineTests.cmake): one
# test per GoogleTest case of the Win32 test program, named like
# GdiCanvasTest.FillsARectangle. Under test.sh the first case runs the whole
# program in one Wine process and the others report their outcome from that
# run, after it (scripts/gtest-case.py); each still passes or fails alone.
# Set by the includer: luma_python, luma_cases_script, luma_exe, luma_dir,
# luma_env.
if(NOT EXISTS "${luma_exe}")
  add_test(win32_tests_NOT_BUILT "${luma_python}" -c
    "import sys; sys.exit('${luma_exe} is not built')")
  return()
endif()
execute_process(COMMAND "${luma_python}" "${luma_cases_script}" --list "${luma_exe}"
  OUTPUT_VARIABLE luma_cases ERROR_VARIABLE luma_error RESULT_VARIABLE luma_status
  TIMEOUT 300)
string(STRIP "${luma_cases}" luma_cases)
string(REPLACE "\n" ";" luma_cases "${luma_cases}")
if(NOT luma_status EQUAL 0 OR NOT luma_cases)
  string(REPLACE "'" "" luma_error "${luma_error}")
  add_test(win32_tests_NOT_LISTED "${luma_python}" -c
    "import sys; sys.exit('cannot list the cases of ${luma_exe} (${luma_status}): ${luma_error}')")
  return()
endif()
list(POP_FRONT luma_cases luma_first)
# A skip as scripts/groupcases.py reports it, or as GoogleTest does for a case
# run alone.
set(luma_skipped "OK \\(skipped=|\\[  SKIPPED \\]")
# The whole program takes seconds; each case alone had 300.
add_test("${luma_first}" "${luma_python}" "${luma_cases_script}" "${luma_exe}" "${luma_first}"
  --first)
set_tests_properties("${luma_first}" PROPERTIES TIMEOUT 900 WORKING_DIRECTORY "${luma_dir}"
  ENVIRONMENT "${luma_env}" RESOURCE_LOCK luma_wine_session
  SKIP_REGULAR_EXPRESSION "${luma_skipped}")
foreach(luma_case IN LISTS luma_cases)
  add_test("${luma_case}" "${luma_python}" "${luma_cases_script}" "${luma_exe}" "${luma_case}"
    --after "${luma_first}")
  # The lock too: without its first case in the run, a case runs alone in the session.
  set_tests_properties("${luma_case}" PROPERTIES TIMEOUT 300 DEPENDS "${luma_first}"
    WORKING_DIRECTORY "${luma_dir}" ENVIRONMENT "${luma_env}" RESOURCE_LOCK luma_wine_session
    SKIP_REGULAR_EXPRESSION "${luma_skipped}")
endforeach()
