#pragma once
#include <string>

namespace varnok {

// What the command layer does to the main window. The main window implements it; tests fake it.
class LinkWindow {
 public:
  virtual ~LinkWindow() = default;

  // The Connect toggle button: its down state is the connected flag. Setting it never runs its
  // click handler.
  virtual bool ConnectDown() const = 0;
  virtual void SetConnectDown(bool down) = 0;

  // The status bar panels: 0 connection state, 1 peer address and model, 2 short messages.
  virtual void SetPanelText(int panel, const std::string& text) = 0;

  // The unit identifier of text commands over TCP (0..255).
  virtual int UnitAddress() const = 0;

  // The status poll timer and its hidden toggle button.
  virtual void SetTimer1Enabled(bool enabled) = 0;
  virtual void ReleaseTimerBtn() = 0;

  // Plays the error tone (2200 Hz, 50 ms) and returns when it has ended.
  virtual void PlayErrorTone() = 0;
};

}  // namespace varnok
