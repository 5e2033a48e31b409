#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/SerialChannel.h"
#include "link/SerialFrame.h"

namespace varnok {

// Both exchanges of the serial line over an open port: text commands in line mode and coded commands
// in checked frames with ACK / NAK.

using BannerDisplay = std::function<void(const std::string&)>;

// Failure values of the frame exchange.
inline constexpr int kSerialNotWritten = -1;  // write: frame not written; read: ACK / NAK not sent
inline constexpr int kSerialReadFailed = -2;
inline constexpr int kSerialNoBytes = -3;   // no acknowledgement / fewer than 3 reply bytes in time
inline constexpr int kSerialBadCheck = -4;  // reply check failed or the body stopped short (NAK sent)
inline constexpr int kSerialNak = -5;
inline constexpr int kSerialNotAck = -6;

// The next byte (0..255), or -1 when the read fails or nothing arrives in time.
int SerialReadByte(SerialChannel& port);

// Reads one line (up to and including its line feed) into `buffer`, at most room - 1 bytes, and
// zero-terminates it. False when room is below 2 or not a single byte arrived (buffer untouched).
bool SerialReadLine(char* buffer, int room, SerialChannel& port);

// Reads reply lines into `buffer` (size bytes) until a terminator line. Banner lines go to `banner` and
// stay in the reply. False when a line does not arrive, or when the buffer fills without a terminator.
bool SerialReadReply(char* buffer, int size, SerialChannel& port, const BannerDisplay& banner);

// Writes the command and a carriage return (pending input is dropped first, so a late reply to an
// earlier command is never taken for this one), reads the reply and hands it over as
// FinishSerialTextReply does. `reply` has room for 4096 bytes. Returns the length or -1.
int SerialTextCommand(SerialChannel& port, std::string_view command, char* reply,
                      const BannerDisplay& banner);

// Writes one frame and reads the acknowledgement: 0, -1, -2, -3, -5 or -6.
int SerialWriteFrame(SerialChannel& port, std::uint8_t address, std::uint8_t code, std::uint8_t length,
                     const std::uint8_t* data);

// Reads one frame into `data` (at least 256 bytes: the data bytes followed by the check byte) and
// answers ACK or NAK: 0, -1, -2, -3 or -4. A body that stops short is answered with NAK (-4).
int SerialReadFrame(SerialChannel& port, std::uint8_t* data, SerialFrameHeader& header);

// Frame to device address 1, then the reply frame into the same buffer. Returns the reply length
// (0..255) or the first failure value.
int SerialFramedTransaction(SerialChannel& port, std::uint8_t code, std::uint8_t length, std::uint8_t* data);

}  // namespace varnok
