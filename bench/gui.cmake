# The desktop program: start-up to the first painted frame, and repainting
# a full-screen view. Needs Qt; bench/CMakeLists.txt includes this only
# where the desktop program is built.
if(QOV_WITH_QT)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  qov_add_bench(bench_gui SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/GuiBench.cpp DEPENDS qov_app qov_shell_qt)
endif()
