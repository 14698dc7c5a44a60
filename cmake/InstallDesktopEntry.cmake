# Run by `cmake --install`: writes the desktop entry with the installed
# program's path and installs it. Set by the caller: QOV_DESKTOP_IN,
# QOV_DESKTOP_OUT, QOV_BINDIR, QOV_APPLICATIONS_DIR, QOV_VERSION.

set(QOV_PROGRAM "${CMAKE_INSTALL_PREFIX}/${QOV_BINDIR}/qov")
# A path with any of these would need quoting in the entry's Exec lines.
string(REGEX MATCH "[ \t\"'\\\\$`]" unsafe "${QOV_PROGRAM}")
if(unsafe)
  message(FATAL_ERROR "qov.desktop: the installed path ${QOV_PROGRAM} holds '${unsafe}'; "
                      "install to a prefix without spaces, quotes, '\\', '$' or '`'")
endif()
configure_file("${QOV_DESKTOP_IN}" "${QOV_DESKTOP_OUT}" @ONLY)
file(INSTALL "${QOV_DESKTOP_OUT}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QOV_APPLICATIONS_DIR}")
