#pragma once
#include "testpanel/PanelCommand.h"

namespace varnok {

// The fan scroll bar's range and steps.
inline constexpr int kFanMinimum = 0;
inline constexpr int kFanMaximum = 4095;
inline constexpr int kFanSmallChange = 10;
inline constexpr int kFanLargeChange = 100;

// Code 3 with the low 16 bits of the position, least significant byte first.
PanelCommand FanSpeedCommand(int position);

}  // namespace varnok
