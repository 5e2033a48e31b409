#pragma once
#include "core/MainWindowSettings.h"

namespace varnok {

class SettingsFile;

// What the main window asks of a feature page that keeps values in the settings file or that the
// window drives. A page is handed to the window as a ShellPage when it is installed; the window never
// looks a page's controls up by their names, so a control can be renamed without its value being lost.
// Every step does nothing unless the page has something to do in it.
class ShellPage {
 public:
  virtual ~ShellPage() = default;

  // Shows the values read from the settings file at start in the page's controls.
  virtual void ShowSettings(const MainWindowSettings& stored) { (void)stored; }
  // Puts the values of the page's controls into `settings`, leaving every other value as it is.
  virtual void TakeSettings(MainWindowSettings& settings) const { (void)settings; }
  // Runs at close just before the settings file is saved: a page with a section of its own writes it.
  virtual void BeforeSettingsSaved(SettingsFile& file) { (void)file; }

  // The pictures of a connected window (--screenshots --connect) show live readings: the page starts
  // them here, and before the settings are written it puts back every value it changed for them.
  virtual void StartPictureReadings() {}
  virtual void StopPictureReadings() {}
};

}  // namespace varnok
