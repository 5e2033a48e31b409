#pragma once
#include <chrono>
#include <cstdint>
#include <span>

#include "link/TcpChannel.h"
#include "link/TunnelFrame.h"

namespace varnok {

// Failure values of one tunnel transaction.
inline constexpr int kTunnelNotWritable = -3;    // the socket did not become writable in time
inline constexpr int kTunnelNotSent = -4;        // the request was not sent whole
inline constexpr int kTunnelNoResponse = -5;     // no response byte in time
inline constexpr int kTunnelShortResponse = -7;  // a response that did not arrive whole (1 to 10 bytes, or
                                                 // fewer than its reply length promises) within the wait
inline constexpr int kTunnelException = -8;      // an exception response
inline constexpr int kTunnelClosed = -9;  // connection closed, receive failed, or four foreign responses

// Once the first piece of a response has come, the rest must follow within this time (and within the
// exchange's own wait): a peer that sends part of a response and stops costs half a second, not the
// whole wait.
inline constexpr std::chrono::milliseconds kTunnelRestWait{500};

// One request/response exchange over the tunnel. `request` holds the command data (0..255 bytes) and is
// never written; on success `reply` (at least 1027 bytes) receives the reply data and a zero byte, and the
// reply length is returned. On failure nothing is written to `reply`. A response may arrive in several
// pieces: they are gathered, the rest within kTunnelRestWait of the first piece. Bytes waiting before the
// request is sent are dropped. `socket` may be null (no link): -3.
int TunnelTransaction(TcpChannel* socket, TransactionCounter& counter, std::uint8_t unit, std::uint8_t code,
                      std::span<const std::uint8_t> request, std::uint8_t* reply,
                      std::chrono::milliseconds wait);

}  // namespace varnok
