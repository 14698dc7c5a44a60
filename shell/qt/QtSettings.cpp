#include "shell/qt/QtSettings.h"

namespace qov {

QtSettings::QtSettings(const std::string& registryKey, const std::string& appName)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(registryKey),
                 QString::fromStdString(appName)) {}

QString QtSettings::Key(const std::string& section, const std::string& entry) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(entry);
}

std::optional<std::string> QtSettings::Read(const std::string& section,
                                            const std::string& entry) const {
  const QVariant value = m_settings.value(Key(section, entry));
  if (!value.isValid())
    return std::nullopt;
  return value.toString().toStdString();
}

void QtSettings::Write(const std::string& section, const std::string& entry,
                       const std::string& value) {
  m_settings.setValue(Key(section, entry), QString::fromStdString(value));
  m_settings.sync();
}

void QtSettings::Remove(const std::string& section, const std::string& entry) {
  m_settings.remove(Key(section, entry));
  m_settings.sync();
}

}  // namespace qov
