# Registers a GoogleTest program's cases with CTest, one CTest test per test suite.
#
# Each test process of the sanitizer build pays for loading and relocating the program's
# libraries and for the leak check at its end; a test per case paid that some 1,600 times
# per run. A test per suite pays it once for the suite's cases, keeps the suites apart and
# keeps CTest's parallelism. A failing suite's output names the failing cases.
#
# kestrin_gtest_suites(<target> [LABELS ...]): at configure time, writes the include file
# that CTest reads; when the program is newer than the list it made, CTest lists the program's
# cases again (--gtest_list_tests) before running anything.
function(kestrin_gtest_suites target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  set(base ${CMAKE_CURRENT_BINARY_DIR}/${target})
  get_target_property(emulator ${target} CROSSCOMPILING_EMULATOR)
  if(NOT emulator)
    set(emulator "")
  endif()
  file(GENERATE OUTPUT ${base}_suites_include.cmake CONTENT
"if(EXISTS [==[$<TARGET_FILE:${target}>]==])
  if(NOT EXISTS [==[${base}_suites.cmake]==] OR
     NOT [==[${base}_suites.cmake]==] IS_NEWER_THAN [==[$<TARGET_FILE:${target}>]==])
    include([==[${PROJECT_SOURCE_DIR}/cmake/GTestSuites.cmake]==])
    kestrin_gtest_list_suites([==[$<TARGET_FILE:${target}>]==] [==[${emulator}]==]
      [==[${base}_suites.cmake]==] [==[${ARG_LABELS}]==] [==[${CMAKE_CURRENT_BINARY_DIR}]==])
  endif()
  include([==[${base}_suites.cmake]==])
else()
  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${base}_suites_include.cmake)
endfunction()

# Runs at test time (from the include file above): lists the program's suites and writes one
# add_test per suite, with a filter that selects the suite's cases.
function(kestrin_gtest_list_suites exe emulator out labels workdir)
  execute_process(COMMAND ${emulator} ${exe} --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 60
    WORKING_DIRECTORY ${workdir})
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "Listing the tests of ${exe} failed (${rc}):\n${errors}")
  endif()
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(content "")
  foreach(line IN LISTS lines)
    # Suites start in column 1 and end with "."; cases are indented. Typed and value-
    # parameterised suites carry a comment after the name.
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      set(suite ${CMAKE_MATCH_1})
      string(REPLACE "/" "." test_name "${suite}")
      string(APPEND content
        "add_test([==[${test_name}]==] ${emulator} [==[${exe}]==] [==[--gtest_filter=${suite}.*]==])\n"
        "set_tests_properties([==[${test_name}]==] PROPERTIES WORKING_DIRECTORY [==[${workdir}]==]")
      if(labels)
        string(APPEND content " LABELS [==[${labels}]==]")
      endif()
      string(APPEND content ")\n")
    endif()
  endforeach()
  file(WRITE ${out} "${content}")
endfunction()
