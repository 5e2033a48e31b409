#pragma once
#include <string_view>

namespace varnok {

// The configuration file the editor holds at start-up: a complete file of a 35-channel instrument,
// CR LF line ends.
std::string_view SampleConfigurationText();

}  // namespace varnok
