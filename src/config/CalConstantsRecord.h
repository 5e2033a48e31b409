#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/ConfigPanel.h"

namespace varnok {

// Calibration constants, written with code 11 (128 bytes) and read with code 171:
//   0 factory LN2 calibration date (LastFCal), 16 user LN2 calibration date (LastUserCal): 16
//   characters each, zero-filled, no terminating zero when full;
//   32..52 CFG_C1..CFG_C6; 56/60 CFG_C7 pair; 64/68 CFG_C8; 72/76 CFG_C9; 80/84 CFG_C10; 88 CFG_C11;
//   92..108 the five CalIntParam numbers; all float32; bytes 112..127 zero.
inline constexpr int kCalConstantsSize = 128;
inline constexpr int kDateFieldSize = 16;

// Throws AppError when a single-number field is not a number. A pair or the parameter list with fewer
// numbers than expected leaves the missing ones zero.
std::vector<std::uint8_t> BuildCalConstantsPayload(const ConfigPanel& panel);

// Shows a code-171 reply in the panel (the two dates and CFG_C1 only); false (nothing changed) when
// it holds fewer than 128 bytes.
bool ApplyCalConstantsReply(const std::uint8_t* reply, int result, ConfigPanel& panel);

// A whole code-171 reply in the panel, every field the upload fills (dates, CFG_C1..CFG_C11 with the
// pairs, CalIntParam) in exact texts, for a backup; false (nothing changed) when it holds fewer than
// 128 bytes.
bool ApplyWholeCalConstantsReply(const std::uint8_t* reply, int result, ConfigPanel& panel);

// A 16-character date field as text, up to its first zero byte.
std::string DateFieldText(const std::uint8_t* field);

}  // namespace varnok
