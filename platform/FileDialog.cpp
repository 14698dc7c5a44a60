// Open and save file dialogs: the settings a backend shows.

#include "platform/FileDialog.h"

#include <string_view>

#include "platform/Backend.h"

namespace qov {

namespace {

// The dialog appends the extension itself, so a leading dot is dropped.
std::string WithoutDot(const char* ext) {
  std::string_view view = ext ? ext : "";
  if (!view.empty() && view.front() == '.')
    view.remove_prefix(1);
  return std::string(view);
}

}  // namespace

CFileDialog::CFileDialog(bool openFileDialog, const char* defExt, const char* fileName, DWORD flags,
                         const char* filter)
    : m_bOpenFileDialog(openFileDialog),
      m_strDefExt(WithoutDot(defExt)),
      m_strFileName(fileName ? fileName : ""),
      m_dwFlags(flags),
      m_strFilter(filter ? filter : "") {}

std::intptr_t CFileDialog::DoModal() {
  return Platform().RunFileDialog(*this);
}

// The list ends at the first empty field where a description or its pattern
// is expected, as the "||" at the end of the string marks.
std::vector<std::pair<std::string, std::string>> CFileDialog::GetFilters() const {
  std::vector<std::pair<std::string, std::string>> filters;
  std::string_view rest = m_strFilter;
  const auto nextField = [&rest]() {
    const std::size_t bar = rest.find('|');
    const std::string_view field = rest.substr(0, bar);
    rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    return field;
  };
  while (!rest.empty()) {
    const std::string_view description = nextField();
    const std::string_view pattern = nextField();
    if (description.empty() || pattern.empty())
      break;
    filters.emplace_back(description, pattern);
  }
  return filters;
}

}  // namespace qov
