#pragma once
// Runs qov-convert's operations through the desktop program's own view
// commands on the headless backend.

#include <ostream>

#include "cli/ConvertOptions.h"

namespace qov {

enum ConvertExit { kExitDone = 0, kExitBadInput = 1, kExitUsage = 2, kExitCannotWrite = 3 };

// Opens options.input and runs every operation; reports on `err` (message
// boxes of the commands, failures, and progress when `progress` is set).
ConvertExit RunConversion(const ConvertOptions& options, std::ostream& err, bool progress);

}  // namespace qov
