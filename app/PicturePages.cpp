#include "app/PicturePages.h"

#include <algorithm>

#include "image/QOV_V2Doc.h"
#include "platform/File.h"

namespace qov {
namespace {

// None for a file that cannot be read: the open itself then says why.
std::vector<CSize> ListPages(const std::string& path) {
  std::vector<PicturePageSize> pages;
  try {
    CFile file(path, CFile::modeRead);
    pages = ListPictureFilePages(file);
  } catch (const CFileException&) {
    return {};
  }
  std::vector<CSize> sizes;
  for (const PicturePageSize& page : pages)
    sizes.push_back({page.width, page.height});
  return sizes;
}

}  // namespace

void ConnectPicturePages(CSingleDocTemplate& tmpl) {
  tmpl.SetPageHandlers(ListPages, [](CDocument& doc, int page) {
    static_cast<CQOV_V2Doc&>(doc).m_readOptions.page = std::max(page, 1);
  });
}

}  // namespace qov
