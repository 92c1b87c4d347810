# Test registration shared by every test folder.
#
# Native builds run tests directly; the win64 build runs them under wine64 through
# cmake/wine-run (CTest's cross-compiling emulator); the win32 build compiles them only,
# because 32-bit code cannot execute on the build machine.
include(GoogleTest)

if(WIN32 AND TW_RUN_UNDER_WINE)
  set(TW_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_SOURCE_DIR}/cmake/wine-run;--prefix;${TW_WINE_PREFIX}")
endif()

set(TW_CAN_RUN_TESTS ON)
if(WIN32 AND NOT TW_RUN_UNDER_WINE)
  set(TW_CAN_RUN_TESTS OFF)
endif()

# The Wine prefix, Xvfb and wineserver are shared by all tests of a run and stopped after
# the last one. Called once, from tests/CMakeLists.txt.
function(tw_wine_fixture)
  if(WIN32 AND TW_RUN_UNDER_WINE)
    add_test(NAME wine_stop COMMAND "${CMAKE_SOURCE_DIR}/cmake/wine-run" --prefix "${TW_WINE_PREFIX}" --stop)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
endfunction()

# tw_add_gtest(<name> SOURCES ... [LIBS ...] [GUI] [SERIAL])
#   GUI     the tests open windows: run them one at a time under Wine
function(tw_add_gtest name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tw_options GTest::gtest GTest::gtest_main GTest::gmock ${ARG_LIBS})
  if(NOT TW_CAN_RUN_TESTS)
    return()
  endif()
  # Generous: the thousand-fold create/free leak runs take over a minute under Wine on 2 cores.
  set(props TIMEOUT 300)
  if(WIN32)
    list(APPEND props FIXTURES_REQUIRED wine)
    if(ARG_GUI)
      list(APPEND props RUN_SERIAL ON)
    endif()
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ${props})
endfunction()

# tw_add_program_test(<name> COMMAND <exe-target> [args...]) for tests that are whole programs
# (the e2e driver): the exit code is the verdict.
function(tw_add_program_test name)
  cmake_parse_arguments(ARG "" "" "COMMAND" ${ARGN})
  if(NOT TW_CAN_RUN_TESTS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES TIMEOUT 180)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RUN_SERIAL ON)
  endif()
endfunction()

# tw_add_fuzzer(<name> SOURCES ... [LIBS ...] CORPUS <dir>): a libFuzzer target (fuzz preset).
# scripts/test runs every target listed in <build>/fuzzers.txt for a short bounded time,
# starting from its seed corpus in the repository.
function(tw_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE tw_options ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY TW_FUZZERS "$<TARGET_FILE:${name}> ${ARG_CORPUS}")
endfunction()

function(tw_write_fuzzer_list)
  get_property(fuzzers GLOBAL PROPERTY TW_FUZZERS)
  list(JOIN fuzzers "\n" lines)
  file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/fuzzers.txt" CONTENT "${lines}\n")
endfunction()
