#pragma once
// Saves that a signal ending the program must not leave half done.

#include <cstddef>
#include <string>

namespace qov {

// While registered, the file at `path` is removed if SIGINT, SIGTERM, SIGHUP
// or SIGXFSZ ends the program (signals whose handling the program left to the
// system). Returns a slot for UnregisterSaveTemporary, or -1 when none is free.
int RegisterSaveTemporary(const std::string& path);
void UnregisterSaveTemporary(int slot) noexcept;

// While registered, the file open as `fd` gets its `size` old bytes at
// `oldBytes` back, and that length, if SIGINT, SIGTERM or SIGHUP ends the
// program; the bytes must stay in place until unregistered. Meanwhile a
// SIGXFSZ left to the system is ignored, so that a write past the file-size
// limit fails (EFBIG) and the save puts the old bytes back itself. Returns a
// slot for UnregisterInPlaceSave, or -1 when none is free.
int RegisterInPlaceSave(int fd, const char* oldBytes, std::size_t size);
void UnregisterInPlaceSave(int slot) noexcept;

}  // namespace qov
