#pragma once
// The frame the exports share: the save dialog, the wait cursor, the file
// written as a whole or not at all, and the one result for a file error.
// Errors: the writers throw CFileException and show nothing; the frame turns
// it into the command's result.

#include <cstdint>
#include <functional>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"
#include "platform/CommandResult.h"
#include "platform/File.h"

namespace qov {

// The save dialog of one kind of export file.
struct CExportFileKind {
  const char* defaultExtension;  // ".DXF"
  const char* defaultName;       // "QOV.DXF"
  const char* filter;            // "DXFファイル(*.DXF)|*.DXF||"
};

inline constexpr CExportFileKind kDxfFileKind{".DXF", "QOV.DXF", "DXFファイル(*.DXF)|*.DXF||"};
inline constexpr CExportFileKind kTxtFileKind{".TXT", "QOV.TXT", "TXTファイル(*.TXT)|*.TXT||"};

enum class ExportWaitCursor { none, shown };

// Asks for a file of `kind` (a cancel ends the export with no file touched
// and returns cancelled), then runs `write` on a new file that takes the
// chosen one's place only once `write` has returned and every byte is on the
// disk (ReplaceFile: pipes and devices are written as streams). The wait
// cursor, when asked for, runs from after the dialog to the end. A
// CFileException ends the export as a failure with the message
// "ファイルの読み込みに失敗しました" and the system's reason; the chosen file
// is then as it was, and no partial file is left. Any other exception passes
// through the same way, nothing left open. `write` owns no buffer past its
// return: what it leaves unwritten is lost.
CCommandResult RunFileExport(const CExportFileKind& kind, ExportWaitCursor waitCursor,
                             const std::function<void(CFile&)>& write);

// Writes the LINE records of one export for a picture of W × H pixels.
using DxfScan = void (*)(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

// A DXF drawing through RunFileExport: the header, the document's size
// refreshed, `scan`, the trailer.
CCommandResult RunDxfExport(CQOV_V2Doc& doc, ExportWaitCursor waitCursor, DxfScan scan);

// The VectorScript file with `colorOption` through RunFileExport, without a
// wait cursor.
CCommandResult RunVectorScriptExport(CQOV_V2Doc& doc, int colorOption);

}  // namespace qov
