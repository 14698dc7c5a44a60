#pragma once
// The window's listener to a command's walks: after the command has walked
// for `delay`, a small modal dialog with a bar and キャンセル (or Escape);
// while it shows, the window repaints and the dialog answers between steps.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include <QPointer>

#include "platform/Progress.h"
#include "platform/qt/QtBackend.h"

class QProgressDialog;

namespace qov {

class QtProgress : public CProgress {
 public:
  explicit QtProgress(std::chrono::milliseconds delay);
  ~QtProgress() override;

  void BeginWalk(std::int64_t total) override;
  void EndWalk() noexcept override;
  void Step(std::int64_t done) override;

 private:
  void Show();
  bool IsShown() const;
  // How far the command is, 0 to 1: a walk inside another fills the step
  // of the outer one it runs in, so that the bar only moves forward.
  double Fraction() const;

  struct Walk {
    std::int64_t done = 0;
    std::int64_t total = 0;
  };
  std::vector<Walk> m_walks;

  std::chrono::milliseconds m_delay;
  std::chrono::milliseconds m_start{};
  std::chrono::milliseconds m_nextAnswer{};
  bool m_bCancelled = false;
  std::optional<ModalScope> m_modal;
  // Over the window that is on top when it first shows, which may be a
  // dialog that goes before the command ends (the vectorizer's, after a
  // preview) and takes its children with it.
  QPointer<QProgressDialog> m_pDialog;
};

}  // namespace qov
