#include "config/BlowerRecord.h"

#include "config/Float32.h"
#include "link/LittleEndian.h"
#include "core/TextConversions.h"

namespace varnok {

std::vector<std::uint8_t> BuildBlowerPayload(const ConfigPanel& panel) {
  std::vector<std::uint8_t> payload(kBlowerSize, 0);
  PutFloat32(&payload[0], RoundToFloat32(ParseNumberText(panel.BlRain)));
  PutFloat32(&payload[4], RoundToFloat32(ParseNumberText(panel.BlRH)));
  PutFloat32(&payload[8], RoundToFloat32(ParseNumberText(panel.BlSpeed)));
  return payload;
}

bool ApplyBlowerReply(const std::uint8_t* reply, int result, ConfigPanel& panel, ReplyTexts texts) {
  if (result < kBlowerSize) return false;
  panel.BlRain = ReplyNumberText(GetFloat32(reply + 0), texts, 6, 2);
  panel.BlRH = ReplyNumberText(GetFloat32(reply + 4), texts, 6, 2);
  panel.BlSpeed = ReplyNumberText(GetFloat32(reply + 8), texts, 6, 0);
  return true;
}

}  // namespace varnok
