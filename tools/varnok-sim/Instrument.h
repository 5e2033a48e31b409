#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/varnok-sim/InstrumentState.h"
#include "tools/varnok-sim/SimFault.h"

namespace varnok::sim {

// Refusal codes: a one-byte reply other than 0 tells the console that a command was not taken.
inline constexpr std::uint8_t kAccepted = 0;
inline constexpr std::uint8_t kBadLength = 1;    // payload length or format wrong
inline constexpr std::uint8_t kBadIndex = 2;     // row index outside the table
inline constexpr std::uint8_t kBadValue = 3;     // value outside its range
inline constexpr std::uint8_t kUnknownCode = 4;  // no such command code
inline constexpr std::uint8_t kTooLong = 5;      // the reply would not fit the link

// The instrument's behaviour: decodes a command, updates the state and builds the reply.
// Knows nothing about frames or sockets. Thread-safe.
class Instrument {
 public:
  Instrument(std::string model, FaultSet& faults);

  // A coded command. `maxReply` is the longest reply the link can carry (255 for a serial
  // frame, 1026 for the TCP tunnel). Code 128 with data is a text command.
  std::vector<std::uint8_t> HandleCoded(std::uint8_t code, std::span<const std::uint8_t> data,
                                        std::size_t maxReply, Transport transport);

  // A text command (without its line end); the reply's lines each end in CR LF and the last
  // is "OK" or "NOK". `maxReply` bounds the length of "sim text" replies.
  std::string HandleText(std::string_view command, std::size_t maxReply, Transport transport);

  // "sim ..." lines steer the simulator itself; faults never act on them.
  static bool IsControlCommand(std::string_view command);

  void WithState(const std::function<void(InstrumentState&)>& fn);

  // Seconds since the instrument started (the housekeeping channels drift with it).
  double Uptime() const;

 private:
  std::vector<std::uint8_t> Coded(std::uint8_t code, std::span<const std::uint8_t> data, std::size_t maxReply,
                                  Transport transport);
  std::string Text(std::string_view command, std::size_t maxReply, Transport transport);
  std::string Control(std::string_view args, std::size_t maxReply);

  mutable std::mutex mutex_;
  InstrumentState state_;
  FaultSet& faults_;
  std::chrono::steady_clock::time_point started_;
};

// The clock reply of code 141: byte 0 the day of the week (0 = Sunday), then month, day,
// year - 2000, hour, minute, second of the given UTC time.
std::vector<std::uint8_t> ClockReply(std::chrono::system_clock::time_point now);

}  // namespace varnok::sim
