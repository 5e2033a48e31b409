#pragma once
#include <string>
#include <vector>

#include "core/SettingsFile.h"

namespace varnok {

// The instrument's address as it leaves the factory: the first entry of a new address list.
inline constexpr const char* kFactoryAddress = "192.168.1.50";

// The values the main window keeps in the sections Form and Chart of the settings file.
struct MainWindowSettings {
  int top = 100;
  int left = 100;
  int width = 970;
  int height = 640;
  int unitAddress = 0;  // 0..255
  std::vector<std::string> ipAddresses{kFactoryAddress, "COM1"};
  std::string currentIP = kFactoryAddress;
  std::string qxName = "QXC.exe";  // read only: a hand-set value stays in the file
  int chartWindow = 5000;          // 1..100000 chart points
  std::string chartTimer = "1.0";  // chart time step in seconds, as typed
  bool chartLast = false;
};

inline constexpr int kMinChartWindow = 1;
inline constexpr int kMaxChartWindow = 100000;

// Reads every key, giving the defaults above for missing keys and values that are not integers, and
// keeping UnitAddress and Window within their ranges.
MainWindowSettings ReadMainWindowSettings(const SettingsFile& file);

// Writes every key but QXName (the file is saved by the caller).
void WriteMainWindowSettings(SettingsFile& file, const MainWindowSettings& settings);

}  // namespace varnok
