#include "tools/varnok-sim/SimFault.h"

#include <charconv>
#include <stdexcept>

namespace varnok::sim {

namespace {

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const auto* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view form) {
  while (!form.empty() && form.front() == ' ') form.remove_prefix(1);
  while (!form.empty() && (form.back() == ' ' || form.back() == '\r' || form.back() == '\n')) {
    form.remove_suffix(1);
  }
  struct Simple {
    std::string_view name;
    FaultKind kind;
  };
  static constexpr Simple kSimple[] = {
      {"none", FaultKind::kNone},
      {"noreply", FaultKind::kNoReply},
      {"late-id", FaultKind::kLateId},
      {"exception", FaultKind::kException},
      {"split", FaultKind::kSplit},
      {"close", FaultKind::kClose},
      {"nak", FaultKind::kNak},
      {"badcheck", FaultKind::kBadCheck},
      {"bodycut", FaultKind::kBodyCut},
      {"textcut", FaultKind::kTextCut},
      {"banner", FaultKind::kBanner},
      {"stale-exception", FaultKind::kStaleException},
      {"stopread", FaultKind::kStopReading},
      {"reset", FaultKind::kReset},
      {"hangup", FaultKind::kHangUp},
  };
  for (const auto& s : kSimple) {
    if (form == s.name) return Fault{s.kind};
  }
  // NAME:N with N in [low, high].
  auto counted = [&](std::string_view name, int low, int high) -> std::optional<int> {
    if (!form.starts_with(name)) return std::nullopt;
    const auto n = ParseInt(form.substr(name.size()));
    if (!n || *n < low || *n > high) return std::nullopt;
    return n;
  };
  if (const auto n = counted("short:", 1, 10)) {
    Fault f{FaultKind::kShort};
    f.count = *n;
    return f;
  }
  if (const auto n = counted("stale:", 1, 8)) {
    Fault f{FaultKind::kStale};
    f.count = *n;
    return f;
  }
  if (const auto n = counted("lenbyte:", 0, 255)) {
    Fault f{FaultKind::kLengthByte};
    f.value = *n;
    return f;
  }
  if (const auto n = counted("hangup:", 0, 1100)) {
    Fault f{FaultKind::kHangUp};
    f.count = *n;
    return f;
  }
  if (const auto n = counted("ackbyte:", 0, 255)) {
    Fault f{FaultKind::kAckByte};
    f.value = *n;
    return f;
  }
  if (const auto n = counted("delay:", 0, kMaxFaultPauseMs)) {
    Fault f{FaultKind::kDelay};
    f.pauseMs = *n;
    return f;
  }
  if (form.starts_with("split:")) {
    const auto rest = form.substr(6);
    const auto colon = rest.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto at = ParseInt(rest.substr(0, colon));
    const auto pause = ParseInt(rest.substr(colon + 1));
    if (!at || !pause || *at < 1 || *at > 1100 || *pause < 0 || *pause > kMaxFaultPauseMs) {
      return std::nullopt;
    }
    Fault f{FaultKind::kSplit};
    f.count = *at;
    f.pauseMs = *pause;
    return f;
  }
  if (form.starts_with("refuse:")) {
    const auto rest = form.substr(7);
    const auto colon = rest.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto code = ParseInt(rest.substr(0, colon));
    const auto value = ParseInt(rest.substr(colon + 1));
    if (!code || !value || *code < 0 || *code > 255 || *value < -128 || *value > 255) {
      return std::nullopt;
    }
    Fault f{FaultKind::kRefuse};
    f.code = *code;
    f.value = *value & 0xFF;
    return f;
  }
  return std::nullopt;
}

bool FaultApplies(const Fault& fault, const RequestKind& request) {
  const bool tcp = request.transport == Transport::kTcp;
  switch (fault.kind) {
    case FaultKind::kNone:
      return false;
    case FaultKind::kNoReply:
    case FaultKind::kSplit:
    case FaultKind::kShort:
    case FaultKind::kDelay:
      return true;
    case FaultKind::kLateId:
    case FaultKind::kException:
    case FaultKind::kClose:
    case FaultKind::kStale:
    case FaultKind::kStaleException:
    case FaultKind::kLengthByte:
    case FaultKind::kStopReading:
    case FaultKind::kReset:
      return tcp;
    case FaultKind::kRefuse:
      return !request.text && request.code == fault.code;
    case FaultKind::kNak:
    case FaultKind::kBadCheck:
    case FaultKind::kBodyCut:
    case FaultKind::kAckByte:
    case FaultKind::kHangUp:
      return !tcp && !request.text;
    case FaultKind::kTextCut:
      return !tcp && request.text;
    case FaultKind::kBanner:
      return request.text;
  }
  return false;
}

void FaultSet::Arm(std::string_view form) { Add(form, oneShot_); }

void FaultSet::Set(std::string_view form) { Add(form, persistent_); }

// "none" clears every fault, one-shot and persistent alike; any other form joins `list`.
void FaultSet::Add(std::string_view form, std::vector<Fault>& list) {
  const auto fault = ParseFault(form);
  if (!fault) throw std::invalid_argument("unknown fault form: " + std::string(form));
  std::lock_guard lock(mutex_);
  if (fault->kind == FaultKind::kNone) {
    persistent_.clear();
    oneShot_.clear();
  } else {
    list.push_back(*fault);
  }
}

void FaultSet::Clear() {
  std::lock_guard lock(mutex_);
  persistent_.clear();
  oneShot_.clear();
}

std::vector<Fault> FaultSet::Take(const RequestKind& request) {
  std::lock_guard lock(mutex_);
  std::vector<Fault> active;
  for (const auto& f : persistent_) {
    if (FaultApplies(f, request)) active.push_back(f);
  }
  for (auto it = oneShot_.begin(); it != oneShot_.end();) {
    if (FaultApplies(*it, request)) {
      active.push_back(*it);
      it = oneShot_.erase(it);
    } else {
      ++it;
    }
  }
  return active;
}

const Fault* FindFault(const std::vector<Fault>& faults, FaultKind kind) {
  for (const auto& f : faults) {
    if (f.kind == kind) return &f;
  }
  return nullptr;
}

}  // namespace varnok::sim
