#pragma once
// The application lock of automation. Every automation object holds one for
// as long as it exists. When the program runs only for its automation
// clients (the user does not control it), giving back the last lock ends it.

namespace qov {

void AfxOleLockApp();
void AfxOleUnlockApp();
// True when no object holds a lock.
bool AfxOleCanExitApp();

// Whether the user controls the program. True unless the program was
// started for automation clients (COleObjectFactory::RegisterAll).
bool AfxOleGetUserCtrl();
void AfxOleSetUserCtrl(bool userCtrl);

// The last lock went: a program the user does not control ends, through the
// handler its message loop installed. Never throws: it runs in destructors.
void AfxOleOnReleaseAllObjects() noexcept;

// What ending the program means: the application shell installs it with
// its application backend. Without one (the batch converter, the tests of
// the system's code) there is nothing to end. Null for none.
using OleReleaseHandler = void (*)() noexcept;
void AfxOleSetReleaseHandler(OleReleaseHandler handler);

}  // namespace qov
