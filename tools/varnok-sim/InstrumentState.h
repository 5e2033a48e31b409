#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/LittleEndian.h"

namespace varnok::sim {

inline constexpr int kCalibrationRows = 35;
inline constexpr int kCalibrationRecordSize = 76;
using CalibrationRecord = std::array<std::uint8_t, kCalibrationRecordSize>;

// Everything the simulated instrument remembers between requests. Records are kept as the
// raw little-endian bytes that travel on the wire, so a test can compare them byte for byte.
struct InstrumentState {
  std::string model = "QX-7100A";

  // Settings groups as last written with codes 8..11 and returned by 168..171.
  std::vector<std::uint8_t> tipConfig;        // 18 + 4n bytes
  std::vector<std::uint8_t> userCorrections;  // 64 bytes
  std::vector<std::uint8_t> blower;           // 80 bytes
  std::vector<std::uint8_t> calConstants;     // 128 bytes

  // Per-frequency calibration table, written with code 7 and read with 167.
  std::array<CalibrationRecord, kCalibrationRows> calibrationRows{};

  std::uint32_t optionBits = 0x02;  // byte 0 is what code 199 reports first
  std::uint16_t fanPosition = 0;    // last value of code 3

  std::string elevationCommand;    // last payload text of code 4 ("0009000", "01", "07")
  std::string azimuthCommand;      // last payload text of code 5
  double elevationDegrees = 90.0;  // where the elevation drive points (90 = zenith)
  double azimuthDegrees = 0.0;
  int elevationResets = 0;  // "07" commands received
  int azimuthResets = 0;

  std::uint32_t flashWriteCount = 17;  // incremented by every code 200

  int textCommands = 0;   // text commands answered (model queries not counted)
  int codedCommands = 0;  // coded commands answered
};

// The instrument as it leaves the factory: the settings of the sample configuration file.
InstrumentState MakeInitialState(const std::string& model);

// Writes a single-precision value into a raw record, growing it to hold the value. Reading goes
// through the one little-endian helper (GetFloat32, GetFloat64).
void PutFloat32(std::vector<std::uint8_t>& bytes, std::size_t offset, float value);

}  // namespace varnok::sim
