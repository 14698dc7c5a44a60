#pragma once
// Modal dialogs built from a template, with the framework's data exchange.
// The controls' state lives here, in the dialog object, so that the same
// dialog code runs with real widgets (the Qt backend mirrors this state) and
// without any (the headless backend, tests and the batch converter).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogTemplate.h"
#include "platform/Wnd.h"

namespace qov {

class CDialog;

// Notification codes.
inline constexpr UINT EN_CHANGE = 0x0300;
inline constexpr UINT BN_CLICKED = 0;
// Scroll codes of WM_HSCROLL from a trackbar.
inline constexpr UINT TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3,
                      TB_THUMBPOSITION = 4, TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7;

// The state of one control.
struct ControlState {
  std::string text;  // UTF-8
  int check = 0;     // check boxes and radio buttons: 0, 1 (or 2)
  int pos = 0;       // trackbar
  int rangeMin = 0;
  int rangeMax = 100;
  int ticFreq = 1;
};

// The live window of a running dialog, where there is one (Qt backend).
class IDialogHost {
 public:
  virtual ~IDialogHost() = default;
  // The program changed control `id`: show its new state.
  virtual void ControlChanged(int id) = 0;
  // Move the focus to control `id`, selecting all its text if asked.
  virtual void FocusControl(int id, bool selectAll) = 0;
};

// Thrown by CDataExchange::Fail to stop the exchange; caught by UpdateData.
struct CUserException {};

class CDataExchange {
 public:
  CDataExchange(CDialog* dlg, bool saveAndValidate)
      : m_pDlgWnd(dlg), m_bSaveAndValidate(saveAndValidate) {}
  // Focuses the last prepared control (selecting an edit box's text) and
  // throws CUserException.
  [[noreturn]] void Fail();
  void PrepareCtrl(int id) {
    m_idLastControl = id;
    m_bEditLastControl = false;
  }
  void PrepareEditCtrl(int id) {
    m_idLastControl = id;
    m_bEditLastControl = true;
  }

  CDialog* m_pDlgWnd;
  bool m_bSaveAndValidate;
  int m_idLastControl = 0;
  bool m_bEditLastControl = false;
};

// Towards the control a value outside 0 to 2 is first replaced by 0.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Decimal integer text. From the control, the text (at most its first 31
// characters) must be blanks or tabs, an optional sign, digits, blanks or
// tabs; a zero must begin with the digit 0. Otherwise the message box
// "整数を入力してください。" (exclamation) and Fail().
void DDX_Text(CDataExchange* pDX, int id, int& value);
// What edit-box text reads as by DDX_Text's rule for decimal integers, with
// values beyond ±10^12 saturated there; nothing when it is no integer.
std::optional<long long> ReadDialogInteger(std::string_view text);
// Decimal number text ("2", "0.35"): towards the control the shortest text
// that reads back as the value; from it, anything but blanks round a plain
// decimal number (no locale's comma), or a value that is not finite, gives the message box
// "数値を入力してください。" (exclamation) and Fail().
void DDX_Text(CDataExchange* pDX, int id, double& value);
// What edit-box text reads as by that rule for decimal numbers; nothing when
// it is none.
std::optional<double> ReadDialogNumber(std::string_view text);
// Trackbar position.
void DDX_Slider(CDataExchange* pDX, int id, int& value);
// Index of the checked radio button in the group that starts at `id` (−1
// when none is checked); towards the controls, checks that button.
void DDX_Radio(CDataExchange* pDX, int id, int& value);

// Like the file dialogs, a dialog takes no owner window: the Qt backend shows
// it modal over whichever window is active when it opens.
class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId);
  ~CDialog() override = default;

  // Runs the dialog modally through the backend; IDOK or IDCANCEL.
  virtual std::intptr_t DoModal();
  // Base: UpdateData(false); returns true (focus to the first tab stop).
  virtual bool OnInitDialog();
  // Base: UpdateData(true) and, if it succeeded, EndDialog(IDOK).
  virtual void OnOK();
  // Base: EndDialog(IDCANCEL).
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
  // Runs DoDataExchange; false when a value did not validate.
  bool UpdateData(bool saveAndValidate = true);
  void EndDialog(int result);

  // Notifications, as the controls send them.
  virtual void OnHScroll(UINT /*sbCode*/, UINT /*pos*/, int /*controlId*/) {}
  virtual void OnCommandNotify(int /*controlId*/, UINT /*code*/) {}

  // Control access for the dialog's own code. Setting an edit box's text
  // sends EN_CHANGE, as the platform's edit control does; setting a
  // trackbar's position sends nothing and limits it to the range.
  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  int IsDlgButtonChecked(int id) const;
  void CheckDlgButton(int id, int check);
  int GetTrackbarPos(int id) const;
  void SetTrackbarPos(int id, int pos);
  void SetTrackbarRangeMin(int id, int min);
  void SetTrackbarRangeMax(int id, int max);
  void SetTrackbarTicFreq(int id, int freq);
  void GotoDlgCtrl(int id, bool selectAll = false);

  // What a person does, delivered by a backend or a test: typing replaces an
  // edit box's text (EN_CHANGE follows); moving a trackbar sends WM_HSCROLL
  // with `sbCode`; clicking a check box toggles it, a radio button checks it
  // and unchecks the rest of its group, OK runs OnOK, Cancel OnCancel.
  void UserSetText(int id, const std::string& text);
  void UserMoveTrackbar(int id, int pos, UINT sbCode = TB_THUMBPOSITION);
  void UserClick(int id);

  UINT GetTemplateId() const { return m_nIDTemplate; }
  // The template; throws std::logic_error for an unknown id.
  const DialogTemplate& GetTemplate() const;
  const ControlState& GetControlState(int id) const;
  // The radio buttons, in tab order, of the group that holds control `id`: a
  // group runs from a WS_GROUP control to the next one.
  std::vector<int> GetRadioGroup(int id) const;
  void SetHost(IDialogHost* host) { m_pHost = host; }
  bool IsEnded() const { return m_bEnded; }
  int GetResult() const { return m_nResult; }
  // The id of the control that last received the focus from the program.
  int GetFocusedControl() const { return m_nFocus; }

 private:
  ControlState& State(int id);
  const DialogControlTemplate* FindControl(int id) const;
  void Changed(int id);

  UINT m_nIDTemplate;
  IDialogHost* m_pHost = nullptr;
  std::map<int, ControlState> m_controls;
  bool m_bEnded = false;
  int m_nResult = IDCANCEL;
  int m_nFocus = 0;
};

}  // namespace qov
