#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "testpanel/PanelCommand.h"

namespace varnok {

// The four option flags the tab shows, in the order "Refresh" sets them. Bit 0 and bits 5 to 7 of
// the instrument's option byte are not shown.
struct OptionBox {
  const char* name;     // the check box's name
  const char* caption;  // its caption
  std::uint32_t mask;
};

inline constexpr std::array<OptionBox, 4> kOptionBoxes{{
    {"OPb2", "Optical Rain Sensor", 0x02},
    {"OPb4", "No IRT if Checked", 0x04},
    {"OPb8", "Disable Blower Control", 0x08},
    {"OPb10", "Disable RCV Low ND Filter", 0x10},
}};

// Checked state of each box, in the order of kOptionBoxes.
using OptionStates = std::array<bool, kOptionBoxes.size()>;

// Code 20 (set the mask's bits) when `on`, else code 19 (clear them); the mask as a 32-bit
// little-endian integer.
PanelCommand SetOptionBitCommand(std::uint32_t mask, bool on);

// Code 199 without data; reply byte 0 holds the option bits.
PanelCommand ReadOptionBitsCommand();

// The boxes' states as the instrument reports them, or nothing when the read gave fewer than two
// reply bytes (or failed): then every box keeps its state.
std::optional<OptionStates> DecodeOptionReply(int result, const std::uint8_t* reply);

// One box that "Refresh" changes: its index in kOptionBoxes and its new state.
struct OptionChange {
  std::size_t box;
  bool checked;
  bool operator==(const OptionChange&) const = default;
};

// The boxes whose state differs between `shown` and `reported`, in the order of kOptionBoxes. Each
// change runs that box's click action, so it sends its own set or clear command.
std::vector<OptionChange> RefreshChanges(const OptionStates& shown, const OptionStates& reported);

}  // namespace varnok
