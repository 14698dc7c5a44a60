#pragma once
// The identifiers of the document's automation class: the class identifier
// of its class factory (clients create the document through it) and the
// identifier of its dispatch interface, which has no properties and no
// methods. Clients and the session bus's service file know them: never change.

#include "platform/Guid.h"

namespace qov {

// {5D5421C6-EF25-4438-A45C-EDA36C2291C3}
inline constexpr CLSID CLSID_QOV_V2Document{
    0x5D5421C6, 0xEF25, 0x4438, {0xA4, 0x5C, 0xED, 0xA3, 0x6C, 0x22, 0x91, 0xC3}};

// {A0BD325D-81DF-4A9A-B8B6-77929ACB4DB3}
inline constexpr IID IID_IQOV_V2{
    0xA0BD325D, 0x81DF, 0x4A9A, {0xB8, 0xB6, 0x77, 0x92, 0x9A, 0xCB, 0x4D, 0xB3}};

}  // namespace qov
