#include "calibration/CsvField.h"

namespace varnok {

std::string_view CsvField(std::string_view line, int n) {
  if (n < 0) return {};
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  const std::size_t end = line.find(',', start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

namespace {
bool IsBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20 || u == 0x7f;
}
}  // namespace

std::string_view TrimBlanksAndControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace varnok
