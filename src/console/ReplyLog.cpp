#include "console/ReplyLog.h"

#include <algorithm>
#include <cstring>

namespace varnok {

std::string ErrorLogLine(int result) { return "Error " + std::to_string(result); }

std::string_view ReplyTextOf(const char* reply, int result, std::size_t bufferSize) {
  if (reply == nullptr || result < 1 || bufferSize == 0) return {};
  const std::size_t limit = std::min(static_cast<std::size_t>(result), bufferSize - 1);
  const void* zero = std::memchr(reply, '\0', limit);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - reply) : limit;
  return {reply, length};
}

std::string ReplyLogText(std::string_view reply) {
  std::string text;
  text.reserve(reply.size());
  for (std::size_t i = 0; i < reply.size(); ++i) {
    const char c = reply[i];
    if (c == '\r') {
      if (i + 1 < reply.size() && reply[i + 1] == '\n') ++i;
      text.push_back('\n');
    } else {
      text.push_back(c);
    }
  }
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace varnok
