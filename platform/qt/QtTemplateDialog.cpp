#include "platform/qt/QtTemplateDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <memory>

#include "platform/qt/DialogUnits.h"

namespace qov {
namespace {

constexpr int kIconSize = 32;

UINT TrackbarCode(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      return TB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
      return TB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
      return TB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
      return TB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
      return TB_TOP;
    case QAbstractSlider::SliderToMaximum:
      return TB_BOTTOM;
    default:
      return TB_THUMBTRACK;
  }
}

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

QtTemplateDialog::QtTemplateDialog(CDialog& dlg, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_dlg(dlg) {
  const DialogTemplate& tpl = dlg.GetTemplate();
  setWindowTitle(Text(tpl.caption));
  setObjectName(QStringLiteral("dlg%1").arg(tpl.id));
  setFont(DialogFont(tpl.fontName, tpl.pointSize));
  const DialogUnits units(font());
  setFixedSize(units.ToPixelsX(tpl.cx), units.ToPixelsY(tpl.cy));

  QButtonGroup* group = nullptr;
  QWidget* previousTabStop = nullptr;
  for (const DialogControlTemplate& control : tpl.controls) {
    QWidget* widget = MakeControl(control, group);
    widget->setProperty(kControlIdProperty, control.id);
    widget->setGeometry(units.ToPixels(control.x, control.y, control.cx, control.cy));
    if (control.kind == DialogControlTemplate::Icon) {
      widget->setGeometry(widget->x(), widget->y(), kIconSize, kIconSize);
    }
    if (control.id != IDC_STATIC)
      m_controls[control.id] = widget;
    if (control.style & WS_TABSTOP) {
      widget->setFocusPolicy(Qt::StrongFocus);
      if (previousTabStop)
        QWidget::setTabOrder(previousTabStop, widget);
      if (!m_firstTabStop)
        m_firstTabStop = widget;
      previousTabStop = widget;
    } else if (widget->focusPolicy() != Qt::NoFocus) {
      widget->setFocusPolicy(Qt::ClickFocus);
    }
  }
}

QtTemplateDialog::~QtTemplateDialog() {
  m_dlg.SetHost(nullptr);
}

QWidget* QtTemplateDialog::MakeControl(const DialogControlTemplate& control, QButtonGroup*& group) {
  const QString text = Text(control.text);
  const bool groupStart = (control.style & WS_GROUP) != 0;
  if (control.kind != DialogControlTemplate::RadioButton || groupStart)
    group = nullptr;
  switch (control.kind) {
    case DialogControlTemplate::PushButton:
    case DialogControlTemplate::DefPushButton: {
      auto* button = new QPushButton(text, this);
      button->setDefault(control.kind == DialogControlTemplate::DefPushButton);
      ConnectButton(button, control.id);
      return button;
    }
    case DialogControlTemplate::CheckBox: {
      auto* box = new QCheckBox(text, this);
      ConnectButton(box, control.id);
      return box;
    }
    case DialogControlTemplate::RadioButton: {
      auto* radio = new QRadioButton(text, this);
      if (!group) {
        group = new QButtonGroup(this);
      }
      group->addButton(radio);
      ConnectButton(radio, control.id);
      return radio;
    }
    case DialogControlTemplate::Edit: {
      auto* edit = new QLineEdit(this);
      const int id = control.id;
      connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& typed) {
        m_dlg.UserSetText(id, typed.toStdString());
        AfterUserAction();
      });
      return edit;
    }
    case DialogControlTemplate::Trackbar: {
      auto* slider = new QSlider(Qt::Horizontal, this);
      slider->setTickPosition(QSlider::TicksBelow);
      ConnectSlider(slider, control.id);
      return slider;
    }
    case DialogControlTemplate::Icon: {
      // The icons are Qt resources of res/, which the desktop program links.
      auto* label = new QLabel(this);
      label->setPixmap(QIcon(QStringLiteral(":/icons/qov-%1.svg").arg(text)).pixmap(kIconSize));
      label->setFocusPolicy(Qt::NoFocus);
      return label;
    }
    case DialogControlTemplate::Static:
      break;
  }
  auto* label = new QLabel(text, this);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

void QtTemplateDialog::ConnectButton(QAbstractButton* button, int id) {
  connect(button, &QAbstractButton::clicked, this, [this, id] {
    m_dlg.UserClick(id);
    AfterUserAction();
  });
}

// The trackbar reports every move with the scroll code of what moved it;
// letting go of the thumb ends with TB_THUMBPOSITION, as the platform's did.
void QtTemplateDialog::ConnectSlider(QSlider* slider, int id) {
  auto code = std::make_shared<UINT>(TB_THUMBTRACK);
  connect(slider, &QAbstractSlider::actionTriggered, this,
          [code](int action) { *code = TrackbarCode(action); });
  connect(slider, &QAbstractSlider::valueChanged, this, [this, id, code](int value) {
    m_dlg.UserMoveTrackbar(id, value, *code);
    *code = TB_THUMBTRACK;
    AfterUserAction();
  });
  connect(slider, &QAbstractSlider::sliderReleased, this, [this, id, slider] {
    m_dlg.UserMoveTrackbar(id, slider->value(), TB_THUMBPOSITION);
    AfterUserAction();
  });
}

std::intptr_t QtTemplateDialog::Run() {
  m_dlg.SetHost(this);
  m_bFocusFirst = m_dlg.OnInitDialog();
  SyncAll();
  if (!m_dlg.IsEnded())
    exec();
  m_dlg.SetHost(nullptr);
  return m_dlg.IsEnded() ? m_dlg.GetResult() : IDCANCEL;
}

void QtTemplateDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_bShown)
    return;
  m_bShown = true;
  QWidget* target = m_bFocusFirst ? m_firstTabStop : Control(m_dlg.GetFocusedControl());
  if (target)
    target->setFocus(Qt::TabFocusReason);
}

void QtTemplateDialog::reject() {
  m_dlg.OnCancel();
  AfterUserAction();
}

void QtTemplateDialog::AfterUserAction() {
  if (m_dlg.IsEnded())
    done(m_dlg.GetResult());
}

void QtTemplateDialog::SyncAll() {
  for (const auto& [id, widget] : m_controls)
    ControlChanged(id);
}

QWidget* QtTemplateDialog::Control(int id) const {
  auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

void QtTemplateDialog::ControlChanged(int id) {
  QWidget* widget = Control(id);
  if (!widget)
    return;
  const ControlState& state = m_dlg.GetControlState(id);
  const QSignalBlocker block(widget);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != Text(state.text))
      edit->setText(Text(state.text));
  } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
    slider->setRange(state.rangeMin, state.rangeMax);
    slider->setTickInterval(std::max(1, state.ticFreq));
    slider->setPageStep(std::max(1, (state.rangeMax - state.rangeMin) / 5));
    slider->setValue(state.pos);
  } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
    // An exclusive group refuses to uncheck its checked button.
    QButtonGroup* group = radio->group();
    if (group)
      group->setExclusive(false);
    radio->setChecked(state.check != 0);
    if (group)
      group->setExclusive(true);
  } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
    box->setCheckState(state.check == 0   ? Qt::Unchecked
                       : state.check == 1 ? Qt::Checked
                                          : Qt::PartiallyChecked);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (!state.text.empty())
      button->setText(Text(state.text));
  } else if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull()) {
    label->setText(Text(state.text));
  }
}

void QtTemplateDialog::FocusControl(int id, bool selectAll) {
  QWidget* widget = Control(id);
  if (!widget)
    return;
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && selectAll)
    edit->selectAll();
}

}  // namespace qov
