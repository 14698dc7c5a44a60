#pragma once
// The frame that the three DXF exports share: the save dialog, the writer,
// header, scan, trailer, and the one message for a file error.

#include <cstdint>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"
#include "platform/Wnd.h"

namespace qov {

// Writes the LINE records of one export for a picture of W × H pixels.
using DxfScan = void (*)(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

enum class DxfWaitCursor { none, shown };

// Asks for a .DXF file (dialog owned by `owner`; a cancel ends the export
// with no file touched), then writes the header, refreshes the document's
// size, runs `scan`, writes the trailer and closes the file. The wait
// cursor, when asked for, runs from after the dialog to the end. A
// CFileException shows "ファイルの読み込みに失敗しました" and ends the export
// normally, the buffer dropped and the file closed without another write;
// what reached the file stays. Any other exception passes through, nothing
// left open.
void RunDxfExport(CWnd* owner, CQOV_V2Doc& doc, DxfWaitCursor waitCursor, DxfScan scan);

}  // namespace qov
