# Shared helpers for every folder's CMakeLists.txt.

# Compiler flags for our own targets (third-party code never gets them).
function(quorvex_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual -Wimplicit-fallthrough)
  if(QUORVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# quorvex_add_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static library of one layer; its public include root is src/.
function(quorvex_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  quorvex_target_options(${name})
endfunction()

# quorvex_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [WRAPPER cmd...] [ENV k=v...])
# One GoogleTest executable registered as one CTest test. Labels: unit, device,
# ui, gui, e2e; add "parser" or "threaded" to have the sanitizer builds run it.
function(quorvex_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS;WRAPPER;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} quorvex_testsupport GTest::gtest GTest::gmock
                                        GTest::gtest_main)
  quorvex_target_options(${name})
  add_test(NAME ${name} COMMAND ${ARG_WRAPPER} $<TARGET_FILE:${name}>)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QUORVEX_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUORVEX_SHARED_DIR=${PROJECT_SOURCE_DIR}/../shared;${ARG_ENV}")
  if("parser" IN_LIST ARG_LABELS OR "threaded" IN_LIST ARG_LABELS)
    set_property(GLOBAL APPEND PROPERTY QUORVEX_SANITIZER_TARGETS ${name})
  endif()
endfunction()

# quorvex_add_benchmark(NAME SOURCES ... [LIBS ...])
function(quorvex_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  quorvex_target_options(${name})
  set_property(GLOBAL APPEND PROPERTY QUORVEX_BENCHMARKS ${name})
endfunction()

# quorvex_add_fuzzer(NAME SOURCES ... [LIBS ...])
# With QUORVEX_FUZZ: a libFuzzer binary fuzz_NAME. Always: fuzz_NAME_replay, a test
# that feeds every file of fuzz/corpus/NAME to the same entry point.
function(quorvex_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(QUORVEX_FUZZ)
    add_executable(fuzz_${name} ${ARG_SOURCES})
    target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    quorvex_target_options(fuzz_${name})
  endif()
  add_executable(fuzz_${name}_replay ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp")
  target_link_libraries(fuzz_${name}_replay PRIVATE ${ARG_LIBS})
  quorvex_target_options(fuzz_${name}_replay)
  add_test(NAME fuzz_${name}_replay
           COMMAND fuzz_${name}_replay "${PROJECT_SOURCE_DIR}/fuzz/corpus/${name}")
  set_tests_properties(fuzz_${name}_replay PROPERTIES LABELS "unit;parser" TIMEOUT 300)
  set_property(GLOBAL APPEND PROPERTY QUORVEX_SANITIZER_TARGETS fuzz_${name}_replay)
endfunction()

# Called once at the end of the top-level list: `sanitizer_tests` builds just the
# tests that the ASan and TSan runs execute.
function(quorvex_finish_sanitizer_target)
  get_property(targets GLOBAL PROPERTY QUORVEX_SANITIZER_TARGETS)
  add_custom_target(sanitizer_tests)
  if(targets)
    add_dependencies(sanitizer_tests ${targets})
  endif()
  get_property(benches GLOBAL PROPERTY QUORVEX_BENCHMARKS)
  add_custom_target(benchmarks)
  if(benches)
    add_dependencies(benchmarks ${benches})
  endif()
endfunction()
