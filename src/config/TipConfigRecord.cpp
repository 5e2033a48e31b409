#include "config/TipConfigRecord.h"

#include <string>

#include "config/Float32.h"
#include "link/LittleEndian.h"
#include "core/AppError.h"
#include "core/TextConversions.h"

namespace varnok {

std::vector<std::uint8_t> BuildTipConfigPayload(const ConfigPanel& panel) {
  const std::size_t angles = panel.TipL.size();
  if (angles > static_cast<std::size_t>(kMaxElevationAngles)) {
    throw AppError("Too many elevation angles (" + std::to_string(angles) +
                   "): the instrument takes at most " + std::to_string(kMaxElevationAngles) +
                   ", nothing was uploaded");
  }
  std::vector<std::uint8_t> payload(kTipConfigHeaderSize + 4 * angles, 0);
  const std::int32_t count = ParseIntegerText(panel.Tip3);
  PutUInt16(&payload[0], static_cast<std::uint16_t>(static_cast<std::uint32_t>(count) & 0xFFFF));
  PutFloat32(&payload[2], RoundToFloat32(ParseNumberText(panel.Tip1)));
  PutFloat32(&payload[6], RoundToFloat32(ParseNumberText(panel.Tip2)));
  PutFloat32(&payload[10], RoundToFloat32(ParseNumberText(panel.Tip9)));
  PutFloat32(&payload[14], RoundToFloat32(ParseNumberText(panel.Tip10)));
  for (std::size_t k = 0; k < angles; ++k) {
    PutFloat32(&payload[kTipConfigHeaderSize + 4 * k], RoundToFloat32(ParseNumberText(panel.TipL[k])));
  }
  return payload;
}

TipReplyOutcome ApplyTipConfigReply(const std::uint8_t* reply, int result, ConfigPanel& panel,
                                    ReplyTexts texts) {
  if (result <= 16) return TipReplyOutcome::kTooShort;
  const int n = GetUInt16(reply);
  panel.Tip3 = std::to_string(n);
  if (n > kMaxElevationAngles) return TipReplyOutcome::kTooManyAngles;
  // Every angle the count announces must be in the reply; bytes beyond it are not the instrument's.
  if (result < kTipConfigHeaderSize + 4 * n) return TipReplyOutcome::kTooShort;

  panel.Tip1 = ReplyNumberText(GetFloat32(reply + 2), texts, 6, 2);
  panel.Tip2 = ReplyNumberText(GetFloat32(reply + 6), texts, 6, 1);
  panel.Tip9 = ReplyNumberText(GetFloat32(reply + 10), texts, 6, 0);
  panel.Tip10 = ReplyNumberText(GetFloat32(reply + 14), texts, 6, 1);
  panel.TipL.clear();
  for (int k = 0; k < n; ++k)
    panel.TipL.push_back(ReplyNumberText(GetFloat32(reply + kTipConfigHeaderSize + 4 * k), texts, 6, 0));
  return TipReplyOutcome::kApplied;
}

}  // namespace varnok
