#include "core/MainWindowSettings.h"

#include <algorithm>

#include "core/TextConversions.h"

namespace varnok {

MainWindowSettings ReadMainWindowSettings(const SettingsFile& file) {
  MainWindowSettings s;
  s.top = file.ReadInteger("Form", "Top", s.top);
  s.left = file.ReadInteger("Form", "Left", s.left);
  s.width = file.ReadInteger("Form", "Width", s.width);
  s.height = file.ReadInteger("Form", "Height", s.height);
  s.unitAddress = std::clamp(file.ReadInteger("Form", "UnitAddress", s.unitAddress), 0, 255);
  s.ipAddresses = SplitCommaList(file.ReadString("Form", "IPAddress", JoinCommaList(s.ipAddresses)));
  s.currentIP = file.ReadString("Form", "CurrentIP", s.currentIP);
  s.qxName = file.ReadString("Form", "QXName", s.qxName);
  s.chartWindow =
      std::clamp(file.ReadInteger("Chart", "Window", s.chartWindow), kMinChartWindow, kMaxChartWindow);
  s.chartTimer = file.ReadString("Chart", "Timer", s.chartTimer);
  s.chartLast = file.ReadBool("Chart", "Last", s.chartLast);
  return s;
}

void WriteMainWindowSettings(SettingsFile& file, const MainWindowSettings& s) {
  file.WriteInteger("Form", "Top", s.top);
  file.WriteInteger("Form", "Left", s.left);
  file.WriteInteger("Form", "Width", s.width);
  file.WriteInteger("Form", "Height", s.height);
  file.WriteInteger("Form", "UnitAddress", s.unitAddress);
  file.WriteString("Form", "IPAddress", JoinCommaList(s.ipAddresses));
  file.WriteString("Form", "CurrentIP", s.currentIP);
  file.WriteInteger("Chart", "Window", s.chartWindow);
  file.WriteBool("Chart", "Last", s.chartLast);
  file.WriteString("Chart", "Timer", s.chartTimer);
}

}  // namespace varnok
