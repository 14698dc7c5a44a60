#include "tests/desktop/DesktopSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <filesystem>

namespace qov::test {

QString QovProgram() {
  return QStringLiteral(QOV_BINARY_DIR "/app/qov");
}

QProcessEnvironment HomeEnvironment(const std::string& home) {
  const QString root = QString::fromStdString(home);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* folder : {"run", "config", "data"})
    QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
  // The runtime folder must be the user's alone, or Qt will not use it.
  QFile::setPermissions(root + QStringLiteral("/run"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/run"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=false"));
  return env;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  return QTest::qWaitFor(done, timeoutMs);
}

bool WaitForEnd(QProcess& process, int timeoutMs) {
  if (WaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs))
    return true;
  process.kill();
  process.waitForFinished();
  return false;
}

QString RecentFile(const std::string& home) {
  const QSettings settings(
      QString::fromStdString(home) +
          QStringLiteral("/config/Local AppWizard-Generated Applications/QOV_V2.conf"),
      QSettings::IniFormat);
  return settings.value(QStringLiteral("Recent File List/File1")).toString();
}

}  // namespace qov::test
