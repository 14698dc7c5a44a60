#pragma once
// The frame the exports share: the save dialog, the writing, and the one
// result for a file error. Errors: the writers throw CFileException and show
// nothing; the frame turns it into the command's result.

#include <cstdint>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"
#include "platform/CommandResult.h"

namespace qov {

// Writes the LINE records of one export for a picture of W × H pixels.
using DxfScan = void (*)(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

enum class DxfWaitCursor { none, shown };

// Asks for a .DXF file (a cancel ends the export
// with no file touched and returns cancelled), then writes the header,
// refreshes the document's size, runs `scan`, writes the trailer and closes
// the file. The wait cursor, when asked for, runs from after the dialog to
// the end. A CFileException ends the export as a failure with the message
// "ファイルの読み込みに失敗しました" and the system's reason, the buffer
// dropped and the file closed without another write; what reached the file
// stays. Any other exception passes through, nothing left open.
CCommandResult RunDxfExport(CQOV_V2Doc& doc, DxfWaitCursor waitCursor, DxfScan scan);

// Asks for a .TXT file and writes the VectorScript
// file with `colorOption`; cancels and file errors end as RunDxfExport's do.
CCommandResult RunVectorScriptExport(CQOV_V2Doc& doc, int colorOption);

}  // namespace qov
