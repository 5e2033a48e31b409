#include "tools/varnok-sim/ReplyPolicy.h"

#include <algorithm>

namespace varnok::sim {

namespace {

using std::chrono::milliseconds;

Step Only(Step::Action action) {
  Step step;
  step.action = action;
  return step;
}

bool Has(const std::vector<Fault>& faults, FaultKind kind) { return FindFault(faults, kind) != nullptr; }

// Adds `bytes` to the plan, cut in two at `cut` with `pause` between the parts (whole when the cut
// falls outside the bytes).
void AddCut(Plan& plan, std::vector<std::uint8_t> bytes, std::size_t cut, milliseconds pause) {
  if (cut == 0 || cut >= bytes.size()) {
    plan.push_back({Step::Action::kWrite, std::move(bytes)});
    return;
  }
  plan.push_back({Step::Action::kWrite, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)}});
  plan.push_back(
      {Step::Action::kWrite, {bytes.begin() + static_cast<std::ptrdiff_t>(cut), bytes.end()}, pause});
}

// "split" cuts at `defaultCut`; "split:AT:MS" after AT bytes with a pause of MS.
void AddMaybeSplit(Plan& plan, std::vector<std::uint8_t> bytes, const std::vector<Fault>& active,
                   std::size_t defaultCut) {
  const Fault* split = FindFault(active, FaultKind::kSplit);
  if (!split) {
    plan.push_back({Step::Action::kWrite, std::move(bytes)});
    return;
  }
  const bool chosen = split->count > 0;
  AddCut(plan, std::move(bytes), chosen ? static_cast<std::size_t>(split->count) : defaultCut,
         chosen ? milliseconds(split->pauseMs) : kSplitPause);
}

// "delay:MS": the whole answer waits MS before its first step.
void ApplyDelay(Plan& plan, const std::vector<Fault>& active) {
  const Fault* delay = FindFault(active, FaultKind::kDelay);
  if (delay && !plan.empty()) plan.front().delay += milliseconds(delay->pauseMs);
}

void CutShort(std::vector<std::uint8_t>& bytes, const std::vector<Fault>& active) {
  if (const Fault* cut = FindFault(active, FaultKind::kShort)) {
    bytes.resize(std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(cut->count)));
  }
}

}  // namespace

Plan PlanTunnelReply(const TunnelRequest& request, const std::vector<Fault>& active,
                     const ReplySource& answer, std::string_view bannerLine) {
  Plan plan;
  if (Has(active, FaultKind::kClose)) return {Only(Step::Action::kClose)};
  if (Has(active, FaultKind::kReset)) return {Only(Step::Action::kReset)};
  if (Has(active, FaultKind::kStopReading)) return {Only(Step::Action::kStopReading)};
  if (Has(active, FaultKind::kNoReply)) return plan;

  const std::uint16_t id = request.transactionId;
  std::vector<std::uint8_t> response;
  if (Has(active, FaultKind::kException)) {
    response = BuildTunnelException(id, request.unit, 0x17, 0x04);
  } else {
    std::vector<std::uint8_t> reply;
    if (const Fault* refuse = FindFault(active, FaultKind::kRefuse)) {
      reply = {static_cast<std::uint8_t>(refuse->value)};
    } else {
      reply = answer();
      const bool text = request.code == 128 && !request.data.empty();
      if (text && Has(active, FaultKind::kBanner))
        reply.insert(reply.begin(), bannerLine.begin(), bannerLine.end());
      reply.resize(std::min(reply.size(), kMaxTunnelReply));
    }
    response = BuildTunnelResponse(id, request.unit, reply);
    // Only a response longer than 266 bytes: the console then goes by the size alone, while a shorter
    // response's length byte is its reply length.
    const Fault* length = FindFault(active, FaultKind::kLengthByte);
    if (length && response.size() > 11 + 255) response[10] = static_cast<std::uint8_t>(length->value);
  }

  // Responses to earlier requests first: "late-id" one, "stale:N" N of them (oldest first), each
  // carrying the four bytes "late"; "stale-exception" an exception response with the previous identifier.
  int stale = Has(active, FaultKind::kLateId) ? 1 : 0;
  if (const Fault* f = FindFault(active, FaultKind::kStale)) stale = std::max(stale, f->count);
  const std::uint8_t late[] = {'l', 'a', 't', 'e'};
  for (int back = stale; back >= 1; --back) {
    plan.push_back({Step::Action::kWrite,
                    BuildTunnelResponse(static_cast<std::uint16_t>(id - back), request.unit, late),
                    plan.empty() ? milliseconds(0) : kLatePause});
  }
  if (Has(active, FaultKind::kStaleException)) {
    plan.push_back({Step::Action::kWrite,
                    BuildTunnelException(static_cast<std::uint16_t>(id - 1), request.unit, 0x17, 0x04),
                    plan.empty() ? milliseconds(0) : kLatePause});
  }
  const bool afterStale = !plan.empty();

  CutShort(response, active);
  // The default split cuts after the header and half the reply data.
  const std::size_t cut = response.size() > 11 ? 11 + (response.size() - 11) / 2 : 0;
  const std::size_t first = plan.size();
  AddMaybeSplit(plan, std::move(response), active, cut);
  if (afterStale) plan[first].delay += kLatePause;
  ApplyDelay(plan, active);
  return plan;
}

