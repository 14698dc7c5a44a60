#pragma once
// Profile settings: string values by section and entry, kept where the
// backend keeps them (the Qt backend: the user's settings store under the
// registry key and the application's name).

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace qov {

class ISettings {
 public:
  virtual ~ISettings() = default;
  virtual std::optional<std::string> Read(const std::string& section,
                                          const std::string& entry) const = 0;
  virtual void Write(const std::string& section, const std::string& entry,
                     const std::string& value) = 0;
  virtual void Remove(const std::string& section, const std::string& entry) = 0;
};

// Settings that live as long as the object: used when no backend keeps
// them (tests, or before a registry key is set).
class CMemorySettings : public ISettings {
 public:
  std::optional<std::string> Read(const std::string& section,
                                  const std::string& entry) const override;
  void Write(const std::string& section, const std::string& entry,
             const std::string& value) override;
  void Remove(const std::string& section, const std::string& entry) override;

 private:
  std::map<std::pair<std::string, std::string>, std::string> m_values;
};

}  // namespace qov
