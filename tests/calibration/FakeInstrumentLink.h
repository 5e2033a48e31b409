#pragma once
#include <string>
#include <vector>

#include "link/InstrumentLink.h"

namespace varnok::testing {

// Stands in for the command layer: the calibration page only sounds the error tone and writes the
// status text, and must never talk to the instrument.
class FakeInstrumentLink : public InstrumentLink {
 public:
  int errorBeeps = 0;
  std::vector<std::string> statusTexts;
  int commandsSent = 0;

  bool IsConnected() const override { return true; }
  int SendTextCommand(std::string_view, char*) override { return ++commandsSent, -1; }
  int SendBinaryCommand(std::uint8_t, std::uint8_t, std::uint8_t*) override { return ++commandsSent, -1; }
  void ShowCommandStatus(int, const std::uint8_t*) override {}
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void ErrorBeep() override { ++errorBeeps; }
  void Disconnect() override {}
};

}  // namespace varnok::testing
