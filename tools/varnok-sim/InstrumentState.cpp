#include "tools/varnok-sim/InstrumentState.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "tools/varnok-sim/SampleCalibration.h"

namespace varnok::sim {

void PutFloat32(std::vector<std::uint8_t>& bytes, std::size_t offset, float value) {
  if (bytes.size() < offset + 4) bytes.resize(offset + 4, 0);
  varnok::PutFloat32(bytes.data() + offset, value);
}

namespace {

void PutText16(std::vector<std::uint8_t>& bytes, std::size_t offset, const char* text) {
  const std::size_t n = std::min<std::size_t>(16, std::strlen(text));
  std::memcpy(bytes.data() + offset, text, n);
}

}  // namespace

InstrumentState MakeInitialState(const std::string& model) {
  InstrumentState s;
  s.model = model;

  // Tip configuration: five elevation angles.
  s.tipConfig.assign(18 + 4 * 5, 0);
  s.tipConfig[0] = 5;
  s.tipConfig[1] = 0;
  PutFloat32(s.tipConfig, 2, 0.98f);
  PutFloat32(s.tipConfig, 6, 0.0f);
  PutFloat32(s.tipConfig, 10, 0.0f);
  PutFloat32(s.tipConfig, 14, 0.8f);
  const float angles[] = {30, 45, 90, 135, 150};
  for (int k = 0; k < 5; ++k) PutFloat32(s.tipConfig, 18 + 4 * k, angles[k]);

  s.userCorrections.assign(64, 0);
  PutFloat32(s.userCorrections, 0, -0.37f);
  PutFloat32(s.userCorrections, 4, -0.85f);
  PutFloat32(s.userCorrections, 8, 0.80f);
  PutFloat32(s.userCorrections, 12, 0.00f);

  s.blower.assign(80, 0);
  PutFloat32(s.blower, 0, 0.80f);
  PutFloat32(s.blower, 4, 70.0f);
  PutFloat32(s.blower, 8, 30.0f);

  s.calConstants.assign(128, 0);
  PutText16(s.calConstants, 0, "2012/03/09 18:46");
  PutText16(s.calConstants, 16, "2012/07/05 16:39");
  const float coefficients[] = {13.0f,  68.23f, 0.009037f, 0.0078f, 6.08e-6f, 5.1f,  600.0f,
                                200.0f, -0.61f, 4.329f,    0.17f,   4.333f,   0.05f, 0.065f,
                                0.90f,  10.0f,  10.0f,     2.5f,    10.0f,    200.0f};
  for (std::size_t i = 0; i < std::size(coefficients); ++i) {
    PutFloat32(s.calConstants, 32 + 4 * i, coefficients[i]);
  }

  s.calibrationRows = SampleCalibrationRows();
  return s;
}

}  // namespace varnok::sim
