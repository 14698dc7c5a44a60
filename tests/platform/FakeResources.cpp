#include "tests/platform/FakeResources.h"

#include <array>

#include "platform/FrameworkIds.h"

namespace qov::test {
namespace {

using C = DialogControlTemplate;

const DialogTemplate kExchange{
    IDD_FAKE_EXCHANGE,
    "exchange",
    "Sans",
    9,
    180,
    60,
    {
        {IDOK, C::DefPushButton, "OK", 120, 7, 50, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "Cancel", 120, 24, 50, 14, WS_TABSTOP},
        {IDC_FAKE_TRACKBAR, C::Trackbar, "", 10, 10, 100, 11, TBS_HORZ | WS_TABSTOP},
        {IDC_FAKE_CHECK, C::CheckBox, "check", 10, 40, 40, 10, WS_TABSTOP},
        {IDC_FAKE_EDIT, C::Edit, "", 60, 40, 20, 14, WS_BORDER | WS_TABSTOP},
    }};

// The radio group runs from the first button, which starts a group, to the
// end; the buttons before it belong to another group.
const DialogTemplate kRadio{
    IDD_FAKE_RADIO,
    "radio",
    "Sans",
    9,
    180,
    80,
    {
        {IDOK, C::DefPushButton, "OK", 120, 7, 50, 14, WS_TABSTOP},
        {IDCANCEL, C::PushButton, "Cancel", 120, 24, 50, 14, WS_TABSTOP},
        {IDC_STATIC, C::Static, "choose", 10, 10, 100, 10, WS_GROUP},
        {IDC_FAKE_RADIO_FIRST, C::RadioButton, "first option", 10, 30, 100, 12,
         WS_GROUP | WS_TABSTOP},
        {IDC_FAKE_RADIO_SECOND, C::RadioButton, kFakeSecondOption, 10, 50, 100, 12, 0},
    }};

const std::array<StringResource, 1> kStrings{{{IDS_APP_TITLE, kFakeAppTitle}}};
const MenuItem kNew{MenuItem::Command, "new", ID_FILE_NEW, false, {}};
const std::array<MenuResource, 1> kMenus{
    {{IDR_FAKE, {{MenuItem::Popup, "menu", 0, false, {kNew}}}}}};
constexpr std::array<Accelerator, 1> kKeys{{{FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW}}};
constexpr std::array<AcceleratorTable, 1> kAccelerators{{{IDR_FAKE, kKeys}}};
const std::array<const DialogTemplate*, 2> kDialogs{&kExchange, &kRadio};

}  // namespace

const CResources& FakeResources() {
  static const CResources resources{kStrings, kMenus, kAccelerators, kDialogs};
  return resources;
}

}  // namespace qov::test
