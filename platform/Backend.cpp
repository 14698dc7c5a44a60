// The backend in force, and the services that reach it directly: the
// message box, the wait cursor and the clipboard.

#include "platform/Backend.h"

#include <stdexcept>
#include <utility>

#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "platform/StringTable.h"
#include "platform/WaitCursor.h"

namespace qov {

namespace {
IPlatformBackend* g_pBackend = nullptr;
}  // namespace

IPlatformBackend& Platform() {
  if (!g_pBackend)
    throw std::logic_error("no platform backend installed");
  return *g_pBackend;
}

IPlatformBackend* SetPlatformBackend(IPlatformBackend* backend) {
  return std::exchange(g_pBackend, backend);
}

// The help id has no meaning without a help file; it is accepted for the
// callers' sake.
int AfxMessageBox(const std::string& text, UINT type, UINT /*helpId*/) {
  return Platform().MessageBox(text, LoadString(IDS_APP_TITLE), type);
}

CWaitCursor::CWaitCursor() : m_bActive(true) {
  Platform().BeginWaitCursor();
}

void CWaitCursor::End() {
  if (!m_bActive)
    return;
  m_bActive = false;
  Platform().EndWaitCursor();
}

// The backend keeps no owner: one program shares one clipboard.
bool OpenClipboard(CWnd* /*owner*/) {
  return Platform().OpenClipboard();
}

bool CloseClipboard() {
  return Platform().CloseClipboard();
}

bool EmptyClipboard() {
  return Platform().EmptyClipboard();
}

HGLOBAL GetClipboardData(UINT format) {
  return Platform().GetClipboardData(format);
}

bool SetClipboardData(UINT format, CGlobalOwner&& block) {
  return Platform().SetClipboardData(format, std::move(block));
}

bool IsClipboardFormatAvailable(UINT format) {
  return Platform().IsClipboardFormatAvailable(format);
}

}  // namespace qov
