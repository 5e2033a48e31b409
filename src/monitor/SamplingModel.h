#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "monitor/ChartAxes.h"
#include "monitor/PointRing.h"

namespace varnok {

// One line of the monitor chart.
struct ChartSeries {
  std::string title;
  std::uint32_t colour = 0;  // 0xRRGGBB
  PointRing points;
};

// The monitor chart's sampling state and its series: which channels feed which series, the offsets
// by series position, the pending offset capture, the sample count, the chart title.
class SamplingModel {
 public:
  static constexpr int kMaxSeries = 23;

  // Starts with the four placeholder series "p1" to "p4" and everything else zero.
  SamplingModel();

  // "Add to selection": the selected entries of the channel list (numbers in list order, at most the
  // first kMaxSeries) replace every series; each new series is titled with its channel's name.
  void Select(const std::vector<int>& channels);

  void RequestOffsets() { offsetRequest = true; }
  void ZeroOffsets() { channelOffsets.fill(0.0f); }
  // "Clear": sample count 0 and every series emptied; series, titles and offsets stay.
  void Clear();

  // Adds the points of one successful ReadValueBlock (200, 60) reply at x = sampleCount: series i gets
  // value selectedChannels[i] minus channelOffsets[i], and captures the value as its new offset when
  // an offset request is pending. A series whose channel lies beyond the reply gets nothing.
  void AddSample(std::span<const std::uint8_t> reply);

  // Removes the oldest point of every series once series 0 holds more than `window` points.
  // Returns whether it removed any.
  bool TrimToWindow(int window);

  const std::vector<ChartSeries>& Series() const { return series_; }
  std::optional<double> NewestX() const;

  // The first and last x of all series (cheap: the series are in x order); nothing when all are empty.
  std::optional<std::pair<double, double>> XExtent() const;

  // The extent of all points, the vertical one over finite values only; nothing when no series holds
  // a point. Reads every point.
  std::optional<ChartRect> Bounds() const;

  // Counts every change of the points, so a view knows when to recompute what it shows.
  std::uint64_t Revision() const { return revision_; }

  // The colour of a point added to series position i (0xBBGGRR).
  static std::uint32_t PointColour(int seriesIndex) {
    return 128u + 10u * static_cast<unsigned>(seriesIndex);
  }

  std::array<std::int32_t, kMaxSeries> selectedChannels{};
  std::int32_t selectedCount = 0;
  std::array<float, kMaxSeries> channelOffsets{};
  bool offsetRequest = false;
  std::int32_t sampleCount = 0;
  std::string title;

 private:
  std::vector<ChartSeries> series_;
  std::uint64_t revision_ = 0;
};

// The colour a new series takes: the chart's default colours in turn.
std::uint32_t DefaultSeriesColour(int index);

}  // namespace varnok
