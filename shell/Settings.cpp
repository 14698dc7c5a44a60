#include "shell/Settings.h"

namespace qov {

std::optional<std::string> CMemorySettings::Read(const std::string& section,
                                                 const std::string& entry) const {
  auto it = m_values.find({section, entry});
  if (it == m_values.end())
    return std::nullopt;
  return it->second;
}

void CMemorySettings::Write(const std::string& section, const std::string& entry,
                            const std::string& value) {
  m_values[{section, entry}] = value;
}

void CMemorySettings::Remove(const std::string& section, const std::string& entry) {
  m_values.erase({section, entry});
}

}  // namespace qov
