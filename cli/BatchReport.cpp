#include "cli/BatchReport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qov {
namespace {

// The length of the UTF-8 sequence at text[at], or 0 when none starts there.
std::size_t Utf8Length(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || at + length > text.size())
    return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80)
      return 0;
  }
  return length;
}

bool IsUtf8(const std::string& text) {
  for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
    length = Utf8Length(text, at);
    if (length == 0)
      return false;
  }
  return true;
}

// `items`, each written by `format`, as a JSON array.
template <typename Format>
std::string JsonArray(const std::vector<std::string>& items, Format format) {
  std::string array = "[";
  for (std::size_t i = 0; i < items.size(); ++i)
    array += (i ? "," : "") + format(items[i]);
  return array + "]";
}

const char* StatusName(JobRecord::Status status) {
  switch (status) {
    case JobRecord::Done:
      return "done";
    case JobRecord::Failed:
      return "failed";
    default:
      return "skipped";
  }
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const std::size_t length = Utf8Length(text, at);
    if (length == 0) {
      json += "\\ufffd";
      ++at;
    } else if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
      ++at;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      json += escape;
      ++at;
    } else {
      json.append(text, at, length);
      at += length;
    }
  }
  return json + "\"";
}

std::string NameBytes(const std::string& name) {
  std::string text;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = Utf8Length(name, at);
    if (length == 0 || name[at] == '%') {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(name[at]));
      text += escape;
      ++at;
    } else {
      text.append(name, at, length);
      at += length;
    }
  }
  return text;
}

std::string FormatJobRecord(const JobRecord& record) {
  std::string line = "{\"input\":" + JsonString(record.input);
  if (!IsUtf8(record.input))
    line += ",\"input_bytes\":" + JsonString(NameBytes(record.input));
  line += ",\"outputs\":" + JsonArray(record.outputs, JsonString);
  if (!std::all_of(record.outputs.begin(), record.outputs.end(), IsUtf8)) {
    line += ",\"outputs_bytes\":" + JsonArray(record.outputs, [](const std::string& name) {
              return JsonString(NameBytes(name));
            });
  }
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, ",\"seconds\":%.3f,\"peak_memory\":%llu}", record.seconds,
                static_cast<unsigned long long>(record.peakBytes));
  return line + ",\"status\":\"" + StatusName(record.status) +
         "\",\"reason\":" + JsonString(record.reason) + numbers;
}

std::optional<BatchReport> BatchReport::Open(const std::string& path, std::string& error) {
  BatchReport report;
  if (path.empty())
    return report;
  report.m_file.open(path, std::ios::binary | std::ios::trunc);
  if (!report.m_file) {
    error = "cannot write the report " + path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  return report;
}

void BatchReport::Write(const JobRecord& record) {
  if (m_file.is_open())
    m_file << FormatJobRecord(record) << '\n' << std::flush;
}

}  // namespace qov
