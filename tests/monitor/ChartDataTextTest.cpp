// The monitor chart's numbers as the clipboard's tab-separated text.
#include <gtest/gtest.h>

#include "tests/monitor/MonitorLink.h"
#include "monitor/ChartDataText.h"

namespace varnok {
namespace {

using testing::FloatBytes;

// One sample of the chart: the channel values the instrument sends (channels 0 and 7 only, as many
// values as `count` covers), and whether "Set offsets" was pressed before it.
struct Sample {
  float channel0;
  float channel7;
  int count = 60;  // values in the reply; 1 leaves channel 7 without a point
  bool setOffsets = false;
  bool failed = false;  // the exchange failed: the sample number advances, no points
};

std::string Copied(const std::vector<Sample>& samples) {
  SamplingModel model;
  model.Select({0, 7});  // "PS 24 V" and "Rain"
  for (const Sample& s : samples) {
    if (s.setOffsets) model.RequestOffsets();
    ++model.sampleCount;
    if (!s.failed) {
      std::vector<float> values(static_cast<std::size_t>(s.count), 0.0f);
      values[0] = s.channel0;
      if (s.count > 7) values[7] = s.channel7;
      model.AddSample(FloatBytes(values));
    }
    model.offsetRequest = false;
  }
  return ChartDataText(model);
}

TEST(ChartDataText, HeaderThenOneRowPerSampleNumber) {
  struct Case {
    const char* what;
    std::vector<Sample> samples;
    std::string text;
  };
  const Case cases[] = {
      {"nothing sampled", {}, "Sample\tPS 24 V\tRain\n"},
      {"two samples; single-precision values keep their short texts",
       {{24.5f, 0.1f}, {24.25f, 0.5f}},
       "Sample\tPS 24 V\tRain\n1\t24.5\t0.1\n2\t24.25\t0.5\n"},
      {"offsets captured at the first sample: it is charted with the old offsets, the next one relative to "
       "it",
       {{24.5f, 0.25f, 60, true}, {24.25f, 0.5f}},
       "Sample\tPS 24 V (offset 24.5 subtracted)\tRain (offset 0.25 "
       "subtracted)\n1\t24.5\t0.25\n2\t-0.25\t0.25\n"},
      {"a reply too short for channel 7 and a failed sample leave empty cells and a gap",
       {{1.0f, 2.0f}, {3.0f, 0.0f, 1}, {0, 0, 60, false, true}, {5.0f, 6.0f}},
       "Sample\tPS 24 V\tRain\n1\t1\t2\n2\t3\t\n4\t5\t6\n"},
  };
  for (const Case& k : cases) EXPECT_EQ(Copied(k.samples), k.text) << k.what;
}

TEST(ChartDataText, PlaceholderSeriesBeforeAnySelection) {
  SamplingModel model;
  model.channelOffsets[0] = 3.0f;  // offsets belong to series that a selection feeds
  EXPECT_EQ(ChartDataText(model), "Sample\tp1\tp2\tp3\tp4\n");
}

}  // namespace
}  // namespace varnok
