#pragma once
// Globally unique identifiers: the class identifier of an automation class
// factory and the identifiers of interfaces, in the registry's text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qov {

struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};
  friend bool operator==(const GUID&, const GUID&) = default;
};

using CLSID = GUID;
using IID = GUID;

// The interfaces every automation object answers besides its own.
inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// "{5D5421C6-EF25-4438-A45C-EDA36C2291C3}": upper-case hexadecimal in braces.
std::string StringFromGUID(const GUID& guid);
// The registry form, braces optional, hexadecimal in either case; nothing
// else is accepted.
std::optional<GUID> GUIDFromString(std::string_view text);
// The 32 hexadecimal digits in groups joined by '_', which is valid inside
// the names of the session bus, where '{' and '-' are not:
// "5D5421C6_EF25_4438_A45C_EDA36C2291C3".
std::string NameElementFromGUID(const GUID& guid);

}  // namespace qov
