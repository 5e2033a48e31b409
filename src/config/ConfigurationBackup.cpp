#include "config/ConfigurationBackup.h"

#include <algorithm>
#include <exception>

#include "config/BlowerRecord.h"
#include "config/CalConstantsRecord.h"
#include "config/CommandExchange.h"
#include "config/ConfigFileWriter.h"
#include "config/ConfigParser.h"
#include "config/FrequencyCalRecord.h"
#include "link/LittleEndian.h"
#include "config/TipConfigRecord.h"
#include "config/UserCorrectionsRecord.h"
#include "core/InstrumentText.h"
#include "link/CommandCodes.h"
#include "link/CommandStatusText.h"

namespace varnok {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes [from, to) of `a` and `b` are equal (both must hold them).
bool SameRange(const Bytes& a, const Bytes& b, std::size_t from, std::size_t to) {
  return a.size() >= to && b.size() >= to && std::equal(a.begin() + from, a.begin() + to, b.begin() + from);
}

std::string NoAnswer(int result) { return "no answer (result " + std::to_string(result) + ")"; }

std::string ShortReply(int result, int needed) {
  return "reply of " + std::to_string(result) + " bytes, " + std::to_string(needed) + " needed";
}

class Backup {
 public:
  Backup(InstrumentLink& link, const StepReport& report) : link_(link), report_(report) {}

  BackupResult Run(const std::vector<std::string>& comments) {
    if (!ReadTipConfiguration() ||
        !ReadGroup(cmd::kReadUserCorrections, "read user corrections", kUserCorrectionsReplyNeeded,
                   corrections_,
                   [&](const Bytes& b, int n) {
                     return ApplyUserCorrectionsReply(b.data(), n, panel_, ReplyTexts::kExact);
                   }) ||
        !ReadGroup(cmd::kReadBlower, "read blower settings", kBlowerSize, blower_,
                   [&](const Bytes& b, int n) {
                     return ApplyBlowerReply(b.data(), n, panel_, ReplyTexts::kExact);
                   }) ||
        !ReadGroup(cmd::kReadCalConstants, "read calibration constants", kCalConstantsSize, constants_,
                   [&](const Bytes& b, int n) { return ApplyWholeCalConstantsReply(b.data(), n, panel_); }) ||
        !ReadRows()) {
      return result_;
    }
    const std::string text = WriteConfigurationText(panel_, comments);
    if (!CheckReadsBack(text)) return result_;
    result_.ok = true;
    result_.fileText = text;
    return result_;
  }

 private:
  bool Fail(const std::string& what, const std::string& outcome) {
    report_({what, false, outcome});
    result_.failure = what + ": " + outcome;
    return false;
  }
  void Ok(const std::string& what, const std::string& outcome) { report_({what, true, outcome}); }

  // Sends one read command; the reply bytes (as many as the buffer holds) land in `reply`.
  int Read(std::uint8_t code, const Bytes& request, Bytes& reply) {
    const int result = SendCodedCommand(link_, code, request, buffer_);
    const std::size_t n =
        result > 0 ? std::min<std::size_t>(static_cast<std::size_t>(result), buffer_.size()) : 0;
    reply.assign(buffer_.begin(), buffer_.begin() + static_cast<long>(n));
    return result;
  }

  bool ReadTipConfiguration() {
    const std::string what = "read tip configuration (code 168)";
    const int result = Read(cmd::kReadTipConfig, {}, tip_);
    if (result < 1) return Fail(what, NoAnswer(result));
    switch (ApplyTipConfigReply(tip_.data(), result, panel_, ReplyTexts::kExact)) {
      case TipReplyOutcome::kTooManyAngles:
        return Fail(what, "the instrument reports " + panel_.Tip3 + " elevation angles, at most " +
                              std::to_string(kMaxElevationAngles) + " are possible");
      case TipReplyOutcome::kTooShort:
        return Fail(what, result <= 16
                              ? ShortReply(result, 17)
                              : ShortReply(result, kTipConfigHeaderSize + 4 * GetUInt16(tip_.data())));
      case TipReplyOutcome::kApplied:
        break;
    }
    // The configuration file keeps elevation angles as whole degrees only.
    for (std::size_t k = 0; k < panel_.TipL.size(); ++k) {
      if (!ParseConfigInteger(panel_.TipL[k])) {
        return Fail(what, "elevation angle #" + std::to_string(k + 1) + " is " + panel_.TipL[k] +
                              ": a configuration file holds whole degrees only");
      }
    }
    tip_.resize(kTipConfigHeaderSize + 4 * panel_.TipL.size());
    Ok(what, "OK, " + std::to_string(panel_.TipL.size()) + " elevation angles");
    return true;
  }

  template <typename Apply>
  bool ReadGroup(std::uint8_t code, const std::string& name, int needed, Bytes& reply, Apply apply) {
    const std::string what = name + " (code " + std::to_string(code) + ")";
    const int result = Read(code, {}, reply);
    if (result < 1) return Fail(what, NoAnswer(result));
    if (!apply(reply, result)) return Fail(what, ShortReply(result, needed));
    Ok(what, "OK");
    return true;
  }

  bool ReadRows() {
    for (int r = 1; r <= kCalibrationRows; ++r) {
      const std::string what = "read calibration row " + std::to_string(r) + " (code 167)";
      Bytes index(2);
      PutUInt16(index.data(), static_cast<std::uint16_t>(r - 1));
      const int result = Read(cmd::kReadCalibrationRow, index, rows_[r - 1]);
      if (result < 1) return Fail(what, NoAnswer(result));
      // A backup needs the whole record: a shorter reply would leave cells the file cannot fill.
      if (result < kFrequencyCalRecordSize) return Fail(what, ShortReply(result, kFrequencyCalRecordSize));
      rows_[r - 1].resize(kFrequencyCalRecordSize);
      panel_.FTable[r] = DecodeCalibrationRow(rows_[r - 1].data(), result, ReplyTexts::kExact);
      Ok(what, "OK");
    }
    return true;
  }

