#include "export/ExportFrame.h"

#include <optional>

#include "export/VectorScript.h"
#include "platform/FileDialog.h"
#include "platform/FileReplacement.h"
#include "platform/WaitCursor.h"
#include "res/Strings.h"

namespace qov {

CCommandResult RunFileExport(const CExportFileKind& kind, ExportWaitCursor waitCursor,
                             const std::function<void(CFile&)>& write) {
  CFileDialog dialog(false, kind.defaultExtension, kind.defaultName, OFN_OVERWRITEPROMPT,
                     kind.filter);
  if (dialog.DoModal() != IDOK)
    return CCommandResult(CCommandResult::cancelled);

  std::optional<CWaitCursor> wait;
  if (waitCursor == ExportWaitCursor::shown)
    wait.emplace();
  try {
    ReplaceFile(dialog.GetPathName(), [&write](CFile& file) {
      write(file);
      return true;
    });
  } catch (const CFileException& e) {
    return CCommandResult::Failed(text::kFileError, FileErrorReason(e));
  }
  return {};
}

CCommandResult RunDxfExport(CQOV_V2Doc& doc, ExportWaitCursor waitCursor, DxfScan scan) {
  return RunFileExport(kDxfFileKind, waitCursor, [&doc, scan](CFile& file) {
    // On an exception the writer's destructor drops its buffer: a flush on
    // a full disk would only fail again, and the file is discarded anyway.
    CDxfWriter writer(file);
    writer.WriteHeader();
    doc.UpdateImageSize();
    scan(doc, writer, doc.m_nWidth, doc.m_nHeight);
    writer.WriteTrailer();
    writer.Close();
  });
}

CCommandResult RunVectorScriptExport(CQOV_V2Doc& doc, int colorOption) {
  return RunFileExport(kTxtFileKind, ExportWaitCursor::none, [&doc, colorOption](CFile& file) {
    SaveVectorScript(doc, file, colorOption);
  });
}

}  // namespace qov
