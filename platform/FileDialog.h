#pragma once
// Open and save file dialogs.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Types.h"

namespace qov {

inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// Takes no owner window: the Qt backend shows it modal over whichever window
// is active (the frame, or a dialog above it), which is all an owner gave.
class CFileDialog {
 public:
  // `filter` is "description|pattern|description|pattern||".
  CFileDialog(bool openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr);
  virtual ~CFileDialog() = default;

  // Shown by the backend; IDOK with a chosen path, or IDCANCEL.
  virtual std::intptr_t DoModal();
  // The full path chosen.
  const std::string& GetPathName() const { return m_strPathName; }
  void SetPathName(std::string path) { m_strPathName = std::move(path); }

  bool IsOpenDialog() const { return m_bOpenFileDialog; }
  const std::string& GetDefExt() const { return m_strDefExt; }      // without the dot
  const std::string& GetFileName() const { return m_strFileName; }  // initial name
  DWORD GetFlags() const { return m_dwFlags; }
  // The (description, pattern) pairs of the filter string.
  std::vector<std::pair<std::string, std::string>> GetFilters() const;

 private:
  bool m_bOpenFileDialog;
  std::string m_strDefExt;
  std::string m_strFileName;
  DWORD m_dwFlags;
  std::string m_strFilter;
  std::string m_strPathName;
};

}  // namespace qov
