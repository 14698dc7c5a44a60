# The desktop program: start-up to the first painted frame, and repainting
# a full-screen view. Needs Qt; bench/CMakeLists.txt includes this only
# where the desktop program is built.
if(QOV_WITH_QT)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  qov_add_bench(bench_gui SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/GuiBench.cpp DEPENDS qov_app qov_shell_qt qov_res)
endif()

# The window's peak memory for open, threshold, auto trace (bench/measure-memory.sh):
# a plain program driving the window through the desktop tests' helpers, named
# apart from the bench_* programs that `make bench` runs without arguments.
if(TARGET qov_gui_test_support)
  add_executable(window_memory ${CMAKE_CURRENT_SOURCE_DIR}/WindowMemory.cpp)
  qov_target_settings(window_memory)
  target_link_libraries(window_memory PRIVATE qov_gui_test_support qov_res)
endif()
