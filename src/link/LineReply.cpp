#include "link/LineReply.h"

#include <cstring>

namespace varnok {

bool IsTerminatorLine(std::string_view line) {
  return line == "READY\r\n" || line == "OK\r\n" || line == "NOK\r\n" || line.starts_with("***");
}

bool IsBannerLine(std::string_view line) { return line.starts_with("Torvelmandra"); }

int FinishSerialTextReply(std::string_view reply, char* out) {
  if (reply.size() > 2 && reply.front() == '*') reply.remove_prefix(2);
  std::memcpy(out, reply.data(), reply.size());
  out[reply.size()] = 0;
  const int n = static_cast<int>(reply.size()) - 1;
  if (n > 0) out[n] = 0;
  return n;
}

}  // namespace varnok
