#include "shell/RecentFileList.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "res/Strings.h"
#include "shell/Settings.h"

namespace qov {
namespace {

// Characters, not bytes: the paths are UTF-8.
std::size_t Utf8Length(const std::string& s) {
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Abbreviate(const std::string& path, std::size_t maxLength) {
  if (Utf8Length(path) <= maxLength)
    return path;
  const std::size_t lastSlash = path.rfind('/');
  if (lastSlash == std::string::npos || lastSlash == 0)
    return path;
  // Keep the root and as many trailing folders as fit, then the name.
  const std::string root = path.substr(0, path.find('/', 1) + 1);
  std::string tail = path.substr(lastSlash);
  std::size_t cut = lastSlash;
  while (cut > root.size()) {
    const std::size_t prev = path.rfind('/', cut - 1);
    if (prev == std::string::npos || prev + 1 < root.size())
      break;
    const std::string longer = path.substr(prev, cut - prev) + tail;
    if (Utf8Length(root) + 3 + Utf8Length(longer) > maxLength)
      break;
    tail = longer;
    cut = prev;
  }
  if (cut <= root.size())
    return path;
  return root + "..." + tail;
}

std::string EntryName(const std::string& format, int index) {
  std::string name = format;
  const std::size_t at = name.find("%d");
  if (at != std::string::npos)
    name.replace(at, 2, std::to_string(index + 1));
  return name;
}

// A page kept by an older or a damaged profile reads as none.
int ReadPage(const std::optional<std::string>& text) {
  int page = 0;
  if (!text)
    return 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, page);
  return error == std::errc() && stop == end && page > 0 ? page : 0;
}

std::string EscapeAmpersands(const std::string& s) {
  std::string out;
  for (char c : s) {
    out += c;
    if (c == '&')
      out += '&';
  }
  return out;
}

}  // namespace

CRecentFileList::CRecentFileList(std::string section, std::string entryFormat, int size,
                                 std::string pageEntryFormat)
    : m_strSectionName(std::move(section)),
      m_strEntryFormat(std::move(entryFormat)),
      m_strPageEntryFormat(std::move(pageEntryFormat)),
      m_nSize(size) {}

void CRecentFileList::Add(const std::string& path, int page) {
  if (path.empty() || m_nSize <= 0)
    return;
  std::erase_if(m_entries, [&](const Entry& e) { return e.path == path; });
  m_entries.insert(m_entries.begin(), Entry{path, page});
  if (m_entries.size() > static_cast<std::size_t>(m_nSize)) {
    m_entries.resize(static_cast<std::size_t>(m_nSize));
  }
}

void CRecentFileList::Remove(int index) {
  if (index < 0 || index >= GetCount())
    return;
  m_entries.erase(m_entries.begin() + index);
}

std::string CRecentFileList::GetDisplayName(int index, std::size_t maxLength) const {
  std::string name = "&" + std::to_string(index + 1) + " " +
                     EscapeAmpersands(Abbreviate((*this)[index], maxLength));
  if (GetPage(index) > 0)
    name += " (" + std::to_string(GetPage(index)) + text::kRecentFilePage + ")";
  return name;
}

void CRecentFileList::ReadList(const ISettings& settings) {
  m_entries.clear();
  for (int i = 0; i < m_nSize; ++i) {
    auto value = settings.Read(m_strSectionName, EntryName(m_strEntryFormat, i));
    if (value && !value->empty() &&
        std::none_of(m_entries.begin(), m_entries.end(),
                     [&](const Entry& e) { return e.path == *value; })) {
      m_entries.push_back(
          {*value, ReadPage(settings.Read(m_strSectionName, EntryName(m_strPageEntryFormat, i)))});
    }
  }
}

void CRecentFileList::WriteList(ISettings& settings) const {
  for (int i = 0; i < m_nSize; ++i) {
    const std::string entry = EntryName(m_strEntryFormat, i);
    const std::string pageEntry = EntryName(m_strPageEntryFormat, i);
    if (i < GetCount()) {
      settings.Write(m_strSectionName, entry, (*this)[i]);
    } else {
      settings.Remove(m_strSectionName, entry);
    }
    if (i < GetCount() && GetPage(i) > 0) {
      settings.Write(m_strSectionName, pageEntry, std::to_string(GetPage(i)));
    } else {
      settings.Remove(m_strSectionName, pageEntry);
    }
  }
}

}  // namespace qov
