#pragma once
// The vectorizer's settings kept in the profile, so that its dialog opens
// with what the user chose the time before.

#include "shell/WinApp.h"
#include "vector/VectorizeParams.h"

namespace qov {

// The settings the application's profile holds; the defaults for any missing, unreadable
// or out of range.
VectorizeParams ReadVectorizeSettings(const CWinApp& app);
void WriteVectorizeSettings(CWinApp& app, const VectorizeParams& params);

}  // namespace qov
