#include "shell/RecentFileList.h"

#include <algorithm>

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

CRecentFileList::CRecentFileList(std::string section, std::string entryFormat, int size)
    : m_strSectionName(std::move(section)),
      m_strEntryFormat(std::move(entryFormat)),
      m_nSize(size) {}

void CRecentFileList::Add(const std::string& path) {
  if (path.empty() || m_nSize <= 0)
    return;
  std::erase(m_paths, path);
  m_paths.insert(m_paths.begin(), path);
  if (m_paths.size() > static_cast<std::size_t>(m_nSize)) {
    m_paths.resize(static_cast<std::size_t>(m_nSize));
  }
}

void CRecentFileList::Remove(int index) {
  if (index < 0 || index >= GetCount())
    return;
  m_paths.erase(m_paths.begin() + index);
}

std::string CRecentFileList::GetDisplayName(int index, std::size_t maxLength) const {
  return "&" + std::to_string(index + 1) + " " +
         EscapeAmpersands(Abbreviate((*this)[index], maxLength));
}

std::string CRecentFileList::EntryName(int index) const {
  std::string name = m_strEntryFormat;
  const std::size_t at = name.find("%d");
  if (at != std::string::npos)
    name.replace(at, 2, std::to_string(index + 1));
  return name;
}

void CRecentFileList::ReadList(const ISettings& settings) {
  m_paths.clear();
  for (int i = 0; i < m_nSize; ++i) {
    auto value = settings.Read(m_strSectionName, EntryName(i));
    if (value && !value->empty() &&
        std::find(m_paths.begin(), m_paths.end(), *value) == m_paths.end()) {
      m_paths.push_back(*value);
    }
  }
}

void CRecentFileList::WriteList(ISettings& settings) const {
  for (int i = 0; i < m_nSize; ++i) {
    if (i < GetCount()) {
      settings.Write(m_strSectionName, EntryName(i), (*this)[i]);
    } else {
      settings.Remove(m_strSectionName, EntryName(i));
    }
  }
}

}  // namespace qov
