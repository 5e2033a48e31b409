#include "config/FloatListScan.h"

#include <charconv>
#include <limits>

#include "config/Float32.h"

namespace varnok {

namespace {

bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::vector<float> ScanFloatList(std::string_view text, int count) {
  std::vector<float> numbers;
  std::size_t pos = 0;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ',') break;
      ++pos;
    }
    while (pos < text.size() && IsScanSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) break;  // "--1" is no number

    const char* first = text.data() + pos;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error == std::errc::invalid_argument) break;
    const std::string_view matched(first, static_cast<std::size_t>(end - first));
    if (error == std::errc::result_out_of_range) {
      // Too large overflows to infinity, too small underflows to zero, as the C scan does.
      const std::size_t e = matched.find_first_of("eE");
      const bool tiny = e != std::string_view::npos && e + 1 < matched.size() && matched[e + 1] == '-';
      value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    pos += matched.size();
    const float single = RoundToFloat32(value);
    numbers.push_back(negative ? -single : single);
  }
  return numbers;
}

}  // namespace varnok
