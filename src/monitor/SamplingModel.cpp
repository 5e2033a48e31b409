#include "monitor/SamplingModel.h"

#include <algorithm>
#include <cmath>

#include "monitor/ChannelTable.h"
#include "monitor/ValueBlock.h"

namespace varnok {

std::uint32_t DefaultSeriesColour(int index) {
  static constexpr std::uint32_t kColours[] = {0xE6194B, 0x3CB44B, 0x4363D8, 0xF58231, 0x911EB4, 0x008080,
                                               0xF032E6, 0x9A6324, 0x800000, 0x000075, 0x808000, 0xE6A000,
                                               0x46A0B4, 0xAA3377, 0x228833, 0x666666, 0xCC0000, 0x0077BB,
                                               0x33BBEE, 0xEE7733, 0x009988, 0x882255, 0x000000};
  constexpr int count = static_cast<int>(std::size(kColours));
  return kColours[((index % count) + count) % count];
}

SamplingModel::SamplingModel() {
  series_.push_back({"p1", 0x800040, {}});
  series_.push_back({"p2", 0x008080, {}});
  series_.push_back({"p3", 0x0000FF, {}});
  series_.push_back({"p4", 0xFF0000, {}});
}

void SamplingModel::Select(const std::vector<int>& channels) {
  const int channelCount = static_cast<int>(MonitorChannelNames().size());
  selectedChannels.fill(0);
  int count = 0;
  series_.clear();
  for (int channel : channels) {
    if (count == kMaxSeries) break;
    if (channel < 0 || channel >= channelCount) continue;
    selectedChannels[count] = channel;
    series_.push_back({MonitorChannelNames()[channel], DefaultSeriesColour(count), {}});
    ++count;
  }
  selectedCount = count;
  ++revision_;
}

void SamplingModel::Clear() {
  sampleCount = 0;
  for (ChartSeries& s : series_) s.points.clear();
  ++revision_;
}

void SamplingModel::AddSample(std::span<const std::uint8_t> reply) {
  const int count = std::min<int>(selectedCount, static_cast<int>(series_.size()));
  for (int i = 0; i < count; ++i) {
    const std::optional<float> value = ValueBlockValue(reply, selectedChannels[i]);
    if (!value) continue;
    const double y = static_cast<double>(*value) - static_cast<double>(channelOffsets[i]);
    series_[i].points.push_back({static_cast<double>(sampleCount), y});
    if (offsetRequest) channelOffsets[i] = *value;
  }
  ++revision_;
}

bool SamplingModel::TrimToWindow(int window) {
  if (series_.empty() || series_[0].points.size() <= static_cast<std::size_t>(std::max(window, 0))) {
    return false;
  }
  for (ChartSeries& s : series_) s.points.pop_front();
  ++revision_;
  return true;
}

std::optional<double> SamplingModel::NewestX() const {
  if (series_.empty() || series_[0].points.empty()) return std::nullopt;
  return series_[0].points.back().x;
}

std::optional<std::pair<double, double>> SamplingModel::XExtent() const {
  std::optional<std::pair<double, double>> extent;
  for (const ChartSeries& s : series_) {
    if (s.points.empty()) continue;
    const double first = s.points.front().x;
    const double last = s.points.back().x;
    if (!extent) {
      extent.emplace(first, last);
    } else {
      extent->first = std::min(extent->first, first);
      extent->second = std::max(extent->second, last);
    }
  }
  return extent;
}

std::optional<ChartRect> SamplingModel::Bounds() const {
  const std::optional<std::pair<double, double>> extent = XExtent();
  if (!extent) return std::nullopt;
  ChartRect bounds{extent->first, extent->second, 0, 0};
  bool anyY = false;
  for (const ChartSeries& s : series_) {
    const PointRing& points = s.points;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const double y = points[i].y;
      if (!std::isfinite(y)) continue;
      if (!anyY) {
        bounds.yMin = bounds.yMax = y;
        anyY = true;
      } else {
        bounds.yMin = std::min(bounds.yMin, y);
        bounds.yMax = std::max(bounds.yMax, y);
      }
    }
  }
  return bounds;
}

}  // namespace varnok
