#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace varnok {

// The line the reply log gets for a failed command: "Error " and the result in decimal, sign
// included ("Error -1" when no instrument is connected).
std::string ErrorLogLine(int result);

// The reply text held in the caller's reply buffer after a successful command: up to the first zero
// byte, and never beyond `result` bytes nor beyond the buffer's last byte (`bufferSize` - 1).
std::string_view ReplyTextOf(const char* reply, int result, std::size_t bufferSize);

// The text one reply adds to the log, as lines joined by '\n': CR LF, LF and a lone CR each end a
// line; a single line end at the very end of the reply adds no empty line after it.
std::string ReplyLogText(std::string_view reply);

}  // namespace varnok
