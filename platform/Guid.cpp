#include "platform/Guid.h"

#include <cstdio>

namespace qov {
namespace {

// Digits per group in the text form: 8-4-4-4-12.
constexpr std::array<std::size_t, 5> kGroupDigits{8, 4, 4, 4, 12};

std::string FormatGroups(const GUID& guid, char separator) {
  char text[40];
  std::snprintf(text, sizeof text, "%08X%c%04X%c%04X%c%02X%02X%c%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(guid.Data1), separator, static_cast<unsigned>(guid.Data2),
                separator, static_cast<unsigned>(guid.Data3), separator, guid.Data4[0],
                guid.Data4[1], separator, guid.Data4[2], guid.Data4[3], guid.Data4[4],
                guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

std::optional<unsigned> HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'F')
    return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f')
    return static_cast<unsigned>(c - 'a' + 10);
  return std::nullopt;
}

}  // namespace

std::string StringFromGUID(const GUID& guid) {
  return '{' + FormatGroups(guid, '-') + '}';
}

std::string NameElementFromGUID(const GUID& guid) {
  return FormatGroups(guid, '_');
}

std::optional<GUID> GUIDFromString(std::string_view text) {
  if (text.size() >= 2 && text.front() == '{' && text.back() == '}')
    text = text.substr(1, text.size() - 2);
  // The 16 bytes in the order their digits are written.
  std::array<std::uint8_t, 16> bytes{};
  std::size_t pos = 0;
  std::size_t nibble = 0;
  for (std::size_t group = 0; group < kGroupDigits.size(); ++group) {
    if (group > 0) {
      if (pos >= text.size() || text[pos] != '-')
        return std::nullopt;
      ++pos;
    }
    for (std::size_t i = 0; i < kGroupDigits[group]; ++i, ++pos, ++nibble) {
      const auto digit = pos < text.size() ? HexDigit(text[pos]) : std::nullopt;
      if (!digit)
        return std::nullopt;
      bytes[nibble / 2] = static_cast<std::uint8_t>(unsigned{bytes[nibble / 2]} << 4 | *digit);
    }
  }
  if (pos != text.size())
    return std::nullopt;
  GUID guid;
  guid.Data1 = static_cast<std::uint32_t>(bytes[0]) << 24 |
               static_cast<std::uint32_t>(bytes[1]) << 16 |
               static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
  guid.Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
  guid.Data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  for (std::size_t i = 0; i < guid.Data4.size(); ++i)
    guid.Data4[i] = bytes[8 + i];
  return guid;
}

}  // namespace qov
