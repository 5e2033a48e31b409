#include "config/SettingsExchange.h"

#include <string>

#include "config/BlowerRecord.h"
#include "config/CalConstantsRecord.h"
#include "config/CommandExchange.h"
#include "link/LittleEndian.h"
#include "config/TipConfigRecord.h"
#include "config/UserCorrectionsRecord.h"
#include "link/CommandCodes.h"

namespace varnok {

void UploadSettings(InstrumentLink& link, const ConfigPanel& panel) {
  ExchangeBuffer buffer{};
  WriteSequenceStatus status(link);
  auto write = [&](std::uint8_t code, const std::vector<std::uint8_t>& payload) {
    const int result = SendCodedCommand(link, code, payload, buffer);
    status.Show(result, buffer.data());
  };
  try {
    write(cmd::kWriteTipConfig, BuildTipConfigPayload(panel));
    write(cmd::kWriteUserCorrections, BuildUserCorrectionsPayload(panel));
    write(cmd::kWriteBlower, BuildBlowerPayload(panel));
    write(cmd::kWriteCalConstants, BuildCalConstantsPayload(panel));
  } catch (...) {
    status.Finish();
    throw;
  }
  status.Finish();
}

bool ReadSettings(InstrumentLink& link, ConfigPanel& panel) {
  ExchangeBuffer buffer{};
  const std::vector<std::uint8_t> none;
  auto stop = [&] {
    link.ErrorBeep();
    return false;
  };

  int result = SendCodedCommand(link, cmd::kReadTipConfig, none, buffer);
  if (ApplyTipConfigReply(buffer.data(), result, panel) != TipReplyOutcome::kApplied) return stop();

  result = SendCodedCommand(link, cmd::kReadUserCorrections, none, buffer);
  if (!ApplyUserCorrectionsReply(buffer.data(), result, panel)) return stop();

  result = SendCodedCommand(link, cmd::kReadBlower, none, buffer);
  if (!ApplyBlowerReply(buffer.data(), result, panel)) return stop();

  result = SendCodedCommand(link, cmd::kReadCalConstants, none, buffer);
  if (!ApplyCalConstantsReply(buffer.data(), result, panel)) return stop();
  return true;
}

void SaveSettingsToFlash(InstrumentLink& link) {
  ExchangeBuffer buffer{};
  const int result = SendCodedCommand(link, cmd::kSaveToFlash, {}, buffer);
  link.ShowCommandStatus(result, buffer.data());
  if (result >= 4) link.SetStatusText("Number of writes = " + std::to_string(GetInt32(buffer.data())));
}

}  // namespace varnok
