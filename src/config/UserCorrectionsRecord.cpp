#include "config/UserCorrectionsRecord.h"

#include "config/Float32.h"
#include "link/LittleEndian.h"
#include "core/TextConversions.h"

namespace varnok {

std::vector<std::uint8_t> BuildUserCorrectionsPayload(const ConfigPanel& panel) {
  std::vector<std::uint8_t> payload(kUserCorrectionsSize, 0);
  PutFloat32(&payload[0], RoundToFloat32(ParseNumberText(panel.Offset1)));
  PutFloat32(&payload[4], RoundToFloat32(ParseNumberText(panel.Offset2)));
  PutFloat32(&payload[8], RoundToFloat32(ParseNumberText(panel.Offset3)));
  PutFloat32(&payload[12], RoundToFloat32(ParseNumberText(panel.Offset4)));
  return payload;
}

bool ApplyUserCorrectionsReply(const std::uint8_t* reply, int result, ConfigPanel& panel, ReplyTexts texts) {
  if (result < kUserCorrectionsReplyNeeded) return false;
  panel.Offset1 = ReplyNumberText(GetFloat32(reply + 0), texts, 6, 2);
  panel.Offset2 = ReplyNumberText(GetFloat32(reply + 4), texts, 6, 2);
  panel.Offset3 = ReplyNumberText(GetFloat32(reply + 8), texts, 6, 1);
  panel.Offset4 = ReplyNumberText(GetFloat32(reply + 12), texts, 6, 2);
  return true;
}

}  // namespace varnok
