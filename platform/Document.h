#pragma once
// The framework's document base: modified flag, path and title, the views,
// and the new/open/save hooks. A failed open or save leaves two texts for
// its caller: the Japanese message the window shows and the English reason
// the batch converter prints.

#include <string>
#include <vector>

#include "platform/CmdTarget.h"

namespace qov {

class CFileException;
class CView;

class CDocument : public CCmdTarget {
 public:
  CDocument() = default;
  ~CDocument() override = default;
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  void SetModifiedFlag(bool modified = true) { m_bModified = modified; }
  bool IsModified() const { return m_bModified; }

  const std::string& GetPathName() const { return m_strPathName; }
  // Sets the path and the title (the path's file name).
  virtual void SetPathName(const std::string& path);
  const std::string& GetTitle() const { return m_strTitle; }
  virtual void SetTitle(const std::string& title);

  void AddView(CView* view);
  void RemoveView(CView* view);
  const std::vector<CView*>& GetViews() const { return m_views; }
  // Calls OnUpdate of every view but `sender`.
  void UpdateAllViews(CView* sender);

  // Base: DeleteContents, clears the modified flag, path and title.
  virtual bool OnNewDocument();
  // Base: opens the file for reading, to see that it can be read; on failure sets the reason and
  // returns false. It reads nothing and changes nothing.
  virtual bool OnOpenDocument(const std::string& path);
  // Base: nothing is written; returns false.
  virtual bool OnSaveDocument(const std::string& path);
  virtual void DeleteContents() {}

  // Why the last OnOpenDocument or OnSaveDocument failed ("" when it did
  // not): in Japanese for the window, in English for the batch converter.
  const std::string& GetFailureMessage() const { return m_strFailureMessage; }
  const std::string& GetFailureReason() const { return m_strFailureReason; }
  void SetFailure(std::string message, std::string reason);
  void SetFailure(const CFileException& e);
  void ClearFailure() { SetFailure({}, {}); }
  // What the last successful OnOpenDocument had to say although the file
  // opened ("" when nothing): shown by the window, printed by the batch
  // converter as a warning.
  const std::string& GetOpenWarningMessage() const { return m_strOpenWarningMessage; }
  const std::string& GetOpenWarningReason() const { return m_strOpenWarningReason; }
  void SetOpenWarning(std::string message, std::string reason) {
    m_strOpenWarningMessage = std::move(message);
    m_strOpenWarningReason = std::move(reason);
  }

 private:
  bool m_bModified = false;
  std::string m_strPathName;
  std::string m_strTitle;
  std::string m_strFailureMessage;
  std::string m_strFailureReason;
  std::string m_strOpenWarningMessage;
  std::string m_strOpenWarningReason;
  std::vector<CView*> m_views;
};

}  // namespace qov
