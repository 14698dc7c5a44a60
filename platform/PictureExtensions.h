#pragma once
// The one list of the names under which picture files are offered: the open
// dialog's patterns, the files qov-convert --recursive takes from a folder,
// and the desktop entry's MIME types (cmake/InstallDesktopEntry.cmake reads
// the table's rows). A picture's kind is still told by its first bytes
// (DetectPictureKind); the name only decides which files are offered. .dib
// is the other name of a .bmp file, so it is offered everywhere.

#include <array>
#include <cstddef>
#include <string>

namespace qov {

struct PictureExtension {
  const char* suffix;     // without the dot, lower case
  const char* mimeTypes;  // a space between two
};

// clang-format off
inline constexpr std::array kPictureExtensions{
    PictureExtension{"bmp", "image/bmp image/x-bmp"},
    PictureExtension{"dib", "image/bmp"},
    PictureExtension{"tif", "image/tiff"},
    PictureExtension{"tiff", "image/tiff"},
    PictureExtension{"png", "image/png"},
    PictureExtension{"jpg", "image/jpeg"},
    PictureExtension{"jpeg", "image/jpeg"},
    PictureExtension{"jpe", "image/jpeg"},
    PictureExtension{"pbm", "image/x-portable-bitmap"},
    PictureExtension{"pgm", "image/x-portable-graymap"},
    PictureExtension{"ppm", "image/x-portable-pixmap"},
    PictureExtension{"pnm", "image/x-portable-anymap"},
};
// clang-format on

namespace detail {

// "*.bmp;*.dib;...": "*." and ';' (or the final NUL) around each suffix.
constexpr std::size_t PicturePatternsSize() {
  std::size_t size = 0;
  for (const PictureExtension& extension : kPictureExtensions)
    size += std::char_traits<char>::length(extension.suffix) + 3;
  return size;
}

constexpr std::array<char, PicturePatternsSize()> JoinPicturePatterns() {
  std::array<char, PicturePatternsSize()> out{};
  std::size_t at = 0;
  for (const PictureExtension& extension : kPictureExtensions) {
    if (at != 0)
      out[at++] = ';';
    out[at++] = '*';
    out[at++] = '.';
    for (const char* c = extension.suffix; *c != '\0'; ++c)
      out[at++] = *c;
  }
  return out;
}

inline constexpr std::array kPicturePatternsText = JoinPicturePatterns();

}  // namespace detail

}  // namespace qov
