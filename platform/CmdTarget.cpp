// The base command target and the command boundary.

#include "platform/CmdTarget.h"

#include <exception>
#include <new>
#include <string>

#include "platform/Dialog.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "res/FrameworkStrings.h"
#include "res/Strings.h"

namespace qov {

namespace {

const char* FileErrorTemplate(CFileException::Cause cause) {
  switch (cause) {
    case CFileException::none:
      return text::kFileErrorNone;
    case CFileException::genericException:
      return text::kFileErrorGeneric;
    case CFileException::fileNotFound:
      return text::kFileErrorNotFound;
    case CFileException::badPath:
      return text::kFileErrorBadPath;
    case CFileException::tooManyOpenFiles:
      return text::kFileErrorTooManyOpen;
    case CFileException::accessDenied:
      return text::kFileErrorAccessDenied;
    case CFileException::invalidFile:
      return text::kFileErrorInvalidFile;
    case CFileException::removeCurrentDir:
      return text::kFileErrorRemoveCurrent;
    case CFileException::directoryFull:
      return text::kFileErrorDirFull;
    case CFileException::badSeek:
      return text::kFileErrorBadSeek;
    case CFileException::hardIO:
      return text::kFileErrorHardIO;
    case CFileException::sharingViolation:
      return text::kFileErrorSharing;
    case CFileException::lockViolation:
      return text::kFileErrorLocking;
    case CFileException::diskFull:
      return text::kFileErrorDiskFull;
    case CFileException::endOfFile:
      return text::kFileErrorEndOfFile;
  }
  return text::kFileErrorGeneric;
}

std::string FileErrorText(const CFileException& e) {
  return FormatString(FileErrorTemplate(e.m_cause),
                      e.m_strFileName.empty() ? text::kUnnamedFile : e.m_strFileName);
}

// The boundary must return whatever happens: a message that cannot be shown
// (no memory left even for its text) is given up.
void Report(const char* message, UINT type) noexcept {
  try {
    AfxMessageBox(message, type);
  } catch (...) {
  }
}

void ReportFileError(const CFileException& e) noexcept {
  try {
    AfxMessageBox(FileErrorText(e), MB_ICONSTOP);
  } catch (...) {
  }
}

}  // namespace

bool CCmdTarget::OnCmdMsg(UINT /*nID*/, CCmdUI* /*pCmdUI*/) {
  return false;
}

void UpdateCommandUI(CCmdTarget& root, CCmdUI& ui) {
  if (!root.OnCmdMsg(ui.m_nID, &ui))
    ui.Enable(false);
}

// Running out of memory is a warning, as the framework gave it; anything
// else that escapes a command is shown as a stop. A CUserException means the
// user has been told already.
bool ExecuteCommand(CCmdTarget& root, UINT nID) {
  try {
    CCmdUI ui(nID);
    UpdateCommandUI(root, ui);
    if (!ui.m_bEnabled)
      return false;
    return root.OnCmdMsg(nID, nullptr);
  } catch (const std::bad_alloc&) {
    Report(text::kOutOfMemory, MB_ICONEXCLAMATION);
  } catch (const CFileException& e) {
    ReportFileError(e);
  } catch (const CUserException&) {
  } catch (...) {
    Report(text::kCommandFailed, MB_ICONSTOP);
  }
  return false;
}

}  // namespace qov
