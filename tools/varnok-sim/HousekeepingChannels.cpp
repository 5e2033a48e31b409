#include "tools/varnok-sim/HousekeepingChannels.h"

#include <cmath>

#include "tools/varnok-sim/InstrumentState.h"

namespace varnok::sim {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A slow wave of the given amplitude and period; the phase keeps channels apart.
double Drift(double seconds, double amplitude, double period, int phase) {
  return amplitude * std::sin(kTwoPi * seconds / period + 0.7 * phase);
}

double MainBlock(const InstrumentState& state, int k, double t) {
  switch (k) {
    case 0:
      return 24.0 + Drift(t, 0.05, 90, k);
    case 1:
      return 12.0 + Drift(t, 0.03, 80, k);
    case 2:
      return 8.0 + Drift(t, 0.02, 70, k);
    case 3:
      return 5.0 + Drift(t, 0.01, 60, k);
    case 4:
      return 5.0 + Drift(t, 0.01, 65, k);
    case 5:
      return 3.3 + Drift(t, 0.005, 75, k);
    case 7:
      return 0.15 + Drift(t, 0.05, 120, k);  // rain sensor, V
    case 8:
      return (1013.2 - 600.0) / 200.0 + Drift(t, 0.005, 300, k);  // barometer, V
    case 11:
      return 12.0 * state.fanPosition / 4095.0;  // fan drive, V
    case 12:
      return 6.0 + Drift(t, 0.1, 45, k);  // blackbody fan, V
    case 13:
      return 1.5 + Drift(t, 0.02, 50, k);  // IRT analog, V
    case 14:
    case 15:
      return 0.001 + Drift(t, 0.0005, 30, k);  // ground
    case 17:
      return 301.2 + Drift(t, 0.4, 240, k);  // BB T0, K
    case 18:
      return 301.3 + Drift(t, 0.4, 240, k);  // BB T1, K
    case 19:
      return 299.5 + Drift(t, 0.3, 200, k);  // IRT T2, K
    case 20:
      return 299.7 + Drift(t, 0.3, 200, k);  // IRT T3, K
    case 22:
    case 23:
    case 24:
    case 25:
      return 303.0 + Drift(t, 0.2, 180, k);  // receiver plates, K
    case 26:
      return 1013.2 + Drift(t, 1.5, 600, k);  // pressure, mbar
    case 27:
      return state.elevationDegrees;
    case 28:
      return state.azimuthDegrees;
    default:
      return 0.0;
  }
}

}  // namespace

float HousekeepingValue(const InstrumentState& state, int index, double seconds) {
  double value = 0.0;
  if (index >= 200 && index < 260) {
    value = MainBlock(state, index - 200, seconds);
  } else if (index >= 300 && index < 310) {
    const int k = index - 300;
    value = (k == 0 ? 285.0 : 300.0) + Drift(seconds, 0.5, 150 + 10 * k, k);
  } else if (index == 400) {
    value = 45.0 + Drift(seconds, 2.0, 900, 1);  // relative humidity, %
  } else if (index == 401) {
    value = 22.0 + Drift(seconds, 0.5, 600, 2);  // ambient temperature, C
  } else if (index == 402) {
    value = 1013.2 + Drift(seconds, 1.5, 600, 26);
  }
  return static_cast<float>(value);
}

}  // namespace varnok::sim
