#include "export/ExportFrame.h"

#include <optional>

#include "export/VectorScript.h"
#include "platform/FileDialog.h"
#include "platform/WaitCursor.h"
#include "res/Strings.h"

namespace qov {
namespace {

CCommandResult FileFailure(const CFileException& e) {
  return CCommandResult::Failed(text::kFileError, e.OsErrorText());
}

}  // namespace

CCommandResult RunDxfExport(CQOV_V2Doc& doc, DxfWaitCursor waitCursor, DxfScan scan) {
  CFileDialog dialog(false, ".DXF", "QOV.DXF", OFN_OVERWRITEPROMPT, "DXFファイル(*.DXF)|*.DXF||");
  if (dialog.DoModal() != IDOK)
    return CCommandResult(CCommandResult::cancelled);

  std::optional<CWaitCursor> wait;
  if (waitCursor == DxfWaitCursor::shown)
    wait.emplace();
  try {
    // On an exception the writer's destructor drops its buffer and closes
    // the file: a flush on a full disk would only fail again.
    CDxfWriter writer(dialog.GetPathName());
    writer.WriteHeader();
    doc.UpdateImageSize();
    scan(doc, writer, doc.m_nWidth, doc.m_nHeight);
    writer.WriteTrailer();
    writer.Close();
  } catch (const CFileException& e) {
    return FileFailure(e);
  }
  return {};
}

CCommandResult RunVectorScriptExport(CQOV_V2Doc& doc, int colorOption) {
  CFileDialog dialog(false, ".TXT", "QOV.TXT", OFN_OVERWRITEPROMPT, "TXTファイル(*.TXT)|*.TXT||");
  if (dialog.DoModal() != IDOK)
    return CCommandResult(CCommandResult::cancelled);
  try {
    SaveVectorScript(doc, dialog.GetPathName(), colorOption);
  } catch (const CFileException& e) {
    return FileFailure(e);
  }
  return {};
}

}  // namespace qov
