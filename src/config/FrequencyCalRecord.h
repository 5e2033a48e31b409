#pragma once
#include <cstdint>
#include <vector>

#include "config/ConfigPanel.h"
#include "config/ReplyTexts.h"

namespace varnok {

// The 76-byte calibration record of one frequency: Frequency, Rcvr, MRT, Window Coef, ND drive,
// IF Atten as float32 at 0..20; alpha, dtdg, k1..k4 as float64 at 24..64; Tnd as float32 at 72.
// Written with code 7 (a 16-bit row index, then the record) and read with code 167 (the index only).
inline constexpr int kFrequencyCalRecordSize = 76;
inline constexpr int kCalibrationRowPayloadSize = 78;
inline constexpr int kCalibrationRowReplyNeeded = 11;  // a reply of 10 bytes or fewer leaves the row alone

// Byte offset of each column in the record.
inline constexpr int kFrequencyCalOffsets[kCalibrationColumns] = {0,  4,  8,  12, 16, 20, 24,
                                                                  32, 40, 48, 56, 64, 72};
inline constexpr bool IsDoubleColumn(int column) { return column >= 6 && column <= 11; }

// The code-7 payload of one row, zero-filled: the index (row number - 1), then the 13 cells in order.
// Throws AppError at the first cell that is not a number.
std::vector<std::uint8_t> BuildCalibrationRowPayload(int index, const CalibrationRow& row);

// The 13 cells shown for a code-167 reply of `result` bytes. Cells whose bytes the reply does not
// cover are left empty, so that uploading such a row stops there instead of sending invented values.
// With ReplyTexts::kExact every cell holds the shortest text that uploads the same bytes again.
CalibrationRow DecodeCalibrationRow(const std::uint8_t* reply, int result,
                                    ReplyTexts texts = ReplyTexts::kShown);

}  // namespace varnok
