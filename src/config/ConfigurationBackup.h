#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigPanel.h"
#include "link/InstrumentLink.h"

namespace varnok {

// The lines of a configuration file's bytes as the console's "Open" takes them: UTF-8 when the bytes
// are valid UTF-8, otherwise Windows-1252, split at CR LF, LF or CR.
std::vector<std::string> ConfigurationFileLines(std::string_view fileBytes);

// One step of a backup or a restore, as the command-line client prints it.
struct ConfigurationStep {
  std::string what;  // "read tip configuration (code 168)"
  bool ok = false;
  std::string outcome;  // "OK", "Problems:-1", "Not Connected", "reply of 12 bytes, 128 needed", ...
};
using StepReport = std::function<void(const ConfigurationStep&)>;

struct BackupResult {
  bool ok = false;
  std::string fileText;  // the configuration file, CR LF, when ok
  std::string failure;   // the failed step's outcome otherwise
};

// Reads the four settings groups (codes 168..171) and the 35 calibration rows (code 167), reporting
// each step; stops at the first failure. The file holds every value in the shortest text that
// uploads the same bytes again; before it is handed back it is parsed as the console's "Open" does
// and every payload that "Upload" and "Upload to instrument" would build from it is compared with
// what the instrument sent. `comments` become the file's leading comment lines.
BackupResult BackupConfiguration(InstrumentLink& link, const std::vector<std::string>& comments,
                                 const StepReport& report);

// What a restore sends, all built before anything is sent: the four settings payloads in the order
// of "Upload" and the 35 row payloads of "Upload to instrument".
struct RestorePlan {
  struct Command {
    std::uint8_t code = 0;
    std::string what;
    std::vector<std::uint8_t> payload;
  };
  std::vector<Command> commands;
};

struct RestorePreparation {
  bool ok = false;
  RestorePlan plan;
  std::string refusal;  // the console's own message when a field cannot be sent
};

// Parses the file's lines with the console's parser into a panel as it stands at start-up, then
// builds every payload. A field the console's upload would refuse refuses the whole restore, with
// the console's message; so does a number of frequencies that is not a whole number (the console's
// parse stops there with the error tone).
RestorePreparation PrepareRestore(const std::vector<std::string>& lines);

// Sends the plan's commands in order, then code 200 when `saveToFlash`. Stops at the first command
// that is not accepted (no answer, or a refusal code) and returns false.
bool RunRestore(InstrumentLink& link, const RestorePlan& plan, bool saveToFlash, const StepReport& report);

}  // namespace varnok
