#include "export/DxfExportFrame.h"

#include <optional>

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/WaitCursor.h"
#include "res/Strings.h"

namespace qov {

void RunDxfExport(CWnd* owner, CQOV_V2Doc& doc, DxfWaitCursor waitCursor, DxfScan scan) {
  CFileDialog dialog(false, ".DXF", "QOV.DXF", OFN_OVERWRITEPROMPT, "DXFファイル(*.DXF)|*.DXF||",
                     owner);
  if (dialog.DoModal() != IDOK)
    return;

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
  } catch (const CFileException&) {
    wait.reset();
    AfxMessageBox(text::kFileError);
  }
}

}  // namespace qov
