#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok::sim {

enum class FaultKind {
  kNone,
  kNoReply,
  kLateId,
  kException,
  kSplit,
  kShort,
  kClose,
  kRefuse,
  kNak,
  kBadCheck,
  kBodyCut,
  kTextCut,
  kBanner,
  kStale,           // stale:N
  kStaleException,  // stale-exception
  kLengthByte,      // lenbyte:V
  kDelay,           // delay:MS
  kStopReading,     // stopread
  kReset,           // reset
  kAckByte,         // ackbyte:V
  kHangUp,          // hangup, hangup:N
};

struct Fault {
  FaultKind kind = FaultKind::kNone;
  int count = 0;    // short:N, stale:N, split:AT:MS (AT), hangup:N
  int code = 0;     // refuse:CODE:V
  int value = 0;    // refuse:CODE:V, lenbyte:V, ackbyte:V
  int pauseMs = 0;  // split:AT:MS, delay:MS
};

// The longest pause a fault may ask for (split:AT:MS, delay:MS).
inline constexpr int kMaxFaultPauseMs = 60000;

// Parses the text form ("noreply", "short:3", "refuse:7:2", ...); nothing for an unknown form.
std::optional<Fault> ParseFault(std::string_view form);

enum class Transport { kTcp, kSerial };

// What a request is, as far as faults care.
struct RequestKind {
  Transport transport = Transport::kTcp;
  bool text = false;  // a text command (code 128 with data over TCP, a line over serial)
  int code = -1;      // the command code of a coded request (128 for text over TCP)
};

// Whether a fault has any effect on such a request. One-shot faults wait for the first
// request they can act on: "refuse" for its code, "banner" and "textcut" for a text reply,
// the serial-only forms for a serial request, the TCP-only forms for a TCP request.
bool FaultApplies(const Fault& fault, const RequestKind& request);

// The persistent and one-shot faults of one simulator. Thread-safe.
class FaultSet {
 public:
  // Both throw std::invalid_argument for a form that is not known. "none" clears everything.
  void Arm(std::string_view form);
  void Set(std::string_view form);
  void Clear();

  // The faults acting on this request: every applicable persistent one, and the applicable
  // one-shot ones, which are used up.
  std::vector<Fault> Take(const RequestKind& request);

 private:
  void Add(std::string_view form, std::vector<Fault>& list);
  std::mutex mutex_;
  std::vector<Fault> persistent_;
  std::vector<Fault> oneShot_;
};

// The first fault of the given kind, if any.
const Fault* FindFault(const std::vector<Fault>& faults, FaultKind kind);

}  // namespace varnok::sim
