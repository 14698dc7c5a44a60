#include "cli/ProgressLine.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace qov {
namespace {

std::string FormatDuration(double seconds) {
  const long total = std::lround(seconds);
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

}  // namespace

std::string FormatProgress(std::size_t done, std::size_t total, const std::string& current,
                           double seconds) {
  std::string line = "[" + std::to_string(done) + "/" + std::to_string(total) + "]";
  if (!current.empty())
    line += " " + std::filesystem::path(current).filename().string();
  if (done > 0 && seconds > 0) {
    const double rate = static_cast<double>(done) / seconds;
    char text[32];
    std::snprintf(text, sizeof text, "  %.1f files/s", rate);
    line += text;
    line += "  " + FormatDuration(static_cast<double>(total - done) / rate) + " left";
  }
  return line;
}

ProgressLine::ProgressLine(std::ostream& out, bool enabled, std::size_t total)
    : m_out(out), m_bEnabled(enabled), m_total(total) {}

void ProgressLine::Update(std::size_t done, const std::string& current, bool force) {
  m_done = done;
  m_current = current;
  const Clock::time_point now = Clock::now();
  if (!m_bEnabled || (!force && now - m_lastDraw < std::chrono::milliseconds(100)))
    return;
  m_lastDraw = now;
  Draw();
}

void ProgressLine::Print(const std::string& line) {
  Clear();
  m_out << line << '\n';
  if (m_bDrawn)
    Draw();
  m_out.flush();
}

void ProgressLine::Finish() {
  if (!m_bEnabled)
    return;
  m_current.clear();
  Draw();
  m_out << '\n';
  m_out.flush();
  m_bDrawn = false;
}

void ProgressLine::Draw() {
  const double seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
  // Carriage return, the line, then erase whatever a longer line left.
  m_out << '\r' << FormatProgress(m_done, m_total, m_current, seconds) << "\x1b[K";
  m_out.flush();
  m_bDrawn = true;
}

void ProgressLine::Clear() {
  if (m_bDrawn)
    m_out << "\r\x1b[K";
}

}  // namespace qov
