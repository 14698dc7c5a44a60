# Shared settings for every target of the project.

# The brightness and threshold arithmetic must round exactly as written, one
# operation at a time: no fused multiply-add, no excess precision.
set(QOV_EXACT_FP_FLAGS -ffp-contract=off)

function(qov_target_settings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion ${QOV_EXACT_FP_FLAGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# qov_add_library(name SOURCES ... DEPENDS ...)
function(qov_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  qov_target_settings(${name})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# qov_add_test(name SOURCES ... DEPENDS ... [LABELS ...] [RESOURCES])
# Every test links the headless backend unless it says otherwise. With
# RESOURCES it links res/ and runs on the system's own resources, installed
# before the first test as the programs install them; without, a test that
# looks a resource up installs a set of its own.
function(qov_add_test name)
  cmake_parse_arguments(ARG "RESOURCES" "" "SOURCES;DEPENDS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qov_target_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} qov_test_support GTest::gtest)
  if(ARG_RESOURCES)
    target_link_libraries(${name} PRIVATE qov_test_resources_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    QOV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QOV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QOV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  else()
    set_tests_properties(${name} PROPERTIES LABELS unit)
  endif()
endfunction()

# qov_add_bench(name SOURCES ... DEPENDS ...)
function(qov_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  qov_target_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark)
endfunction()

# qov_add_fuzzer(name SOURCES ... DEPENDS ... CORPUS dir)
# With QOV_BUILD_FUZZ (clang) the target is a libFuzzer binary; otherwise the
# same entry point is linked with a small driver that replays the corpus, and
# that replay runs as a plain test.
function(qov_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qov_target_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS})
  if(QOV_BUILD_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    if(QOV_BUILD_TESTS)
      add_test(NAME ${name}_replay COMMAND ${name} ${ARG_CORPUS} ${PROJECT_SOURCE_DIR}/fuzz/regressions)
      set_tests_properties(${name}_replay PROPERTIES LABELS unit)
    endif()
  endif()
endfunction()
