#pragma once
// The most-recently-used file list: full paths, newest first, kept in the
// profile as section "Recent File List", entries File1, File2, ...

#include <string>
#include <vector>

namespace qov {

class ISettings;

class CRecentFileList {
 public:
  CRecentFileList(std::string section, std::string entryFormat, int size);

  // Puts `path` first, dropping an earlier entry for the same path and the
  // oldest one when the list is full.
  void Add(const std::string& path);
  void Remove(int index);
  int GetSize() const { return m_nSize; }
  int GetCount() const { return static_cast<int>(m_paths.size()); }
  const std::string& operator[](int index) const {
    return m_paths.at(static_cast<std::size_t>(index));
  }

  // The menu text of entry `index`: "&1 " and the path shortened to about
  // `maxLength` characters (the file name is always kept whole), with "&"
  // doubled so that it shows.
  std::string GetDisplayName(int index, std::size_t maxLength = 30) const;

  void ReadList(const ISettings& settings);
  void WriteList(ISettings& settings) const;

 private:
  std::string EntryName(int index) const;

  std::string m_strSectionName;
  std::string m_strEntryFormat;
  int m_nSize;
  std::vector<std::string> m_paths;
};

}  // namespace qov
