#include "config/SampleConfiguration.h"

namespace varnok {

namespace {

// Generated at configure time from tests/config/fixtures/SAMPLE.CFG, the one copy of the text.
constexpr char kSampleBytes[] = {
#include "config/generated/SampleConfigurationBytes.inc"
};

}  // namespace

std::string_view SampleConfigurationText() { return std::string_view(kSampleBytes, sizeof kSampleBytes - 1); }

}  // namespace varnok