  // A date shorter than its 16 bytes comes back from a file padded with blanks, as the console sends
  // it; only its characters are compared.
  std::size_t DateLength(std::size_t offset, const std::string& name) {
    const std::size_t length = DateFieldText(constants_.data() + offset).size();
    if (length < static_cast<std::size_t>(kDateFieldSize)) {
      Ok("note", "the " + name + " has " + std::to_string(length) +
                     " characters; a restore sends it padded with blanks to 16");
    }
    return length;
  }

  bool CheckReadsBack(const std::string& text) {
    const std::string what = "check that the file reads back to the same bytes";
    ConfigPanel back;
    if (ParseConfiguration(ConfigurationFileLines(text), back) != ParseOutcome::kComplete) {
      return Fail(what, "the number of frequencies does not read back");
    }
    try {
      if (BuildTipConfigPayload(back) != tip_) return Fail(what, "the tip configuration differs");
      if (!SameRange(BuildUserCorrectionsPayload(back), corrections_, 0, 16)) {
        return Fail(what, "the user corrections differ");
      }
      if (!SameRange(BuildBlowerPayload(back), blower_, 0, 12))
        return Fail(what, "the blower settings differ");
      const Bytes constants = BuildCalConstantsPayload(back);
      const std::size_t factory = DateLength(0, "factory calibration date");
      const std::size_t user = DateLength(16, "user calibration date");
      if (!SameRange(constants, constants_, 0, factory) || !SameRange(constants, constants_, 16, 16 + user) ||
          !SameRange(constants, constants_, 32, 112)) {
        return Fail(what, "the calibration constants differ");
      }
      for (int r = 1; r <= kCalibrationRows; ++r) {
        const Bytes payload = BuildCalibrationRowPayload(r - 1, back.FTable[r]);
        if (!std::equal(payload.begin() + 2, payload.end(), rows_[r - 1].begin())) {
          return Fail(what, "calibration row " + std::to_string(r) + " differs");
        }
      }
    } catch (const std::exception& e) {
      return Fail(what,
                  std::string("the instrument holds a value a configuration file cannot carry: ") + e.what());
    }
    Ok(what, "OK");
    return true;
  }

  InstrumentLink& link_;
  const StepReport& report_;
  ExchangeBuffer buffer_{};
  ConfigPanel panel_;
  Bytes tip_, corrections_, blower_, constants_;
  std::array<Bytes, kCalibrationRows> rows_;
  BackupResult result_;
};

}  // namespace

std::vector<std::string> ConfigurationFileLines(std::string_view fileBytes) {
  return SplitConfigLines(InstrumentTextToUtf8(fileBytes));
}

BackupResult BackupConfiguration(InstrumentLink& link, const std::vector<std::string>& comments,
                                 const StepReport& report) {
  return Backup(link, report).Run(comments);
}

RestorePreparation PrepareRestore(const std::vector<std::string>& lines) {
  RestorePreparation out;
  ConfigPanel panel;
  if (ParseConfiguration(lines, panel) == ParseOutcome::kBadFrequencyCount) {
    out.refusal = "The number of frequencies '" + TrimConfigText(panel.NumberOfFreq) +
                  "' is not a whole number: the file is not read past its calibration block";
    return out;
  }
  try {
    auto& commands = out.plan.commands;
    commands.push_back(
        {cmd::kWriteTipConfig, "write tip configuration (code 8)", BuildTipConfigPayload(panel)});
    commands.push_back(
        {cmd::kWriteUserCorrections, "write user corrections (code 9)", BuildUserCorrectionsPayload(panel)});
    commands.push_back({cmd::kWriteBlower, "write blower settings (code 10)", BuildBlowerPayload(panel)});
    commands.push_back(
        {cmd::kWriteCalConstants, "write calibration constants (code 11)", BuildCalConstantsPayload(panel)});
    for (int r = 1; r <= kCalibrationRows; ++r) {
      commands.push_back({cmd::kWriteCalibrationRow,
                          "write calibration row " + std::to_string(r) + " (code 7)",
                          BuildCalibrationRowPayload(r - 1, panel.FTable[r])});
    }
  } catch (const std::exception& e) {
    out.plan.commands.clear();
    out.refusal = e.what();
    return out;
  }
  out.ok = true;
  return out;
}

bool RunRestore(InstrumentLink& link, const RestorePlan& plan, bool saveToFlash, const StepReport& report) {
  ExchangeBuffer buffer{};
  for (const auto& command : plan.commands) {
    const int result = SendCodedCommand(link, command.code, command.payload, buffer);
    const bool accepted = IsCommandAccepted(result, buffer.data());
    report({command.what, accepted, CommandStatusText(result, buffer.data())});
    if (!accepted) return false;
  }
  if (!saveToFlash) return true;
  const int result = SendCodedCommand(link, cmd::kSaveToFlash, {}, buffer);
  const bool accepted = IsCommandAccepted(result, buffer.data());
  std::string outcome = CommandStatusText(result, buffer.data());
  if (result >= 4) outcome = "Number of writes = " + std::to_string(GetInt32(buffer.data()));
  report({"save to flash (code 200)", accepted, outcome});
  return accepted;
}

}  // namespace varnok
