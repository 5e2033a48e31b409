#pragma once
#include <cstdint>
#include <vector>

#include "config/ConfigPanel.h"
#include "config/ReplyTexts.h"

namespace varnok {

// Blower control, written with code 10 (80 bytes) and read with code 170:
//   0 rain threshold in volts (BlRain), 4 humidity threshold in % (BlRH), 8 blower speed (BlSpeed),
//   all float32; bytes 12..79 zero.
inline constexpr int kBlowerSize = 80;

// Throws AppError when a field is not a number.
std::vector<std::uint8_t> BuildBlowerPayload(const ConfigPanel& panel);

// Shows a code-170 reply in the panel; false (nothing changed) when it holds fewer than 80 bytes.
bool ApplyBlowerReply(const std::uint8_t* reply, int result, ConfigPanel& panel,
                      ReplyTexts texts = ReplyTexts::kShown);

}  // namespace varnok
