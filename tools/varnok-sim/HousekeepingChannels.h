#pragma once

namespace varnok::sim {

struct InstrumentState;

// The value that housekeeping channel `index` reads `seconds` after the instrument started.
// Every channel drifts slowly and smoothly around its nominal value:
//   200..259  the main block: supplies near their names (24, 12, 8, 5, 5, 3.3 V), rain sensor,
//             barometer volts, fan volts, blackbody and IRT temperatures near 300 K, receiver
//             temperatures, pressure near 1013 mbar (value 26), drive positions (27, 28)
//   300..309  infrared thermometer and further temperatures (K)
//   400..403  relative humidity (%), ambient temperature (C), pressure (mbar), spare
// Numbers without a channel read 0.
float HousekeepingValue(const InstrumentState& state, int index, double seconds);

}  // namespace varnok::sim
