#pragma once
#include <optional>
#include <string>
#include <vector>

namespace varnok {

// The command line: the first parameter that is not an option names the settings file (relative to the
// executable's folder). The options serve the run script and the start-up benchmark.
struct ProgramOptions {
  std::optional<std::string> settingsName;
  std::optional<std::string> address;      // --address TEXT: the address box's text at start
  bool connect = false;                    // --connect: press Connect once the window shows
  std::optional<std::string> screenshots;  // --screenshots DIR: save every shown page as PNG, then exit
  bool startupProbe = false;         // --startup-probe: print the monotonic time of the first paint, exit
  bool darkPalette = false;          // --dark-palette: Fusion with a dark palette, to check the pages on it
  std::optional<std::string> trace;  // --trace FILE: append one line per exchange with the instrument
};

// Throws AppError for an option it does not know or one that lacks its value.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace varnok
