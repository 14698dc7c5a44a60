// Modal dialogs: the controls' state, the base handlers, and what a person
// does to the controls.

#include "platform/Dialog.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/Backend.h"

namespace qov {

namespace {

// Fresh controls, as the window would create them from the template.
std::map<int, ControlState> ControlsOf(const DialogTemplate& tmpl) {
  std::map<int, ControlState> controls;
  for (const DialogControlTemplate& control : tmpl.controls) {
    if (control.id != IDC_STATIC)
      controls[control.id].text = control.text;
  }
  return controls;
}

[[noreturn]] void ThrowNoControl(int id) {
  throw std::logic_error("the dialog has no control " + std::to_string(id));
}

// The wParam position of WM_HSCROLL only means something for the thumb codes.
UINT ScrollPos(UINT sbCode, int pos) {
  const bool thumb = sbCode == TB_THUMBPOSITION || sbCode == TB_THUMBTRACK;
  return thumb ? static_cast<UINT>(pos) : 0;
}

}  // namespace

CDialog::CDialog(UINT templateId)
    : m_nIDTemplate(templateId), m_controls(ControlsOf(GetTemplate())) {}

std::intptr_t CDialog::DoModal() {
  m_controls = ControlsOf(GetTemplate());
  m_bEnded = false;
  m_nResult = IDCANCEL;
  m_nFocus = 0;
  return Platform().RunModalDialog(*this);
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true))
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CUserException&) {
    return false;
  }
  return true;
}

void CDialog::EndDialog(int result) {
  m_bEnded = true;
  m_nResult = result;
}

std::string CDialog::GetDlgItemText(int id) const {
  return GetControlState(id).text;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
  State(id).text = text;
  Changed(id);
  const DialogControlTemplate* control = FindControl(id);
  if (control && control->kind == DialogControlTemplate::Edit)
    OnCommandNotify(id, EN_CHANGE);
}

int CDialog::IsDlgButtonChecked(int id) const {
  return GetControlState(id).check;
}

void CDialog::CheckDlgButton(int id, int check) {
  State(id).check = check;
  Changed(id);
}

int CDialog::GetTrackbarPos(int id) const {
  return GetControlState(id).pos;
}

void CDialog::SetTrackbarPos(int id, int pos) {
  ControlState& state = State(id);
  state.pos = std::clamp(pos, state.rangeMin, std::max(state.rangeMin, state.rangeMax));
  Changed(id);
}

// Like the native trackbar, a new end of the range pulls the position along.
void CDialog::SetTrackbarRangeMin(int id, int min) {
  ControlState& state = State(id);
  state.rangeMin = min;
  state.pos = std::max(state.pos, min);
  Changed(id);
}

void CDialog::SetTrackbarRangeMax(int id, int max) {
  ControlState& state = State(id);
  state.rangeMax = max;
  state.pos = std::min(state.pos, max);
  Changed(id);
}

void CDialog::SetTrackbarTicFreq(int id, int freq) {
  State(id).ticFreq = freq;
  Changed(id);
}

void CDialog::GotoDlgCtrl(int id, bool selectAll) {
  m_nFocus = id;
  if (m_pHost)
    m_pHost->FocusControl(id, selectAll);
}

void CDialog::UserSetText(int id, const std::string& text) {
  SetDlgItemText(id, text);
}

void CDialog::UserMoveTrackbar(int id, int pos, UINT sbCode) {
  SetTrackbarPos(id, pos);
  OnHScroll(sbCode, ScrollPos(sbCode, GetTrackbarPos(id)), id);
}

void CDialog::UserClick(int id) {
  const DialogControlTemplate* control = FindControl(id);
  if (!control)
    ThrowNoControl(id);
  switch (control->kind) {
    case DialogControlTemplate::CheckBox:
      CheckDlgButton(id, IsDlgButtonChecked(id) ? 0 : 1);
      OnCommandNotify(id, BN_CLICKED);
      break;
    case DialogControlTemplate::RadioButton:
      for (int button : GetRadioGroup(id))
        CheckDlgButton(button, button == id ? 1 : 0);
      OnCommandNotify(id, BN_CLICKED);
      break;
    case DialogControlTemplate::PushButton:
    case DialogControlTemplate::DefPushButton:
      if (id == IDOK) {
        OnOK();
      } else if (id == IDCANCEL) {
        OnCancel();
      } else {
        OnCommandNotify(id, BN_CLICKED);
      }
      break;
    default:
      break;
  }
}

const DialogTemplate& CDialog::GetTemplate() const {
  const DialogTemplate* tmpl = FindDialogTemplate(m_nIDTemplate);
  if (!tmpl)
    throw std::logic_error("no dialog template " + std::to_string(m_nIDTemplate));
  return *tmpl;
}

const ControlState& CDialog::GetControlState(int id) const {
  const auto it = m_controls.find(id);
  if (it == m_controls.end())
    ThrowNoControl(id);
  return it->second;
}

std::vector<int> CDialog::GetRadioGroup(int id) const {
  const std::vector<DialogControlTemplate>& controls = GetTemplate().controls;
  const auto at = std::find_if(controls.begin(), controls.end(),
                               [id](const DialogControlTemplate& c) { return c.id == id; });
  if (at == controls.end())
    ThrowNoControl(id);
  auto first = at;
  while (first != controls.begin() && !(first->style & WS_GROUP))
    --first;
  auto last = std::next(at);
  while (last != controls.end() && !(last->style & WS_GROUP))
    ++last;
  std::vector<int> group;
  for (auto it = first; it != last; ++it) {
    if (it->kind == DialogControlTemplate::RadioButton)
      group.push_back(it->id);
  }
  return group;
}

ControlState& CDialog::State(int id) {
  return const_cast<ControlState&>(std::as_const(*this).GetControlState(id));
}

const DialogControlTemplate* CDialog::FindControl(int id) const {
  for (const DialogControlTemplate& control : GetTemplate().controls) {
    if (control.id == id)
      return &control;
  }
  return nullptr;
}

void CDialog::Changed(int id) {
  if (m_pHost)
    m_pHost->ControlChanged(id);
}

}  // namespace qov
