#pragma once
// Profile settings in the user's settings store: organisation = the
// registry key, application = the application's name, one group per
// section.

#include <QSettings>

#include "shell/Settings.h"

namespace qov {

class QtSettings : public ISettings {
 public:
  QtSettings(const std::string& registryKey, const std::string& appName);

  std::optional<std::string> Read(const std::string& section,
                                  const std::string& entry) const override;
  void Write(const std::string& section, const std::string& entry,
             const std::string& value) override;
  void Remove(const std::string& section, const std::string& entry) override;

 private:
  static QString Key(const std::string& section, const std::string& entry);

  mutable QSettings m_settings;
};

}  // namespace qov
