qov_add_bench(bench_raster
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/RasterBench.cpp
  DEPENDS qov_view qov_platform_headless qov_res)
