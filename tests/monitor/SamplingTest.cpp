#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "tests/monitor/MonitorLink.h"
#include "link/CommandCodes.h"
#include "chart/ColumnReduction.h"
#include "monitor/ChannelTable.h"
#include "monitor/ChartPeriod.h"
#include "monitor/SampleTick.h"

namespace varnok {
namespace {

using testing::BlockOf60;
using testing::MonitorLink;

std::vector<double> Xs(const ChartSeries& s) {
  std::vector<double> xs;
  for (std::size_t i = 0; i < s.points.size(); ++i) xs.push_back(s.points[i].x);
  return xs;
}

std::vector<double> Ys(const ChartSeries& s) {
  std::vector<double> ys;
  for (std::size_t i = 0; i < s.points.size(); ++i) ys.push_back(s.points[i].y);
  return ys;
}

// A model sampling channels `channels` through a fake instrument that answers each sample with
// value k = base + k, base growing by 100 per sample.
struct Sampler {
  SamplingModel model;
  ChartAxes axes;
  MonitorLink link;
  SampleTickSettings settings{true, 500, 5000, false};
  float base = 0;

  explicit Sampler(std::vector<int> channels) { model.Select(channels); }
  SampleTickOutcome Sample() {
    link.Answer(BlockOf60(base));
    base += 100;
    return RunSampleTick(model, axes, link, settings);
  }
  SampleTickOutcome FailedSample() {
    link.Fail();
    return RunSampleTick(model, axes, link, settings);
  }
};

TEST(ChannelTable, TwentyTwoChannelsInListOrder) {
  const auto& names = MonitorChannelNames();
  ASSERT_EQ(names.size(), 22u);
  EXPECT_EQ(names[0], "PS 24 V");
  EXPECT_EQ(names[1], "PS  12 V");
  EXPECT_EQ(names[9], "V2  NA");
  EXPECT_EQ(names[13], "IRT Analog");
  EXPECT_EQ(names[21], "NA");
}

TEST(SamplingModel, StartsWithFourPlaceholderSeries) {
  SamplingModel model;
  ASSERT_EQ(model.Series().size(), 4u);
  EXPECT_EQ(model.Series()[0].title, "p1");
  EXPECT_EQ(model.Series()[0].colour, 0x800040u);
  EXPECT_EQ(model.Series()[3].title, "p4");
  EXPECT_EQ(model.selectedCount, 0);
  EXPECT_EQ(model.sampleCount, 0);
  EXPECT_TRUE(std::all_of(model.channelOffsets.begin(), model.channelOffsets.end(),
                          [](float f) { return f == 0.0f; }));
}

TEST(SampleTick, SamplesTheSelectedChannelsIntoTheirSeries) {
  Sampler s({3, 17});
  ASSERT_EQ(s.model.Series().size(), 2u);
  EXPECT_EQ(s.model.Series()[0].title, "PS 5V D");
  EXPECT_EQ(s.model.Series()[1].title, "BB T0");
  EXPECT_EQ(s.Sample(), SampleTickOutcome::Sampled);
  EXPECT_EQ(s.Sample(), SampleTickOutcome::Sampled);

  ASSERT_EQ(s.link.sent.size(), 2u);
  EXPECT_EQ(s.link.sent[0].code, cmd::kReadValueBlock);
  EXPECT_EQ(s.link.sent[0].payload, (std::vector<std::uint8_t>{200, 0, 60, 0}));
  EXPECT_EQ(Xs(s.model.Series()[0]), (std::vector<double>{1, 2}));
  EXPECT_EQ(Ys(s.model.Series()[0]), (std::vector<double>{3, 103}));
  EXPECT_EQ(Ys(s.model.Series()[1]), (std::vector<double>{17, 117}));
}

TEST(SampleTick, PausedAndNotConnectedTicksChangeNothing) {
  Sampler s({0});
  s.settings.plotDown = false;
  EXPECT_EQ(s.Sample(), SampleTickOutcome::Paused);
  s.settings.plotDown = true;
  s.link.connected = false;
  EXPECT_EQ(s.FailedSample(), SampleTickOutcome::NotConnected);
  EXPECT_TRUE(s.link.sent.empty());
  EXPECT_EQ(s.model.sampleCount, 0);
  EXPECT_EQ(s.model.title, "");
  // Sampling resumes with the count continuing.
  s.link.connected = true;
  s.link.script.clear();
  s.Sample();
  s.settings.plotDown = false;
  s.Sample();
  s.settings.plotDown = true;
  s.link.script.clear();
  s.Sample();
  EXPECT_EQ(Xs(s.model.Series()[0]), (std::vector<double>{1, 2}));
}

TEST(SampleTick, FailedOrShortSampleAddsNothingButCounts) {
  Sampler s({0, 20});
  s.Sample();
  s.FailedSample();
  s.link.Answer({0x01});  // one byte: a failure
  RunSampleTick(s.model, s.axes, s.link, s.settings);
  s.link.Answer(std::vector<std::uint8_t>(12, 0));  // holds channel 0 but not channel 20
  RunSampleTick(s.model, s.axes, s.link, s.settings);
  s.Sample();
  EXPECT_EQ(s.model.sampleCount, 5);
  EXPECT_EQ(Xs(s.model.Series()[0]), (std::vector<double>{1, 4, 5}));
  EXPECT_EQ(Xs(s.model.Series()[1]), (std::vector<double>{1, 5}));
  // Bytes beyond the reply never become points.
  for (double y : Ys(s.model.Series()[1])) EXPECT_NE(y, 48.5648193359375);
}

TEST(SampleTick, OffsetsAreCapturedOneSampleLate) {
  Sampler s({5});
  s.Sample();  // 5
  s.model.RequestOffsets();
  s.Sample();  // 105, still without offset; captures 105
  EXPECT_FALSE(s.model.offsetRequest);
  s.Sample();  // 205 - 105
  s.Sample();  // 305 - 105
  EXPECT_EQ(Ys(s.model.Series()[0]), (std::vector<double>{5, 105, 100, 200}));
  EXPECT_EQ(s.model.channelOffsets[0], 105.0f);
}

TEST(SampleTick, FailedSampleDropsThePendingOffsetRequest) {
  Sampler s({5});
  s.model.RequestOffsets();
  s.FailedSample();
  EXPECT_FALSE(s.model.offsetRequest);
  EXPECT_EQ(s.model.channelOffsets[0], 0.0f);
}

TEST(SampleTick, OffsetsBelongToSeriesPositions) {
  Sampler s({2, 4});
  s.model.RequestOffsets();
  s.Sample();  // offsets 2 and 4
  EXPECT_EQ(s.model.channelOffsets[0], 2.0f);
  EXPECT_EQ(s.model.channelOffsets[1], 4.0f);

  s.model.Select({10, 11, 12});  // new selection: series 0 now shows channel 10
  s.Sample();                    // base 100
  EXPECT_EQ(Ys(s.model.Series()[0]), (std::vector<double>{110 - 2}));
  EXPECT_EQ(Ys(s.model.Series()[1]), (std::vector<double>{111 - 4}));
  EXPECT_EQ(Ys(s.model.Series()[2]), (std::vector<double>{112}));

  s.model.RequestOffsets();
  s.model.ZeroOffsets();  // the request stays pending
  EXPECT_TRUE(s.model.offsetRequest);
  s.Sample();
  EXPECT_EQ(Ys(s.model.Series()[0]).back(), 210);
  EXPECT_EQ(s.model.channelOffsets[0], 210.0f);
}

TEST(SampleTick, EmptySelectionSamplesNothingQuietly) {
  Sampler s({});
  EXPECT_TRUE(s.model.Series().empty());
  EXPECT_EQ(s.Sample(), SampleTickOutcome::Sampled);
  EXPECT_EQ(s.model.sampleCount, 1);
  EXPECT_EQ(s.link.sent.size(), 1u);
}

TEST(SampleTick, WindowRemovesOneOldestPointPerTick) {
  struct Case {
    int samplesBefore;
    int window;
    int samplesAfter;
    std::vector<double> xs;  // of series 1 at the end
  } cases[] = {
      {3, 1, 0, {2, 3}},                           // one removal per tick: still two points
      {3, 1, 2, {3, 4, 5}},       {0, 1, 3, {3}},  // Wind 1 from the start: only the newest point
      {5, 5, 1, {2, 3, 4, 5, 6}}, {6, 100, 1, {1, 2, 3, 4, 5, 6, 7}},
  };
  for (const Case& c : cases) {
    Sampler s({1, 2});
    s.settings.window = 100;
    for (int i = 0; i < c.samplesBefore; ++i) s.Sample();
    s.settings.window = c.window;
    for (int i = 0; i < c.samplesAfter; ++i) s.Sample();
    if (c.samplesAfter == 0) RunSampleTick(s.model, s.axes, s.link, s.settings);  // a failed sample
    EXPECT_EQ(Xs(s.model.Series()[1]), c.xs) << c.samplesBefore << "," << c.window << "," << c.samplesAfter;
  }
}

TEST(SampleTick, LoweringTheWindowDoesNotShrinkTheLines) {
  Sampler s({1});
  s.settings.window = 50;
  for (int i = 0; i < 50; ++i) s.Sample();
  s.settings.window = 10;
  for (int i = 0; i < 5; ++i) s.Sample();
  EXPECT_EQ(s.model.Series()[0].points.size(), 50u);
  EXPECT_EQ(s.model.Series()[0].points.front().x, 6);
}

TEST(SampleTick, TitleShowsTheTimeUpToThePreviousSample) {
  Sampler s({0});
  s.settings.periodMs = 1000;
  s.model.sampleCount = 3725;
  s.Sample();
  EXPECT_EQ(s.model.title, "Total Time (3725s)  1h:2:m:5s");
  // A new period rescales all earlier samples.
  s.settings.periodMs = 2000;
  s.Sample();
  EXPECT_EQ(s.model.title, "Total Time (7452s)  2h:4:m:12s");

  s.model.Clear();
  s.Sample();
  EXPECT_EQ(s.model.title, "Total Time (0s)  0h:0:m:0s");
  EXPECT_EQ(Xs(s.model.Series()[0]), (std::vector<double>{1}));
}

TEST(ChartPeriod, PeriodRules) {
  struct Case {
    double seconds;
    std::optional<int> ms;
  } cases[] = {{0.005, std::nullopt}, {0.0099, std::nullopt}, {0.01, 10},        {0.0125, 12}, {0.5, 500},
               {1.0, 1000},           {-1, std::nullopt},     {1e12, 2147483647}};
  for (const Case& c : cases) EXPECT_EQ(ChartPeriodMs(c.seconds), c.ms) << c.seconds;
  EXPECT_EQ(ElapsedSeconds(2147483647, 2147483647), 4611686014132420LL);  // no overflow
}

TEST(SamplingModel, ClearKeepsSeriesOffsetsAndRequest) {
  Sampler s({7, 8});
  s.model.RequestOffsets();
  s.Sample();
  s.Sample();
  s.model.RequestOffsets();
  s.model.Clear();
  EXPECT_EQ(s.model.sampleCount, 0);
  ASSERT_EQ(s.model.Series().size(), 2u);
  EXPECT_EQ(s.model.Series()[1].title, "Bar A V1");
  EXPECT_TRUE(s.model.Series()[0].points.empty());
  EXPECT_TRUE(s.model.offsetRequest);
  EXPECT_EQ(s.model.channelOffsets[1], 8.0f);
}

TEST(ChartAxes, ZoomTwiceAndUndo) {
  ChartAxes axes;
  const ChartRect data{0, 100, -10, 10};
  EXPECT_EQ(axes.Shown(data), data);
  axes.ZoomIn(data);
  EXPECT_EQ(axes.Shown(data), (ChartRect{25, 75, -5, 5}));
  axes.ZoomIn(data);
  EXPECT_EQ(axes.Shown(data), (ChartRect{37.5, 62.5, -2.5, 2.5}));
  EXPECT_TRUE(axes.Zoomed());
  axes.Undo();
  EXPECT_FALSE(axes.Zoomed());
  EXPECT_TRUE(axes.Horizontal().automatic);
  EXPECT_TRUE(axes.Vertical().automatic);
  // Automatic again: the axes follow new data.
  const ChartRect more{0, 200, -10, 30};
  EXPECT_EQ(axes.Shown(more), more);
  axes.Undo();  // nothing remembered: nothing changes
  EXPECT_EQ(axes.Shown(more), more);
}

TEST(ChartAxes, PanAndRectangleRememberTheFirstState) {
  ChartAxes axes;
  const ChartRect data{0, 100, 0, 10};
  axes.ZoomTo({10, 20, 1, 2});
  axes.PanBy(5, -1, data);
  EXPECT_EQ(axes.Shown(data), (ChartRect{15, 25, 0, 1}));
  axes.ZoomIn(data);
  axes.Undo();
  EXPECT_EQ(axes.Shown(data), data);
  EXPECT_TRUE(axes.Horizontal().automatic);
}

TEST(SampleTick, FollowKeepsTheNewestSampleAtTheRightEdgeWhenZoomed) {
  Sampler s({0});
  s.settings.followLast = true;
  for (int i = 0; i < 10; ++i) s.Sample();
  // Automatic: nothing visible changes.
  const ChartRect data = *s.model.Bounds();
  EXPECT_EQ(s.axes.Shown(data).xMax, 10);
  s.axes.ZoomTo({2, 6, 0, 1000});
  s.Sample();
  EXPECT_EQ(s.axes.Shown(*s.model.Bounds()).xMin, 2);
  EXPECT_EQ(s.axes.Shown(*s.model.Bounds()).xMax, 11);
  s.settings.followLast = false;
  s.Sample();
  EXPECT_EQ(s.axes.Shown(*s.model.Bounds()).xMax, 11);
  // A newest sample left of the shown minimum does not move the axis.
  s.settings.followLast = true;
  s.axes.ZoomTo({50, 60, 0, 1});
  s.Sample();
  EXPECT_EQ(s.axes.Shown(*s.model.Bounds()).xMax, 60);
}

TEST(PointRing, KeepsOrderAcrossWrapAndGrowth) {
  PointRing ring;
  double next = 0;
  double oldest = 0;
  for (int round = 0; round < 2000; ++round) {
    ring.push_back({next, -next});
    next += 1;
    if (round % 3 == 0) {
      ring.pop_front();
      oldest += 1;
    }
  }
  ASSERT_EQ(ring.size(), static_cast<std::size_t>(next - oldest));
  for (std::size_t i = 0; i < ring.size(); ++i) {
    ASSERT_EQ(ring[i].x, oldest + static_cast<double>(i));
    ASSERT_EQ(ring[i].y, -(oldest + static_cast<double>(i)));
  }
  EXPECT_EQ(ring.LowerBound(oldest + 10.5), 11u);
  EXPECT_EQ(ring.LowerBound(-1), 0u);
  EXPECT_EQ(ring.LowerBound(next), ring.size());
  EXPECT_LE(ring.MemoryBytes(), ring.size() * 24 + 1024);
  PointRing copy = ring;
  EXPECT_EQ(copy.size(), ring.size());
  EXPECT_EQ(copy.back(), ring.back());
}

TEST(PointRing, ExtremesOfAnyStretchMatchReadingEveryPoint) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> value(-100, 100);
  PointRing ring;
  std::vector<ChartPoint> kept;  // the same points, plainly
  for (int round = 0; round < 3000; ++round) {
    const double y = round % 97 == 0 ? NAN : (round % 50 == 0 ? 500.0 : value(random));
    ring.push_back({static_cast<double>(round), y});
    kept.push_back({static_cast<double>(round), y});
    if (round % 4 == 0 || round > 2500) {  // drop from the front, across block boundaries
      ring.pop_front();
      kept.erase(kept.begin());
    }
  }
  std::uniform_int_distribution<std::size_t> index(0, kept.size());
  for (int trial = 0; trial < 500; ++trial) {
    std::size_t from = index(random);
    std::size_t to = index(random);
    if (from > to) std::swap(from, to);
    std::size_t low = 0, high = 0;
    const bool any = ring.Extremes(from, to, low, high);
    std::optional<std::size_t> wantLow, wantHigh;
    for (std::size_t i = from; i < to; ++i) {
      if (!std::isfinite(kept[i].y)) continue;
      if (!wantLow || kept[i].y < kept[*wantLow].y) wantLow = i;
      if (!wantHigh || kept[i].y > kept[*wantHigh].y) wantHigh = i;
    }
    ASSERT_EQ(any, wantLow.has_value()) << from << ".." << to;
    if (!any) continue;
    ASSERT_EQ(low, *wantLow) << from << ".." << to;  // the first of equal values
    ASSERT_EQ(high, *wantHigh) << from << ".." << to;
  }
  // The first point beyond an x threshold, as a plain search finds it.
  for (int trial = 0; trial < 500; ++trial) {
    std::size_t from = index(random);
    std::size_t to = index(random);
    if (from > to) std::swap(from, to);
    const double threshold = kept.front().x + static_cast<double>(index(random)) + 0.5 * (trial % 2);
    std::size_t want = from;
    while (want < to && !(kept[want].x >= threshold)) ++want;
    ASSERT_EQ(ring.FirstBeyond(from, to, [&](double x) { return x >= threshold; }), want)
        << from << ".." << to << " beyond " << threshold;
  }
}

// The extremes a line through every point would reach in each pixel column.
struct ColumnExtremes {
  double low = INFINITY, high = -INFINITY, first = NAN, last = NAN;
};
std::map<int, ColumnExtremes> Extremes(const std::vector<ChartPoint>& points, double xMin, double xMax,
                                       int columns) {
  std::map<int, ColumnExtremes> result;
  for (const ChartPoint& p : points) {
    if (p.x < xMin || p.x > xMax || !std::isfinite(p.y)) continue;
    const int column = std::min(columns - 1, static_cast<int>((p.x - xMin) * (columns / (xMax - xMin))));
    ColumnExtremes& e = result[column];
    e.low = std::min(e.low, p.y);
    e.high = std::max(e.high, p.y);
    if (std::isnan(e.first)) e.first = p.y;
    e.last = p.y;
  }
  return result;
}

TEST(ColumnReduction, KeepsEveryColumnsFirstLastAndExtremes) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0, 5);
  PointRing ring;
  std::vector<ChartPoint> all;
  for (int i = -1003; i < 20000; ++i) {
    const double x = i + (i > 5000 ? 3 : 0);  // a gap
    const double y = (i == 777) ? NAN : std::sin(i * 0.01) * 100 + noise(random);
    ring.push_back({x, y});
    if (i >= 0) all.push_back({x, y});
  }
  for (int i = 0; i < 1003; ++i) ring.pop_front();  // the oldest points went out of the window
  struct Case {
    double xMin, xMax;
    int columns;
  } cases[] = {{0, 20002, 1000}, {1000.5, 3000.5, 300}, {-50, 40000, 7}, {4990, 5010, 600}};
  for (const Case& c : cases) {
    std::vector<ChartPoint> reduced;
    ReduceToColumns(ring, c.xMin, c.xMax, c.columns, reduced);
    ASSERT_TRUE(std::is_sorted(reduced.begin(), reduced.end(),
                               [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; }));
    std::size_t inside = 0;
    for (const ChartPoint& p : reduced) inside += (p.x >= c.xMin && p.x <= c.xMax);
    EXPECT_LE(inside, static_cast<std::size_t>(c.columns) * 4);
    const auto want = Extremes(all, c.xMin, c.xMax, c.columns);
    const auto got = Extremes(reduced, c.xMin, c.xMax, c.columns);
    ASSERT_EQ(got.size(), want.size());
    for (const auto& [column, e] : want) {
      const ColumnExtremes& g = got.at(column);
      EXPECT_EQ(g.low, e.low) << column;
      EXPECT_EQ(g.high, e.high) << column;
      EXPECT_EQ(g.first, e.first) << column;
      EXPECT_EQ(g.last, e.last) << column;
    }
    // The line runs on to the borders through the nearest outside points.
    if (c.xMin > 0) {
      EXPECT_LT(reduced.front().x, c.xMin);
    }
    if (c.xMax < 20002) {
      EXPECT_GT(reduced.back().x, c.xMax);
    }
  }
}

