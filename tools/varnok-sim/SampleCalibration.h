#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "tools/varnok-sim/InstrumentState.h"

namespace varnok::sim {

// One line of the calibration block: Frequency, Rcvr, MRT, Window Coef, ND drive, IF Atten,
// alpha, dtdg, k1, k2, k3, k4, Tnd.
using CalibrationValues = std::array<double, 13>;

// The table lines of the first "CALIBRATION BLOCK:" of a configuration file's text (at most
// 35). Parsing stops at the first line that does not hold 13 numbers.
std::vector<CalibrationValues> ParseCalibrationBlock(std::string_view configText);

// Row `index` (0..34) of the factory table when no configuration file is at hand: 21 rows
// from 22.000 to 30.000 GHz on receiver 0, then 14 rows from 51.248 to 58.800 on receiver 1.
CalibrationValues PatternCalibrationRow(int index);

// The 76-byte record of one row (floats and doubles, little-endian).
CalibrationRecord EncodeCalibrationRecord(const CalibrationValues& values);
CalibrationValues DecodeCalibrationRecord(const CalibrationRecord& record);

// The instrument's initial table: the rows of the sample configuration file built into the
// simulator, completed by the pattern where that file has fewer rows.
std::array<CalibrationRecord, kCalibrationRows> SampleCalibrationRows();

// The sample configuration text built into the simulator (empty when none was available).
std::string_view EmbeddedSampleConfig();

}  // namespace varnok::sim
