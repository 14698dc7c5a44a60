qov_add_bench(bench_image
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ImageBench.cpp
  DEPENDS qov_image)
