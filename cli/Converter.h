#pragma once
// Runs qov-convert's operations through the desktop program's own view
// commands on the headless backend. Dialogs are answered through their data
// (HeadlessBackend::QueueDialogData), as a script answers them; each
// command's CCommandResult becomes the exit status and one English line on
// stderr: done goes on, disabled and cancelled are reported as not run,
// failed gives its reason.

#include <ostream>
#include <string>

#include "cli/ConvertOptions.h"

namespace qov {

enum ConvertExit { kExitDone = 0, kExitBadInput = 1, kExitUsage = 2, kExitCannotWrite = 3 };

// Opens options.input and runs every operation; reports on `err` (failures,
// and progress when `progress` is set). A failure's reason goes into
// `reason` as well: its line less the program's name, and less the input's
// for an input that cannot be read.
ConvertExit RunConversion(const ConvertOptions& options, std::ostream& err, bool progress,
                          std::string& reason);

}  // namespace qov
