// The texts of a file failure: the framework's Japanese message for the
// window, the system's English for the batch converter.

#include <string>

#include "platform/File.h"
#include "platform/FrameworkStrings.h"

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

}  // namespace

std::string FileErrorMessage(const CFileException& e) {
  std::string message = FormatString(
      FileErrorTemplate(e.m_cause), e.m_strFileName.empty() ? text::kUnnamedFile : e.m_strFileName);
  if (e.m_bOldContentsLost)
    message += text::kOldContentsLost;
  return message;
}

std::string FileErrorReason(const CFileException& e) {
  std::string reason = e.OsErrorText();
  if (e.m_bOldContentsLost)
    reason += reason::kOldContentsLost;
  return reason;
}

}  // namespace qov