Plan PlanTunnelRefusal(std::span<const std::uint8_t> frame, std::uint8_t exceptionCode) {
  const std::uint16_t id = frame.size() >= 2 ? static_cast<std::uint16_t>((frame[0] << 8) | frame[1]) : 0;
  const std::uint8_t unit = frame.size() > 6 ? frame[6] : 0;
  const std::uint8_t function = frame.size() > 7 ? frame[7] : 0x17;
  return {{Step::Action::kWrite, BuildTunnelException(id, unit, function, exceptionCode)}};
}

Plan PlanSerialFrameReply(const SerialMessage& frame, const std::vector<Fault>& active,
                          const ReplySource& answer) {
  Plan plan;
  if (!frame.checkOk) return {{Step::Action::kWrite, {kNak}}};
  const Fault* hangUp = FindFault(active, FaultKind::kHangUp);
  if (hangUp && hangUp->count == 0) return {Only(Step::Action::kHangUp)};
  if (Has(active, FaultKind::kNoReply)) return plan;
  if (Has(active, FaultKind::kNak)) {
    plan.push_back({Step::Action::kWrite, {kNak}});
  } else if (const Fault* ack = FindFault(active, FaultKind::kAckByte)) {
    plan.push_back({Step::Action::kWrite, {static_cast<std::uint8_t>(ack->value)}});
  } else {
    std::vector<std::uint8_t> reply;
    if (const Fault* refuse = FindFault(active, FaultKind::kRefuse)) {
      reply = {static_cast<std::uint8_t>(refuse->value)};
    } else {
      reply = answer();
    }
    std::vector<std::uint8_t> bytes = BuildSerialFrame(kInstrumentAddress, frame.code, reply);
    if (Has(active, FaultKind::kBadCheck)) bytes.back() ^= 0xFF;
    if (Has(active, FaultKind::kBodyCut)) {
      // The header arrives, the body stops half-way (a bare 3-byte frame loses its check).
      bytes.resize(bytes.size() > 3 ? 3 + (bytes.size() - 3) / 2 : 2);
    }
    CutShort(bytes, active);
    const std::size_t frameSize = bytes.size();
    bytes.insert(bytes.begin(), kAck);
    if (hangUp) {
      // The first bytes of the answer, then the line goes dead.
      bytes.resize(std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(hangUp->count)));
      plan.push_back({Step::Action::kWrite, std::move(bytes)});
      plan.push_back(Only(Step::Action::kHangUp));
    } else {
      AddMaybeSplit(plan, std::move(bytes), active, 1 + frameSize / 2);
    }
  }
  ApplyDelay(plan, active);
  return plan;
}

Plan PlanSerialTextReply(const std::vector<Fault>& active, const std::function<std::string()>& answer,
                         std::string_view bannerLine) {
  Plan plan;
  if (Has(active, FaultKind::kNoReply)) return plan;
  std::string reply = answer();
  if (Has(active, FaultKind::kBanner)) reply.insert(0, bannerLine);
  if (Has(active, FaultKind::kTextCut)) {
    // Stop in the middle of the first line that is not a banner.
    const std::size_t start = reply.starts_with("Torvelmandra") ? reply.find("\r\n") + 2 : 0;
    std::size_t end = reply.find("\r\n", start);
    if (end == std::string::npos) end = reply.size();
    reply.resize(start + std::max<std::size_t>(1, (end - start) / 2));
  }
  std::vector<std::uint8_t> bytes(reply.begin(), reply.end());
  CutShort(bytes, active);
  const std::size_t half = bytes.size() / 2;
  AddMaybeSplit(plan, std::move(bytes), active, half);
  ApplyDelay(plan, active);
  return plan;
}

}  // namespace varnok::sim
