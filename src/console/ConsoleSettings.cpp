#include "console/ConsoleSettings.h"

#include "core/SettingsFile.h"
#include "core/TextConversions.h"

namespace varnok {

ConsoleSettings ReadConsoleSettings(const SettingsFile& file) {
  const ConsoleSettings defaults;
  ConsoleSettings s;
  s.top = file.ReadInteger(kConsoleSection, "Top", defaults.top);
  s.left = file.ReadInteger(kConsoleSection, "Left", defaults.left);
  s.width = file.ReadInteger(kConsoleSection, "Width", defaults.width);
  s.height = file.ReadInteger(kConsoleSection, "Height", defaults.height);
  s.commands = SplitCommaList(file.ReadString(kConsoleSection, "Commands", kDefaultConsoleCommands));
  return s;
}

void WriteConsoleSettings(SettingsFile& file, const ConsoleSettings& settings) {
  file.WriteInteger(kConsoleSection, "Top", settings.top);
  file.WriteInteger(kConsoleSection, "Left", settings.left);
  file.WriteInteger(kConsoleSection, "Width", settings.width);
  file.WriteInteger(kConsoleSection, "Height", settings.height);
  file.WriteString(kConsoleSection, "Commands", JoinCommaList(settings.commands));
}

}  // namespace varnok
