#include "config/CalibrationTableExchange.h"

#include <algorithm>

#include "config/CommandExchange.h"
#include "config/FrequencyCalRecord.h"
#include "link/LittleEndian.h"
#include "link/CommandCodes.h"

namespace varnok {

void UploadCalibrationTable(InstrumentLink& link, const ConfigPanel& panel) {
  ExchangeBuffer buffer{};
  WriteSequenceStatus status(link);
  try {
    for (int r = 1; r <= kCalibrationRows; ++r) {
      const std::vector<std::uint8_t> payload = BuildCalibrationRowPayload(r - 1, panel.FTable[r]);
      const int result = SendCodedCommand(link, cmd::kWriteCalibrationRow, payload, buffer);
      status.Show(result, buffer.data());
    }
  } catch (...) {
    status.Finish();
    throw;
  }
  status.Finish();
}

void ReadCalibrationTable(InstrumentLink& link, ConfigPanel& panel) {
  ExchangeBuffer buffer{};
  for (int r = 1; r <= kCalibrationRows; ++r) {
    std::vector<std::uint8_t> index(2);
    PutUInt16(index.data(), static_cast<std::uint16_t>(r - 1));
    const int result = SendCodedCommand(link, cmd::kReadCalibrationRow, index, buffer);
    if (result < kCalibrationRowReplyNeeded) continue;
    const int covered = std::min<int>(result, static_cast<int>(buffer.size()));
    panel.FTable[r] = DecodeCalibrationRow(buffer.data(), covered);
  }
}

}  // namespace varnok
