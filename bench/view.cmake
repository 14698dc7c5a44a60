qov_add_bench(bench_view
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ViewBench.cpp
  DEPENDS qov_view qov_platform_headless qov_test_support)
