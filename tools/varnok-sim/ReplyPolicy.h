#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/varnok-sim/ReplyPlan.h"
#include "tools/varnok-sim/SerialCodec.h"
#include "tools/varnok-sim/SimFault.h"
#include "tools/varnok-sim/TunnelCodec.h"

namespace varnok::sim {

// What goes back for one request once its faults are known: the bytes, the pieces they are cut into,
// the pauses between them and what happens to the line. No sockets here: the sessions carry a plan out.
//
// `answer` gives the instrument's own reply; it is only called when the plan needs it, so a request
// that is never answered (noreply, close, ...) is never carried out either. `bannerLine` is the
// line a "banner" fault puts before a text reply.

inline constexpr std::chrono::milliseconds kSplitPause{50};  // between the parts of "split"
inline constexpr std::chrono::milliseconds kLatePause{30};   // between stale replies and the right one

using ReplySource = std::function<std::vector<std::uint8_t>()>;

// A sound function-23 request over TCP. A text command is code 128 with data.
Plan PlanTunnelReply(const TunnelRequest& request, const std::vector<Fault>& active,
                     const ReplySource& answer, std::string_view bannerLine);

// A request the instrument refuses (DecodeTunnelRequest gave no request): one exception response.
Plan PlanTunnelRefusal(std::span<const std::uint8_t> frame, std::uint8_t exceptionCode);

// A frame received over the serial line; its check decides between ACK and NAK before any fault.
Plan PlanSerialFrameReply(const SerialMessage& frame, const std::vector<Fault>& active,
                          const ReplySource& answer);

// A text line received over the serial line.
Plan PlanSerialTextReply(const std::vector<Fault>& active, const std::function<std::string()>& answer,
                         std::string_view bannerLine);

}  // namespace varnok::sim
