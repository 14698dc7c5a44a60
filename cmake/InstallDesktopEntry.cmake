# Run by `cmake --install`: writes the desktop entry with the installed
# program's path and the MIME types of the pictures it opens, and installs it.
# Set by the caller: QOV_DESKTOP_IN, QOV_PICTURE_EXTENSIONS_H, QOV_DESKTOP_OUT,
# QOV_BINDIR, QOV_APPLICATIONS_DIR, QOV_VERSION.

set(QOV_PROGRAM "${CMAKE_INSTALL_PREFIX}/${QOV_BINDIR}/qov")
# A path with any of these would need quoting in the entry's Exec lines.
string(REGEX MATCH "[ \t\"'\\\\$`]" unsafe "${QOV_PROGRAM}")
if(unsafe)
  message(FATAL_ERROR "qov.desktop: the installed path ${QOV_PROGRAM} holds '${unsafe}'; "
                      "install to a prefix without spaces, quotes, '\\', '$' or '`'")
endif()
# The MIME types come from the program's one list of picture names, each
# once, in the list's order.
file(READ "${QOV_PICTURE_EXTENSIONS_H}" extensions)
string(REGEX MATCHALL "PictureExtension{\"[a-z]+\", \"[^\"]+\"}" rows "${extensions}")
set(mimeTypes)
foreach(row IN LISTS rows)
  string(REGEX REPLACE ".*, \"([^\"]+)\"}" "\\1" types "${row}")
  separate_arguments(types UNIX_COMMAND "${types}")
  list(APPEND mimeTypes ${types})
endforeach()
list(REMOVE_DUPLICATES mimeTypes)
if(NOT mimeTypes)
  message(FATAL_ERROR "qov.desktop: no picture MIME types in ${QOV_PICTURE_EXTENSIONS_H}")
endif()
string(JOIN ";" QOV_MIME_TYPES ${mimeTypes})
string(APPEND QOV_MIME_TYPES ";")
configure_file("${QOV_DESKTOP_IN}" "${QOV_DESKTOP_OUT}" @ONLY)
file(INSTALL "${QOV_DESKTOP_OUT}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QOV_APPLICATIONS_DIR}")
