#include "testpanel/DriveAction.h"

#include <string_view>
#include <thread>

#include "link/CommandCodes.h"

namespace varnok {
namespace {

// Drive payloads are fixed digit texts, sent without a terminator: the elevation target in
// hundredths of a degree (7 digits), the azimuth target in whole degrees (5 digits), or the
// two-digit actions "01" (home) and "07" (reset).
PanelCommand DriveText(std::uint8_t code, std::string_view text) {
  return PanelCommand{code, std::vector<std::uint8_t>(text.begin(), text.end())};
}

PanelCommand Elevation(std::string_view text) { return DriveText(cmd::kElevationDrive, text); }
PanelCommand Azimuth(std::string_view text) { return DriveText(cmd::kAzimuthDrive, text); }

constexpr std::string_view kHome = "01";
constexpr std::string_view kReset = "07";

}  // namespace

DriveAction DriveButtonAction(DriveButton button) {
  switch (button) {
    case DriveButton::ElevationUp:
      return {{Elevation("0009000")}};
    case DriveButton::ElevationRight:
      return {{Elevation("0018000")}};
    case DriveButton::ElevationLeft:
      return {{Elevation("0000000")}};
    case DriveButton::ElevationDown:
      return {{Elevation("0027000")}};
    case DriveButton::ElevationHome:
      return {{Elevation(kHome)}};
    case DriveButton::ElevationReset:
    case DriveButton::AzimuthReset:  // the azimuth panel's "Reset" resets the elevation drive
      return {{Elevation(kReset)}};
    case DriveButton::AzimuthUpperLeft:
    case DriveButton::AzimuthUpperRight:  // both upper arrows drive to 0 degrees
      return {{Azimuth("00000")}};
    case DriveButton::AzimuthHome:
      return {{Azimuth(kReset), Azimuth(kHome)}, kAzimuthHomePause};
    case DriveButton::AzimuthLowerLeft:
      return {{Azimuth("00270")}};
    case DriveButton::AzimuthLowerRight:
      return {{Azimuth("00090")}};
  }
  return {};
}

void RunDriveAction(InstrumentLink& link, const DriveAction& action) {
  bool first = true;
  for (const PanelCommand& command : action.commands) {
    if (!first && action.pauseBetween.count() > 0) std::this_thread::sleep_for(action.pauseBetween);
    first = false;
    SendPanelCommand(link, command);
  }
}

}  // namespace varnok
