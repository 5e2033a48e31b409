#pragma once
#include <cstdint>
#include <vector>

#include "config/ConfigPanel.h"
#include "config/ReplyTexts.h"

namespace varnok {

// User offset corrections, written with code 9 (64 bytes) and read with code 169:
//   0 pressure (Offset1), 4 ambient temperature (Offset2), 8 humidity (Offset3), 12 blackbody
//   (Offset4), all float32; bytes 16..63 zero.
inline constexpr int kUserCorrectionsSize = 64;
inline constexpr int kUserCorrectionsReplyNeeded = 16;

// Throws AppError when a field is not a number.
std::vector<std::uint8_t> BuildUserCorrectionsPayload(const ConfigPanel& panel);

// Shows a code-169 reply in the panel; false (nothing changed) when it holds fewer than 16 bytes.
bool ApplyUserCorrectionsReply(const std::uint8_t* reply, int result, ConfigPanel& panel,
                               ReplyTexts texts = ReplyTexts::kShown);

}  // namespace varnok
