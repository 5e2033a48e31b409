#include "config/FrequencyCalRecord.h"

#include "config/Float32.h"
#include "link/LittleEndian.h"
#include "config/PointFormat.h"
#include "core/TextConversions.h"

namespace varnok {

namespace {

struct SingleFormat {
  int precision;
  int decimals;
};

// FormatFixed arguments of the single-precision columns (0..5 and 12).
constexpr SingleFormat kSingleFormats[kCalibrationColumns] = {
    {6, 3}, {1, 0}, {4, 1}, {7, 6}, {5, 0}, {3, 1}, {}, {}, {}, {}, {}, {}, {6, 2}};

std::string FormatDoubleColumn(int column, double value) {
  if (column == 6) return FormatPointFixed(value, 5);         // "%.5f"
  if (column == 7) return FormatPointExponent(value, 8, 15);  // "%#015.8E"
  return FormatPointExponent(value, 8);                       // "%.8E"
}

}  // namespace

std::vector<std::uint8_t> BuildCalibrationRowPayload(int index, const CalibrationRow& row) {
  std::vector<std::uint8_t> payload(kCalibrationRowPayloadSize, 0);
  PutUInt16(&payload[0], static_cast<std::uint16_t>(index));
  std::uint8_t* record = &payload[2];
  for (int c = 0; c < kCalibrationColumns; ++c) {
    const double value = ParseNumberText(row[c]);
    if (IsDoubleColumn(c)) {
      PutFloat64(record + kFrequencyCalOffsets[c], value);
    } else {
      PutFloat32(record + kFrequencyCalOffsets[c], RoundToFloat32(value));
    }
  }
  return payload;
}

CalibrationRow DecodeCalibrationRow(const std::uint8_t* reply, int result, ReplyTexts texts) {
  CalibrationRow row;
  for (int c = 0; c < kCalibrationColumns; ++c) {
    const int offset = kFrequencyCalOffsets[c];
    const int size = IsDoubleColumn(c) ? 8 : 4;
    if (result < offset + size) continue;  // not covered by the reply: stays empty
    if (texts == ReplyTexts::kExact) {
      row[c] = IsDoubleColumn(c) ? ExactFloat64Text(GetFloat64(reply + offset))
                                 : ExactFloat32Text(GetFloat32(reply + offset));
    } else if (IsDoubleColumn(c)) {
      row[c] = FormatDoubleColumn(c, GetFloat64(reply + offset));
    } else {
      row[c] =
          FormatFixed(GetFloat32(reply + offset), kSingleFormats[c].precision, kSingleFormats[c].decimals);
    }
  }
  return row;
}

}  // namespace varnok
