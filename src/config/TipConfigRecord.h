#pragma once
#include <cstdint>
#include <vector>

#include "config/ConfigPanel.h"
#include "config/ReplyTexts.h"

namespace varnok {

// Tip configuration, written with code 8 and read with code 168:
//   0  uint16  number of elevation angles n (Tip3)
//   2  float32 regression coefficient (Tip1)     6  float32 default azimuth (Tip2)
//  10  float32 allow tips with rain on (Tip9)   14  float32 rain sensor tip threshold (Tip10)
//  18 + 4k  float32 elevation angle k (TipL)
inline constexpr int kMaxElevationAngles = 16;  // the instrument's limit
inline constexpr int kTipConfigHeaderSize = 18;

// The code-8 payload, 18 + 4 x TipL.size() bytes, zero-filled. The count is Tip3 as typed (low
// 16 bits), even when it differs from the list's length. Throws AppError when a field is not a
// number (Tip3: not an integer) or when TipL holds more angles than the instrument takes.
std::vector<std::uint8_t> BuildTipConfigPayload(const ConfigPanel& panel);

enum class TipReplyOutcome {
  kApplied,
  kTooShort,       // 16 bytes or fewer, or fewer than 18 + 4n: Tip3 may have been set
  kTooManyAngles,  // a count above 16: only Tip3 was set
};

// Shows a code-168 reply of `result` bytes in the panel.
TipReplyOutcome ApplyTipConfigReply(const std::uint8_t* reply, int result, ConfigPanel& panel,
                                    ReplyTexts texts = ReplyTexts::kShown);

}  // namespace varnok
