#include "monitor/SampleTick.h"

#include <algorithm>
#include <array>

#include "link/CommandCodes.h"
#include "monitor/ChartPeriod.h"
#include "monitor/ValueBlock.h"

namespace varnok {

SampleTickOutcome RunSampleTick(SamplingModel& model, ChartAxes& axes, InstrumentLink& link,
                                const SampleTickSettings& settings) {
  const long long elapsed = ElapsedSeconds(settings.periodMs, model.sampleCount);
  if (!settings.plotDown) return SampleTickOutcome::Paused;
  if (!link.IsConnected()) return SampleTickOutcome::NotConnected;

  ++model.sampleCount;
  model.title = ElapsedTimeTitle(elapsed);

  std::array<std::uint8_t, kBinaryDataSize> data{};
  WriteValueBlockRequest(data.data(), 200, 60);
  const int result = link.SendBinaryCommand(cmd::kReadValueBlock, kValueBlockRequestLength, data.data());
  if (result >= 2) {
    const std::size_t length = std::min(static_cast<std::size_t>(result), data.size());
    model.AddSample(std::span<const std::uint8_t>(data.data(), length));
  }
  model.offsetRequest = false;

  model.TrimToWindow(settings.window);

  if (settings.followLast) {
    if (const std::optional<double> newest = model.NewestX()) {
      axes.Follow(*newest, model.XExtent()->first);
    }
  }
  return SampleTickOutcome::Sampled;
}

}  // namespace varnok
