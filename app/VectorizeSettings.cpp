#include "app/VectorizeSettings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace qov {
namespace {

constexpr const char* kSection = "Vectorize";

struct Entry {
  const char* name;
  double VectorizeParams::*value;
  double high;
};

constexpr std::array<Entry, 4> kEntries{{
    {"MaxPenMm", &VectorizeParams::maxPenMm, 1000},
    {"ToleranceMm", &VectorizeParams::toleranceMm, 1000},
    {"SpeckMm2", &VectorizeParams::speckMm2, 1000000},
    {"Dpi", &VectorizeParams::dpi, 100000},
}};
constexpr const char* kThreshold = "Threshold";

// The number a profile entry holds when it is one from 0 to `high`.
bool ReadNumber(const CWinApp& app, const char* entry, double high, double& value) {
  const std::optional<std::string> text = app.GetProfileString(kSection, entry);
  if (!text)
    return false;
  double number = 0;
  const char* end = text->data() + text->size();
  const auto [stop, ec] = std::from_chars(text->data(), end, number);
  if (ec != std::errc() || stop != end || !(number >= 0 && number <= high))
    return false;
  value = number;
  return true;
}

std::string NumberText(double value) {
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, ec == std::errc() ? end : text);
}

}  // namespace

VectorizeParams ReadVectorizeSettings(const CWinApp& app) {
  VectorizeParams params;
  for (const Entry& entry : kEntries)
    ReadNumber(app, entry.name, entry.high, params.*entry.value);
  double threshold = 0;
  if (ReadNumber(app, kThreshold, 100, threshold) && threshold == std::floor(threshold))
    params.threshold = static_cast<int>(threshold);
  return params;
}

void WriteVectorizeSettings(CWinApp& app, const VectorizeParams& params) {
  for (const Entry& entry : kEntries)
    app.WriteProfileString(kSection, entry.name, NumberText(params.*entry.value));
  app.WriteProfileString(kSection, kThreshold, std::to_string(params.threshold));
}

}  // namespace qov
