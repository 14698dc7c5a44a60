#pragma once
// What the desktop integration tests share: `qov` run as a program of its
// own, in a home of the test's own (runtime, settings and data folders), and
// waits that keep this process's event loop turning.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <functional>
#include <string>

namespace qov::test {

// The desktop program of this build.
QString QovProgram();

// The environment of a `qov` whose runtime, settings and data folders lie
// in `home` (made as needed), offscreen.
QProcessEnvironment HomeEnvironment(const std::string& home);

// Waits, with the event loop running, until `done` holds; false on timeout.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000);
// Waits until `process` has ended; kills it and returns false on timeout.
bool WaitForEnd(QProcess& process, int timeoutMs = 20000);

// The first entry of the recent-file list kept under `home`, "" if none.
QString RecentFile(const std::string& home);

}  // namespace qov::test
