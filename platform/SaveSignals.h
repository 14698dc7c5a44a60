#pragma once
// Temporary files removed when a signal ends the program.

#include <string>

namespace qov {

// While registered, the file at `path` is removed if SIGINT, SIGTERM, SIGHUP
// or SIGXFSZ ends the program (signals whose handling the program left to the
// system). Returns a slot for UnregisterSaveTemporary, or -1 when none is free.
int RegisterSaveTemporary(const std::string& path);
void UnregisterSaveTemporary(int slot) noexcept;

}  // namespace qov
