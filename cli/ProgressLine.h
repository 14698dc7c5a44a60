#pragma once
// The one line on a terminal that tells how far a run over many inputs has
// come: files done of all, the file being worked on, the rate and the time
// left, redrawn in place.

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

namespace qov {

class ProgressLine {
 public:
  // Draws nothing unless `enabled` (standard error is a terminal and the run
  // is not quiet).
  ProgressLine(std::ostream& out, bool enabled, std::size_t total);

  // Redraws the line, at most ten times a second unless `force`.
  void Update(std::size_t done, const std::string& current, bool force = false);
  // Prints a whole line of its own (a failure) above the progress line.
  void Print(const std::string& line);
  // Leaves the last state of the line on the terminal.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;

  void Draw();
  void Clear();

  std::ostream& m_out;
  bool m_bEnabled;
  bool m_bDrawn = false;
  std::size_t m_total;
  std::size_t m_done = 0;
  std::string m_current;
  Clock::time_point m_start = Clock::now();
  Clock::time_point m_lastDraw{};
};

// "[12/200] scan-012.tif  3.1 files/s  0:58 left", for a run that has done
// `done` of `total` inputs in `seconds` and is now at `current`.
std::string FormatProgress(std::size_t done, std::size_t total, const std::string& current,
                           double seconds);

}  // namespace qov
