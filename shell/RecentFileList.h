#pragma once
// The most-recently-used file list: full paths, newest first, kept in the
// profile as section "Recent File List", entries File1, File2, ... A file
// of several pages keeps the page that was opened beside its path, in
// Page1, Page2, ...; an entry without one (any other file, or one kept
// before pages were) has page 0.

#include <cstddef>
#include <string>
#include <vector>

namespace qov {

class ISettings;

class CRecentFileList {
 public:
  CRecentFileList(std::string section, std::string entryFormat, int size,
                  std::string pageEntryFormat = "Page%d");

  // Puts `path` with its `page` first, dropping an earlier entry for the
  // same path and the oldest one when the list is full.
  void Add(const std::string& path, int page = 0);
  void Remove(int index);
  int GetSize() const { return m_nSize; }
  int GetCount() const { return static_cast<int>(m_entries.size()); }
  const std::string& operator[](int index) const {
    return m_entries.at(static_cast<std::size_t>(index)).path;
  }
  int GetPage(int index) const { return m_entries.at(static_cast<std::size_t>(index)).page; }

  // The menu text of entry `index`: "&1 " and the path shortened to about
  // `maxLength` characters (the file name is always kept whole), with "&"
  // doubled so that it shows; then " (2ページ目)" for its page, if any.
  std::string GetDisplayName(int index, std::size_t maxLength = 30) const;

  void ReadList(const ISettings& settings);
  void WriteList(ISettings& settings) const;

 private:
  struct Entry {
    std::string path;
    int page = 0;
  };

  std::string m_strSectionName;
  std::string m_strEntryFormat;
  std::string m_strPageEntryFormat;
  int m_nSize;
  std::vector<Entry> m_entries;
};

}  // namespace qov
