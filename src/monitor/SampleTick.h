#pragma once
#include "link/InstrumentLink.h"
#include "monitor/ChartAxes.h"
#include "monitor/SamplingModel.h"

namespace varnok {

// What one chart timer tick reads of the page.
struct SampleTickSettings {
  bool plotDown = false;    // PlotBtn
  int periodMs = 500;       // the chart timer's period
  int window = 5000;        // Wind: most points per series
  bool followLast = false;  // Last: keep the newest sample at the right edge
};

enum class SampleTickOutcome {
  Paused,        // PlotBtn is up: nothing happened
  NotConnected,  // no instrument: the page releases PlotBtn
  Sampled,       // a sample ran (its exchange may still have failed)
};

// One tick of the chart timer: the title with the time up to the previous sample, one
// ReadValueBlock (200, 60) exchange, the points, the pending offset capture, the point window and
// the follow rule.
SampleTickOutcome RunSampleTick(SamplingModel& model, ChartAxes& axes, InstrumentLink& link,
                                const SampleTickSettings& settings);

}  // namespace varnok
