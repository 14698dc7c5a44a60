#include "platform/FrameworkStrings.h"

namespace qov {

std::string FormatString(const std::string& format, const std::string& arg1,
                         const std::string& arg2) {
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() &&
        (format[i + 1] == '1' || format[i + 1] == '2')) {
      out += format[i + 1] == '1' ? arg1 : arg2;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

}  // namespace qov
