# What `cmake --install` puts beside the two programs: their man pages, and
# for the desktop program its desktop entry (opening and printing the
# pictures it reads) and its icon in the icon theme's sizes.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/res/man/qov.1 ${PROJECT_SOURCE_DIR}/res/man/qov-convert.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(NOT QOV_WITH_QT)
  return()
endif()

# The fixed sizes are drawn from the scalable icon at build time.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_executable(qov-render-icon ${PROJECT_SOURCE_DIR}/platform/qt/RenderIcon.cpp)
qov_target_settings(qov-render-icon)
target_link_libraries(qov-render-icon PRIVATE Qt6::Gui)

set(QOV_ICON_SVG ${PROJECT_SOURCE_DIR}/res/icons/qov-128.svg)
set(QOV_ICON_PNGS)
foreach(size 16 32 48 64 128 256)
  set(dir ${PROJECT_BINARY_DIR}/icons/${size}x${size})
  add_custom_command(
    OUTPUT ${dir}/qov.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND qov-render-icon ${QOV_ICON_SVG} ${size} ${dir}/qov.png
    DEPENDS qov-render-icon ${QOV_ICON_SVG}
    VERBATIM)
  list(APPEND QOV_ICON_PNGS ${dir}/qov.png)
  install(FILES ${dir}/qov.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(qov-icons ALL DEPENDS ${QOV_ICON_PNGS})
install(FILES ${QOV_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME qov.svg)

# The entry names the program by its installed path, known only when
# installing (`cmake --install --prefix` may move it).
install(CODE "
  set(QOV_DESKTOP_IN \"${PROJECT_SOURCE_DIR}/res/qov.desktop.in\")
  set(QOV_PICTURE_EXTENSIONS_H \"${PROJECT_SOURCE_DIR}/platform/PictureExtensions.h\")
  set(QOV_DESKTOP_OUT \"${PROJECT_BINARY_DIR}/qov.desktop\")
  set(QOV_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
  set(QOV_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
  set(QOV_VERSION \"${PROJECT_VERSION}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallDesktopEntry.cmake\")
")
