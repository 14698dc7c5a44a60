#pragma once
// The window's listener to a command's walks: after the command has walked
// for `delay`, a small modal dialog with a bar and キャンセル (or Escape);
// while it shows, the window repaints and the dialog answers between steps.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Progress.h"
#include "platform/qt/QtBackend.h"

class QProgressDialog;

namespace qov {

class QtProgress : public CProgress {
 public:
  explicit QtProgress(std::chrono::milliseconds delay);
  ~QtProgress() override;

  void BeginWalk() override;
  void EndWalk() noexcept override;
  void Step(std::int64_t done, std::int64_t total) override;

 private:
  void Show();
  bool IsShown() const;

  std::chrono::milliseconds m_delay;
  std::chrono::milliseconds m_start{};
  std::chrono::milliseconds m_nextAnswer{};
  int m_nDepth = 0;
  bool m_bCancelled = false;
  std::optional<ModalScope> m_modal;
  std::unique_ptr<QProgressDialog> m_pDialog;
};

}  // namespace qov
