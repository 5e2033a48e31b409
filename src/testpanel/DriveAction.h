#pragma once
#include <chrono>
#include <vector>

#include "testpanel/PanelCommand.h"

namespace varnok {

// The buttons of the two drive panels, by their place. Each names one click action.
enum class DriveButton {
  ElevationUp,        // BitBtn1, arrow up
  ElevationRight,     // BitBtn2, arrow right
  ElevationLeft,      // BitBtn3, arrow left
  ElevationDown,      // BitBtn4, arrow down
  ElevationHome,      // BitBtn5, "Home"
  ElevationReset,     // BitBtn6, "Reset"
  AzimuthUpperLeft,   // BitBtn9, arrow left
  AzimuthUpperRight,  // BitBtn8, arrow right: shares BitBtn9's action
  AzimuthHome,        // BitBtn11, "Home"
  AzimuthLowerLeft,   // BitBtn10, arrow left
  AzimuthLowerRight,  // BitBtn7, arrow right
  AzimuthReset,       // BitBtn12, "Reset": sends the elevation drive's reset
};

// What one drive button sends: its commands in order, with a pause between consecutive ones.
struct DriveAction {
  std::vector<PanelCommand> commands;
  std::chrono::milliseconds pauseBetween{0};
};

// The azimuth "Home" lets the drive settle for this long between its reset and its home command.
inline constexpr std::chrono::milliseconds kAzimuthHomePause{2};

DriveAction DriveButtonAction(DriveButton button);

// Sends every command of the action, pausing between them. No result is examined: a failed
// command does not stop the next one.
void RunDriveAction(InstrumentLink& link, const DriveAction& action);

}  // namespace varnok
