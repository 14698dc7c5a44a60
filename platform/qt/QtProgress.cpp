#include "platform/qt/QtProgress.h"

#include <algorithm>

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include "platform/Dialog.h"
#include "platform/FrameworkStrings.h"
#include "platform/StringTable.h"

namespace qov {
namespace {

// How often the dialog answers: often enough for a bar that moves and a
// cancel that is heard at once, seldom enough to cost the walk nothing.
constexpr std::chrono::milliseconds kAnswerEvery{40};
constexpr int kBarSteps = 1000;

}  // namespace

QtProgress::QtProgress(std::chrono::milliseconds delay) : m_delay(delay) {}

QtProgress::~QtProgress() {
  delete m_pDialog.data();
}

void QtProgress::BeginWalk(std::int64_t total) {
  if (m_walks.empty() && !IsShown())
    m_start = ProgressNow();
  m_walks.push_back({0, total});
}

// A command may walk again at once (threshold, then outline): the dialog
// goes only once the window is idle with no walk running, not between two.
// A cancel ends with the walks it stopped: a command that goes on (the
// vectorizer's dialog after a stopped preview) may walk again.
void QtProgress::EndWalk() noexcept {
  if (!m_walks.empty())
    m_walks.pop_back();
  if (!m_walks.empty())
    return;
  m_bCancelled = false;
  if (!IsShown()) {
    m_modal.reset();
    return;
  }
  QTimer::singleShot(0, m_pDialog.data(), [this] {
    if (m_walks.empty() && IsShown()) {
      m_pDialog->hide();
      m_modal.reset();
    }
  });
}

void QtProgress::Step(std::int64_t done) {
  if (m_bCancelled)
    throw CUserException();
  if (!m_walks.empty())
    m_walks.back().done = done;
  const std::chrono::milliseconds now = ProgressNow();
  if (now < m_nextAnswer)
    return;
  if (!IsShown()) {
    if (now - m_start < m_delay)
      return;
    Show();
  }
  const auto bar = static_cast<int>(Fraction() * kBarSteps);
  m_pDialog->setValue(std::clamp(bar, 0, kBarSteps - 1));
  QApplication::processEvents();
  m_nextAnswer = ProgressNow() + kAnswerEvery;
  if (m_bCancelled)
    throw CUserException();
}

void QtProgress::Show() {
  if (!m_pDialog) {
    m_pDialog = new QProgressDialog(QtBackend::DialogParent());
    m_pDialog->setWindowTitle(QString::fromStdString(LoadString(IDS_APP_TITLE)));
    m_pDialog->setLabelText(QString::fromUtf8(text::kWorking));
    m_pDialog->setCancelButtonText(QString::fromUtf8(text::kCancel));
    m_pDialog->setWindowModality(Qt::ApplicationModal);
    m_pDialog->setAutoReset(false);
    m_pDialog->setAutoClose(false);
    m_pDialog->setRange(0, kBarSteps);
    m_pDialog->setMinimumDuration(0);
    // キャンセル, and Escape or closing the dialog, which reject it.
    const auto cancel = [this] { m_bCancelled = true; };
    QObject::connect(m_pDialog, &QProgressDialog::canceled, m_pDialog, cancel);
    QObject::connect(m_pDialog, &QDialog::rejected, m_pDialog, cancel);
  }
  m_modal.emplace();
  m_pDialog->show();
}

double QtProgress::Fraction() const {
  double fraction = 0;
  for (auto walk = m_walks.rbegin(); walk != m_walks.rend(); ++walk) {
    if (walk->total > 0)
      fraction = std::clamp((static_cast<double>(walk->done) + fraction) / walk->total, 0.0, 1.0);
  }
  return fraction;
}

bool QtProgress::IsShown() const {
  return m_pDialog && m_pDialog->isVisible();
}

}  // namespace qov
