#pragma once
#include <optional>
#include <string>

#include "link/LinkWindow.h"

namespace varnok::testing {

// The one fake main window, as the command layer sees it: remembers the Connect button, the three
// status panel texts, the status poll timer (unset until the layer sets it) and hidden timer button,
// and counts error tones.
class RecordingLinkWindow : public LinkWindow {
 public:
  bool connectDown = false;
  std::string panels[3];
  int tones = 0;
  std::optional<bool> timer1Enabled;
  int timerBtnReleases = 0;
  int unitAddress = 0;

  bool ConnectDown() const override { return connectDown; }
  void SetConnectDown(bool down) override { connectDown = down; }
  void SetPanelText(int panel, const std::string& text) override {
    if (panel >= 0 && panel < 3) panels[panel] = text;
  }
  int UnitAddress() const override { return unitAddress; }
  void SetTimer1Enabled(bool enabled) override { timer1Enabled = enabled; }
  void ReleaseTimerBtn() override { ++timerBtnReleases; }
  void PlayErrorTone() override { ++tones; }
};

}  // namespace varnok::testing
