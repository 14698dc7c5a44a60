qov_add_bench(bench_export
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ExportBench.cpp
  DEPENDS qov_export)
