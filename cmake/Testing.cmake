# Test helpers shared by every folder of tests/.
#   scrivane_add_win_test(NAME SOURCES ... LIBS ... [LOCKS ...] [SERIAL])
#                                                        GoogleTest under Wine (Windows build);
#                                                        LOCKS names shared resources (the
#                                                        clipboard) that its tests must not use
#                                                        at the same time as other tests;
#                                                        SERIAL runs it alone (screen tests: no
#                                                        other window may cover what they look
#                                                        at)
#   scrivane_test_reads_layered_samples(NAME)           the test reads the sample layered skins
#   scrivane_add_native_test(NAME SOURCES ... LIBS ...)  GoogleTest under the sanitizers (native build)
#   scrivane_write_win_test_list()                       after the last test: writes the list of the
#                                                        Windows test programs (win-test-programs.txt)
#   scrivane_add_fuzzer(NAME SOURCES ... LIBS ... [SEEDS dir] [SECONDS n])
#                                                        libFuzzer target plus a bounded run in CTest
set(SCRIVANE_FUZZ_SECONDS 30 CACHE STRING "Length of each fuzz run inside the test suite")

set(gtest_disable_pthreads ${SCRIVANE_WINDOWS} CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

function(_scrivane_gtest name)
  cmake_parse_arguments(T "SERIAL" "" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  if(SCRIVANE_WINDOWS)
    # A crash prints its stack (tests/support/crash_report.cpp): built once, in every program.
    if(NOT TARGET win_test_crash_report)
      add_library(win_test_crash_report OBJECT ${CMAKE_SOURCE_DIR}/tests/support/crash_report.cpp)
    endif()
    target_link_libraries(${name} PRIVATE win_test_crash_report)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  set(locks "")
  if(T_LOCKS)
    set(locks RESOURCE_LOCK "${T_LOCKS}")
  endif()
  set(serial "")
  if(T_SERIAL)
    set(serial RUN_SERIAL TRUE)
  endif()
  # Each test by its name, one a process (label "test"): a developer runs one with ctest -R.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 300 LABELS test ${locks} ${serial})
  if(NOT SCRIVANE_WINDOWS)
    return()
  endif()
  # The whole program in one Wine process (label "program", what make test runs): a Wine
  # process costs far more than most tests. A failure names its test in the program's output.
  add_test(NAME program.${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(program.${name} PROPERTIES LABELS program TIMEOUT 1200 ${locks} ${serial})
  # For the run of each program whole (scripts/run-whole-tests.sh): its path, and "serial" for
  # a program that runs alone.
  set(entry "$<TARGET_FILE:${name}>")
  if(T_SERIAL)
    string(APPEND entry " serial")
  endif()
  set_property(GLOBAL APPEND PROPERTY SCRIVANE_WIN_TEST_PROGRAMS "${entry}")
endfunction()

function(scrivane_add_win_test name)
  if(SCRIVANE_WINDOWS)
    _scrivane_gtest(${name} ${ARGN})
  endif()
endfunction()

# The test reads the sample layered skins the build writes (in SCRIVANE_LAYERED_SAMPLE_SKINS):
# it is built after them.
function(scrivane_test_reads_layered_samples name)
  if(TARGET ${name})
    target_compile_definitions(${name} PRIVATE SCRIVANE_LAYERED_SAMPLE_SKINS="${SCRIVANE_LAYERED_SAMPLE_SKINS}")
    add_dependencies(${name} layered_sample_skins)
  endif()
endfunction()

# The list of the Windows test programs, one a line (its path, then "serial" for one that runs
# alone), for the run of each program whole.
function(scrivane_write_win_test_list)
  get_property(programs GLOBAL PROPERTY SCRIVANE_WIN_TEST_PROGRAMS)
  list(JOIN programs "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/win-test-programs.txt CONTENT "${content}\n")
endfunction()

function(scrivane_add_native_test name)
  if(NOT SCRIVANE_WINDOWS)
    _scrivane_gtest(${name} ${ARGN})
  endif()
endfunction()

function(scrivane_add_fuzzer name)
  if(SCRIVANE_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(F "" "SEEDS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS ${SCRIVANE_FUZZ_SECONDS})
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  set(seeds "")
  if(F_SEEDS)
    set(seeds ${F_SEEDS})
  endif()
  # A bounded run: any crash, leak, sanitizer report or timeout fails the test.
  add_test(NAME fuzz.${name}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}> ${corpus} ${F_SECONDS} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
  add_custom_target(fuzz-long-${name}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh $<TARGET_FILE:${name}> ${corpus} 1800 ${seeds}
    USES_TERMINAL)
  if(NOT TARGET fuzz-long)
    add_custom_target(fuzz-long)
  endif()
  add_dependencies(fuzz-long fuzz-long-${name})
endfunction()
