#pragma once
// The platform tests' own resources, installed in place of the system's: a
// message box title, a menu, an accelerator table and two dialogs with
// every kind of control the tests exchange.

#include "platform/Resources.h"

namespace qov::test {

inline constexpr const char* kFakeAppTitle = "Fake title";
inline constexpr UINT IDR_FAKE = 1;
inline constexpr UINT IDD_FAKE_EXCHANGE = 2;
inline constexpr UINT IDD_FAKE_RADIO = 3;
inline constexpr int IDC_FAKE_TRACKBAR = 10;
inline constexpr int IDC_FAKE_CHECK = 11;
inline constexpr int IDC_FAKE_EDIT = 12;
inline constexpr int IDC_FAKE_RADIO_FIRST = 13;
inline constexpr int IDC_FAKE_RADIO_SECOND = 14;
inline constexpr const char* kFakeSecondOption = "second option";

const CResources& FakeResources();

// Installs FakeResources() for its lifetime.
class ScopedFakeResources {
 public:
  ScopedFakeResources() : m_previous(SetResources(&FakeResources())) {}
  ~ScopedFakeResources() { SetResources(m_previous); }
  ScopedFakeResources(const ScopedFakeResources&) = delete;
  ScopedFakeResources& operator=(const ScopedFakeResources&) = delete;

 private:
  const CResources* m_previous;
};

}  // namespace qov::test
