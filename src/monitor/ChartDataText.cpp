#include "monitor/ChartDataText.h"

#include <charconv>
#include <limits>

namespace varnok {

namespace {

// A float when the value is one (what the instrument sends, and most differences of two of them),
// else the double it is; the shortest text that reads back the same.
std::string NumberText(double value) {
  char buffer[64];
  const float single = static_cast<float>(value);
  const bool isFloat = static_cast<double>(single) == value || value != value;
  const auto out = isFloat ? std::to_chars(buffer, buffer + sizeof buffer, single)
                           : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, out.ptr);
}

}  // namespace

std::string ChartDataText(const SamplingModel& model) {
  const auto& series = model.Series();
  std::string text = "Sample";
  for (std::size_t i = 0; i < series.size(); ++i) {
    text += '\t';
    text += series[i].title;
    const bool fed = static_cast<int>(i) < model.selectedCount && i < model.channelOffsets.size();
    if (fed && model.channelOffsets[i] != 0.0f) {
      text += " (offset " + NumberText(model.channelOffsets[i]) + " subtracted)";
    }
  }
  text += '\n';

  // Every series is in ascending x order: walk them side by side, one row per x.
  std::vector<std::size_t> next(series.size(), 0);
  for (;;) {
    double x = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < series.size(); ++i) {
      if (next[i] < series[i].points.size()) x = std::min(x, series[i].points.X(next[i]));
    }
    if (x == std::numeric_limits<double>::infinity()) break;
    text += NumberText(x);
    for (std::size_t i = 0; i < series.size(); ++i) {
      text += '\t';
      if (next[i] < series[i].points.size() && series[i].points.X(next[i]) == x) {
        text += NumberText(series[i].points.Y(next[i]));
        ++next[i];
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace varnok
