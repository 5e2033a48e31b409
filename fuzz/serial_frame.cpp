// Serial frames and line replies: a frame built for any address, code and data reads back through the
// header rules with its check byte, and a finished text reply keeps to its stated form.
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "link/LineReply.h"
#include "link/SerialFrame.h"

using namespace varnok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t address = data[0] & 0x1F;
  const std::uint8_t code = data[1];
  const std::size_t length = std::min<std::size_t>(size - 2, 255);
  const std::span<const std::uint8_t> body(data + 2, length);
  const std::vector<std::uint8_t> frame = BuildSerialFrame(address, code, body);
  FUZZ_CHECK(frame.size() >= 3);
  FUZZ_CHECK(XorCheck(std::span(frame.data(), frame.size() - 1)) == frame.back());
  const SerialFrameHeader header = ParseSerialFrameHeader(frame.data());
  FUZZ_CHECK(header.address == address && header.code == code && header.length == length);
  FUZZ_CHECK(3 + header.remaining == frame.size());
  const std::size_t dataStart = header.longForm ? 3 : 2;
  FUZZ_CHECK(std::equal(body.begin(), body.end(), frame.begin() + static_cast<long>(dataStart)));

  // Any text as a reply.
  const std::string_view reply = AsText(data, size);
  std::vector<char> out(reply.size() + 1, '\x7F');
  const int n = FinishSerialTextReply(reply, out.data());
  if (reply.empty()) {
    FUZZ_CHECK(n == -1);
  } else {
    const std::string_view kept = (reply.size() > 2 && reply[0] == '*') ? reply.substr(2) : reply;
    FUZZ_CHECK(n == static_cast<int>(kept.size()) - 1);
    // The last character is cut by a zero byte at n; a one-character reply gives 0 and is not cut.
    const std::size_t written = n > 0 ? static_cast<std::size_t>(n) : kept.size();
    FUZZ_CHECK(std::string_view(out.data(), written) == kept.substr(0, written));
    FUZZ_CHECK(out[written] == '\0');
  }
  return 0;
}
