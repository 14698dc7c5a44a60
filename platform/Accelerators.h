#pragma once
// The accelerator table as data: virtual-key codes with their modifier
// flags, each bound to a command.

#include <span>

#include "platform/Types.h"

namespace qov {

inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

// Virtual-key codes of the keys the table uses besides letters, which are
// their upper-case character codes.
inline constexpr WORD VK_BACK = 0x08;
inline constexpr WORD VK_END = 0x23;
inline constexpr WORD VK_HOME = 0x24;
inline constexpr WORD VK_INSERT = 0x2D;
inline constexpr WORD VK_DELETE = 0x2E;
inline constexpr WORD VK_F6 = 0x75;
// The keys that give "+" and "-" beside the letters.
inline constexpr WORD VK_OEM_PLUS = 0xBB;
inline constexpr WORD VK_OEM_MINUS = 0xBD;

struct Accelerator {
  BYTE fVirt;
  WORD key;
  UINT cmd;
};

// Accelerator table `id` of the installed resources (platform/Resources.h);
// empty for an unknown id.
std::span<const Accelerator> LoadAccelerators(UINT id);

}  // namespace qov
