#include "shell/DocManager.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/Document.h"
#include "platform/FileDialog.h"
#include "platform/FrameworkStrings.h"
#include "platform/MessageBox.h"
#include "platform/Progress.h"
#include "platform/WaitCursor.h"
#include "shell/DocTemplate.h"
#include "shell/WinApp.h"

namespace qov {
namespace {

const CSingleDocTemplate& Template() {
  CWinApp* app = AfxGetApp();
  if (!app || !app->GetDocTemplate())
    throw std::logic_error("no document template");
  return *app->GetDocTemplate();
}

std::string DocumentName(const CDocument& doc) {
  if (!doc.GetTitle().empty())
    return doc.GetTitle();
  return text::kUntitled;
}

// The window speaks Japanese: the document's message, never its English reason.
std::string ReasonOf(const CDocument& doc) {
  return doc.GetFailureMessage().empty() ? text::kUnknownReason : doc.GetFailureMessage();
}

// The title as a file name: up to the first character that a name should
// not carry, then the template's extension.
std::string ProposedName(const CDocument& doc, const CSingleDocTemplate& tmpl) {
  std::string name = DocumentName(doc);
  const std::size_t bad = name.find_first_of(" #%;/\\");
  if (bad != std::string::npos)
    name.resize(bad);
  return name + tmpl.GetDocString(CSingleDocTemplate::filterExt);
}

// `path` with the template's extension in place of its own (scan.tif →
// scan.bmp); unchanged when it already has it, in any case.
std::string AsTemplateFile(const std::string& path, const CSingleDocTemplate& tmpl) {
  const std::string ext = tmpl.GetDocString(CSingleDocTemplate::filterExt);
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string own = hasExt ? path.substr(dot) : std::string();
  if (path.empty() || ext.empty() ||
      std::equal(own.begin(), own.end(), ext.begin(), ext.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
      }))
    return path;
  return (hasExt ? path.substr(0, dot) : path) + ext;
}

}  // namespace

bool SaveModified(CDocument& doc) {
  if (!doc.IsModified())
    return true;
  const std::string prompt = FormatString(text::kAskToSave, DocumentName(doc));
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
      return false;
    case IDYES:
      return DoFileSave(doc);
    default:
      return true;
  }
}

bool DoFileSave(CDocument& doc) {
  const std::string& path = doc.GetPathName();
  const bool readOnly =
      !path.empty() && ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
  // A picture opened from another format is never overwritten by a save in
  // the template's format: the user picks the file.
  const CWinApp* app = AfxGetApp();
  const bool otherFormat =
      app && app->GetDocTemplate() && path != AsTemplateFile(path, *app->GetDocTemplate());
  return DoSave(doc, path.empty() || readOnly || otherFormat ? nullptr : &path);
}

bool DoSave(CDocument& doc, const std::string* pathName, bool replace) {
  std::string newName;
  if (pathName) {
    newName = *pathName;
  } else {
    const CSingleDocTemplate& tmpl = Template();
    newName = AsTemplateFile(doc.GetPathName(), tmpl);
    if (replace && newName.empty())
      newName = ProposedName(doc, tmpl);
    if (!DoPromptFileName(newName, false, tmpl))
      return false;
  }
  bool saved = false;
  {
    const CCommandProgress progress;
    CWaitCursor wait;
    saved = doc.OnSaveDocument(newName);
  }
  // A failed save leaves the chosen file alone: it may be one the user had
  // before, and the document writes through a temporary file anyway.
  if (!saved) {
    ReportSaveFailure(doc, newName);
    return false;
  }
  if (replace) {
    doc.SetPathName(newName);
    if (CWinApp* app = AfxGetApp())
      app->AddToRecentFileList(newName);
  }
  return true;
}

bool DoPromptFileName(std::string& fileName, bool openFileDialog, const CSingleDocTemplate& tmpl) {
  std::string filter;
  if (openFileDialog) {
    // The name shows the patterns, as the other entries' names do.
    std::string shown = text::kPicturePatterns;
    std::replace(shown.begin(), shown.end(), ';', ' ');
    filter +=
        std::string(text::kPictureFilter) + " (" + shown + ")|" + text::kPicturePatterns + "|";
  }
  const std::string filterName = tmpl.GetDocString(CSingleDocTemplate::filterName);
  const std::string ext = tmpl.GetDocString(CSingleDocTemplate::filterExt);
  if (!filterName.empty() && !ext.empty())
    filter += filterName + "|*" + ext + "|";
  filter += std::string(text::kAllFilter) + "|*.*||";
  const std::string defExt = !ext.empty() && ext[0] == '.' ? ext.substr(1) : ext;
  const DWORD flags = openFileDialog ? OFN_HIDEREADONLY | OFN_FILEMUSTEXIST
                                     : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  CFileDialog dlg(openFileDialog, openFileDialog ? nullptr : defExt.c_str(),
                  fileName.empty() ? nullptr : fileName.c_str(), flags, filter.c_str());
  if (dlg.DoModal() != IDOK)
    return false;
  fileName = dlg.GetPathName();
  return true;
}

void ReportOpenFailure(const CDocument& doc, const std::string& path) {
  AfxMessageBox(FormatString(text::kFailedToOpenDoc, path, ReasonOf(doc)),
                MB_OK | MB_ICONEXCLAMATION);
}

void ReportSaveFailure(const CDocument& doc, const std::string& path) {
  AfxMessageBox(FormatString(text::kFailedToSaveDoc, path, ReasonOf(doc)),
                MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace qov
