#include "link/SerialExchange.h"

#include <cstring>
#include <vector>

#include "link/LineReply.h"

namespace varnok {

int SerialReadByte(SerialChannel& port) {
  std::uint8_t byte = 0;
  return port.Read(&byte, 1) == 1 ? byte : -1;
}

bool SerialReadLine(char* buffer, int room, SerialChannel& port) {
  if (room < 2) return false;  // no room for a single byte: the caller would never progress
  int stored = 0;
  while (stored < room - 1) {
    const int byte = SerialReadByte(port);
    if (byte < 0) {
      if (stored == 0) return false;
      break;
    }
    buffer[stored++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  buffer[stored] = 0;
  return true;
}

bool SerialReadReply(char* buffer, int size, SerialChannel& port, const BannerDisplay& banner) {
  buffer[0] = 0;
  int length = 0;
  for (;;) {
    if (!SerialReadLine(buffer + length, size - length - 1, port)) return false;
    const std::string_view line(buffer + length);
    if (IsTerminatorLine(line)) return true;
    if (IsBannerLine(line) && banner) banner(std::string(line));
    length += static_cast<int>(line.size());
  }
}

int SerialTextCommand(SerialChannel& port, std::string_view command, char* reply,
                      const BannerDisplay& banner) {
  port.DiscardInput();
  std::vector<std::uint8_t> out(command.begin(), command.end());
  out.push_back('\r');
  port.Write(out.data(), out.size());
  std::vector<char> work(4096, 0);
  if (!SerialReadReply(work.data(), 4095, port, banner)) return -1;
  return FinishSerialTextReply(work.data(), reply);
}

int SerialWriteFrame(SerialChannel& port, std::uint8_t address, std::uint8_t code, std::uint8_t length,
                     const std::uint8_t* data) {
  const auto frame = BuildSerialFrame(address, code, std::span(data, length));
  port.DiscardInput();
  if (!port.Write(frame.data(), frame.size())) return kSerialNotWritten;
  std::uint8_t answer = 0;
  const int got = port.Read(&answer, 1);
  if (got < 0) return kSerialReadFailed;
  if (got == 0) return kSerialNoBytes;
  if (answer == kNak) return kSerialNak;
  if (answer != kAck) return kSerialNotAck;
  return 0;
}

int SerialReadFrame(SerialChannel& port, std::uint8_t* data, SerialFrameHeader& header) {
  std::uint8_t first[3] = {};
  const int got = port.Read(first, 3);
  if (got < 0) return kSerialReadFailed;
  if (got < 3) return kSerialNoBytes;
  header = ParseSerialFrameHeader(first);
  std::uint8_t* body = data;
  if (!header.longForm) {
    data[0] = first[2];
    body = data + 1;
  }
  bool whole = true;
  if (header.remaining > 0) {
    const int rest = port.Read(body, header.remaining);
    if (rest < 0) return kSerialReadFailed;
    whole = static_cast<std::size_t>(rest) == header.remaining;
  }
  bool good = false;
  if (whole) {
    std::uint8_t check = static_cast<std::uint8_t>(first[0] ^ first[1]);
    if (header.longForm) check ^= first[2];
    const std::size_t stored = header.longForm ? header.remaining : header.remaining + 1;
    check ^= XorCheck(std::span<const std::uint8_t>(data, stored));
    good = check == 0;
  }
  const std::uint8_t answer = good ? kAck : kNak;
  if (!port.Write(&answer, 1)) return kSerialNotWritten;
  return good ? 0 : kSerialBadCheck;
}

int SerialFramedTransaction(SerialChannel& port, std::uint8_t code, std::uint8_t length, std::uint8_t* data) {
  int result = SerialWriteFrame(port, kInstrumentAddress, code, length, data);
  if (result != 0) return result;
  SerialFrameHeader header;
  result = SerialReadFrame(port, data, header);
  if (result != 0) return result;
  return header.length;
}

}  // namespace varnok
