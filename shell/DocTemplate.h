#pragma once
// The single-document template: binds the document, frame and view classes
// to one resource id, creates them, and opens files into the one document.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace qov {

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate {
 public:
  // The fields of the template string, in its order.
  enum DocStringIndex {
    windowTitle,
    docName,
    fileNewName,
    filterName,
    filterExt,
    regFileTypeId,
    regFileTypeName
  };
  using DocFactory = std::function<std::unique_ptr<CDocument>()>;
  using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
  using ViewFactory = std::function<std::unique_ptr<CView>()>;
  // The sizes of the pages of the file at `path`, in pixels; fewer than two
  // for a file of one page or none, or one that cannot be read.
  using PageLister = std::function<std::vector<CSize>(const std::string& path)>;
  // Tells `doc` the page (from 1) its next OnOpenDocument reads; 0 for a
  // file that was not asked for a page.
  using PageSetter = std::function<void(CDocument& doc, int page)>;

  // The template string is string resource `resourceId`.
  CSingleDocTemplate(UINT resourceId, DocFactory newDoc, FrameFactory newFrame,
                     ViewFactory newView);
  ~CSingleDocTemplate();
  CSingleDocTemplate(const CSingleDocTemplate&) = delete;
  CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

  UINT GetResourceId() const { return m_nIDResource; }
  // The field, "" when the string has none.
  std::string GetDocString(DocStringIndex index) const;

  // With a path: asks to save the modified document, then opens the file into
  // the one document; on failure tells the user (file name and reason) and
  // leaves the document as it was. Without: a new, untitled document. The
  // frame and view are created the first time, not shown. Null on failure or
  // when the user cancelled.
  //
  // `page` (from 1) is the page of a multi-page file to open; with 0, the
  // dialog "ページの選択" first asks which one when the page handlers find
  // several pages, and its Cancel opens nothing.
  CDocument* OpenDocumentFile(const std::optional<std::string>& path, int page = 0);
  void SetDefaultTitle(CDocument& doc) const;
  // For a document class whose files can hold several pages; without them
  // no file asks for a page.
  void SetPageHandlers(PageLister listPages, PageSetter setPage);
  // A document of the template's class on its own, outside the template.
  std::unique_ptr<CDocument> CreateNewDocument() const;

  // True when the last OpenDocumentFile failed to read its file (not when the
  // user cancelled).
  bool OpenFailed() const { return m_bOpenFailed; }

 private:
  void CreateFrameAndView();
  // 0 for a file of fewer than two pages, the page chosen in the dialog, or
  // nothing when the user cancelled it.
  std::optional<int> AskPage(const std::string& path) const;
  bool OpenInto(CDocument& doc, const std::string& path, int page);

  UINT m_nIDResource;
  DocFactory m_newDoc;
  FrameFactory m_newFrame;
  ViewFactory m_newView;
  PageLister m_listPages;
  PageSetter m_setPage;
  // Declared before the frame, so that the frame and its view go first.
  std::unique_ptr<CDocument> m_pOnlyDoc;
  std::unique_ptr<CFrameWnd> m_pFrame;
  bool m_bOpenFailed = false;
};

}  // namespace qov