TEST(ColumnReduction, DegenerateRanges) {
  PointRing ring;
  for (int i = 0; i < 5; ++i) ring.push_back({3, static_cast<double>(i)});
  std::vector<ChartPoint> out;
  ReduceToColumns(ring, 3, 3, 100, out);  // one x value: one column
  EXPECT_EQ(out, (std::vector<ChartPoint>{{3, 0}, {3, 4}}));
  out.clear();
  ReduceToColumns(ring, 3, 3, 0, out);
  ReduceToColumns(PointRing{}, 0, 10, 100, out);
  EXPECT_TRUE(out.empty());
}

// The ring answers the reduction from its block summaries; it must draw exactly what the same points
// held as two plain arrays draw, missing and infinite values included.
TEST(ColumnReduction, RingGivesWhatPlainArraysGive) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> value(-50, 50);
  PointRing ring;
  std::vector<double> xs, ys;
  for (int i = 0; i < 30000; ++i) {
    const double x = i / 2 + (i > 12000 ? 40 : 0);  // runs of equal x and a gap
    const double y = i % 211 == 0 ? NAN : (i % 307 == 0 ? -INFINITY : value(random));
    ring.push_back({x, y});
    if (i % 5 == 0) ring.pop_front();  // the front wraps and its blocks go
  }
  for (std::size_t i = 0; i < ring.size(); ++i) {
    xs.push_back(ring[i].x);
    ys.push_back(ring[i].y);
  }
  const struct {
    double xMin, xMax;
    int columns;
  } cases[] = {{xs.front(), xs.back(), 1000},
               {5000.5, 7000.25, 333},
               {-10, 1e6, 3},
               {6020, 6050, 800},
               {9000, 9000, 50}};
  for (const auto& c : cases) {
    std::vector<ChartPoint> fromRing;
    ReduceToColumns(ring, c.xMin, c.xMax, c.columns, fromRing);
    EXPECT_EQ(fromRing, ReduceToColumns(xs, ys, c.xMin, c.xMax, c.columns)) << c.xMin << ".." << c.xMax;
    EXPECT_FALSE(fromRing.empty());
  }
}

}  // namespace
}  // namespace varnok
