#pragma once
#include <string>
#include <vector>

namespace varnok {

class SettingsFile;

// What the command console keeps in the settings file, section Form2: its geometry and history.
struct ConsoleSettings {
  int top = 100;
  int left = 100;
  int width = 600;
  int height = 258;
  std::vector<std::string> commands{"software", "fault", "status", "line"};
};

inline constexpr const char* kConsoleSection = "Form2";
inline constexpr const char* kDefaultConsoleCommands = "software,fault,status,line";

// Missing keys, and integers that do not read as integers, give the defaults above.
ConsoleSettings ReadConsoleSettings(const SettingsFile& file);

// Writes the five keys into the file's memory; the caller saves the file.
void WriteConsoleSettings(SettingsFile& file, const ConsoleSettings& settings);

}  // namespace varnok
