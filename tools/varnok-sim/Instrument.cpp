#include "tools/varnok-sim/Instrument.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <chrono>

#include "tools/varnok-sim/HousekeepingChannels.h"
#include "link/LittleEndian.h"

namespace varnok::sim {

namespace {

std::vector<std::uint8_t> Le32Bytes(std::uint32_t v) {
  std::vector<std::uint8_t> bytes(4);
  PutUInt32(bytes.data(), v);
  return bytes;
}

std::vector<std::uint8_t> Status(std::uint8_t code) { return {code}; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool AllDigits(std::span<const std::uint8_t> d) {
  return std::all_of(d.begin(), d.end(), [](std::uint8_t c) { return c >= '0' && c <= '9'; });
}

int DigitsValue(std::span<const std::uint8_t> d) {
  int v = 0;
  for (auto c : d) v = v * 10 + (c - '0');
  return v;
}

std::optional<int> ParseCount(std::string_view text) {
  text = Trim(text);
  int value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

// "\r", "\n", "\t" and "\\" in a "sim echo" text stand for those characters.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char n = text[++i];
      out += n == 'r' ? '\r' : n == 'n' ? '\n' : n == 't' ? '\t' : n;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Lines of filler text, `n` bytes in all, every line ending in CR LF where room allows.
std::string FillerLines(std::size_t n) {
  std::string out;
  int line = 0;
  while (out.size() < n) {
    char head[16];
    std::snprintf(head, sizeof head, "line %04d ", line++ % 10000);
    std::string l = head;
    while (l.size() < 62) l += static_cast<char>('a' + (l.size() % 26));
    l += "\r\n";
    out += l;
  }
  out.resize(n);
  if (n >= 2) {
    out[n - 2] = '\r';
    out[n - 1] = '\n';
  }
  return out;
}

std::string ClockText(std::chrono::system_clock::time_point now) {
  const auto r = ClockReply(now);
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%d  %02d:%02d:%02d  UTC", r[1], r[2], 2000 + r[3], r[4], r[5],
                r[6]);
  return text;
}

}  // namespace

std::vector<std::uint8_t> ClockReply(std::chrono::system_clock::time_point now) {
  // The calendar of the standard library: the same on every platform, no C time functions.
  using namespace std::chrono;
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{floor<seconds>(now - day)};
  return {static_cast<std::uint8_t>(weekday{day}.c_encoding()),
          static_cast<std::uint8_t>(static_cast<unsigned>(date.month())),
          static_cast<std::uint8_t>(static_cast<unsigned>(date.day())),
          static_cast<std::uint8_t>(static_cast<int>(date.year()) - 2000),
          static_cast<std::uint8_t>(time.hours().count()),
          static_cast<std::uint8_t>(time.minutes().count()),
          static_cast<std::uint8_t>(time.seconds().count())};
}

Instrument::Instrument(std::string model, FaultSet& faults)
    : state_(MakeInitialState(model)), faults_(faults), started_(std::chrono::steady_clock::now()) {}

double Instrument::Uptime() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

void Instrument::WithState(const std::function<void(InstrumentState&)>& fn) {
  std::lock_guard lock(mutex_);
  fn(state_);
}

bool Instrument::IsControlCommand(std::string_view command) {
  const std::string lower = Lower(Trim(command));
  return lower == "sim" || lower.starts_with("sim ");
}

std::vector<std::uint8_t> Instrument::HandleCoded(std::uint8_t code, std::span<const std::uint8_t> data,
                                                  std::size_t maxReply, Transport transport) {
  if (code == 128 && !data.empty()) {
    std::string command(data.begin(), data.end());
    const std::string reply = HandleText(command, maxReply, transport);
    return {reply.begin(), reply.begin() + std::min(reply.size(), maxReply)};
  }
  std::lock_guard lock(mutex_);
  ++state_.codedCommands;
  return Coded(code, data, maxReply, transport);
}

std::string Instrument::HandleText(std::string_view command, std::size_t maxReply, Transport transport) {
  // Whatever follows a line end or a zero byte is not part of the command.
  command = command.substr(0, command.find_first_of(std::string_view("\r\n\0", 3)));
  if (IsControlCommand(command)) {
    return Control(Trim(Trim(command).substr(3)), maxReply);
  }
  std::lock_guard lock(mutex_);
  ++state_.textCommands;
  return Text(command, maxReply, transport);
}

std::vector<std::uint8_t> Instrument::Coded(std::uint8_t code, std::span<const std::uint8_t> d,
                                            std::size_t maxReply, Transport) {
  InstrumentState& s = state_;
  switch (code) {
    case 3: {  // fan speed
      if (d.size() != 2) return Status(kBadLength);
      const std::uint16_t position = GetUInt16(d.data());
      if (position > 4095) return Status(kBadValue);
      s.fanPosition = position;
      return Status(kAccepted);
    }
    case 4:    // elevation drive: hundredths of a degree, or home / reset
    case 5: {  // azimuth drive: whole degrees, or home / reset
      const bool elevation = code == 4;
      const std::size_t digits = elevation ? 7 : 5;
      if ((d.size() != digits && d.size() != 2) || !AllDigits(d)) return Status(kBadLength);
      std::string& last = elevation ? s.elevationCommand : s.azimuthCommand;
      double& position = elevation ? s.elevationDegrees : s.azimuthDegrees;
      const int value = DigitsValue(d);
      if (d.size() == 2) {
        if (value == 1) {
          position = elevation ? 90.0 : 0.0;
        } else if (value == 7) {
          ++(elevation ? s.elevationResets : s.azimuthResets);
        } else {
          return Status(kBadValue);
        }
      } else {
        if (value > (elevation ? 36000 : 360)) return Status(kBadValue);
        position = elevation ? value / 100.0 : value;
      }
      last.assign(d.begin(), d.end());
      return Status(kAccepted);
    }
    case 7: {  // write one calibration row
      if (d.size() != 2 + kCalibrationRecordSize) return Status(kBadLength);
      const int index = GetUInt16(d.data());
      if (index >= kCalibrationRows) return Status(kBadIndex);
      std::copy(d.begin() + 2, d.end(), s.calibrationRows[index].begin());
      return Status(kAccepted);
    }
    case 8: {  // tip configuration: count, four numbers, count angles (at most 16)
      if (d.size() < 18) return Status(kBadLength);
      const int count = GetUInt16(d.data());
      if (count > 16) return Status(kBadValue);
      if (d.size() < 18u + 4u * count || d.size() > 18u + 4u * 16u) return Status(kBadLength);
      s.tipConfig.assign(d.begin(), d.end());
      return Status(kAccepted);
    }
    case 9:
    case 10:
    case 11: {
      const std::size_t size = code == 9 ? 64 : code == 10 ? 80 : 128;
      if (d.size() != size) return Status(kBadLength);
      auto& record = code == 9 ? s.userCorrections : code == 10 ? s.blower : s.calConstants;
      record.assign(d.begin(), d.end());
      return Status(kAccepted);
    }
    case 19:
    case 20: {
      if (d.size() != 4) return Status(kBadLength);
      const std::uint32_t mask = GetUInt32(d.data());
      s.optionBits = code == 20 ? (s.optionBits | mask) : (s.optionBits & ~mask);
      return Status(kAccepted);
    }
    case 128: {  // model query
      const std::string reply = s.model + "\r\nOK\r\n";
      return {reply.begin(), reply.begin() + std::min(reply.size(), maxReply)};
    }
    case 132: {  // value block: first value, count
      if (d.size() != 4) return Status(kBadLength);
      const int first = GetUInt16(d.data());
      const int count = GetUInt16(d.data() + 2);
      if (static_cast<std::size_t>(count) * 4 > maxReply) return Status(kTooLong);
      std::vector<std::uint8_t> reply;
      reply.reserve(4 * count);
      const double t = Uptime();
      for (int k = 0; k < count; ++k) {
        const float v = HousekeepingValue(s, first + k, t);
        std::uint8_t b[4];
        varnok::PutFloat32(b, v);
        reply.insert(reply.end(), b, b + 4);
      }
      return reply;
    }
    case 141:
      return ClockReply(std::chrono::system_clock::now());
    case 167: {
      if (d.size() != 2) return Status(kBadLength);
      const int index = GetUInt16(d.data());
      if (index >= kCalibrationRows) return Status(kBadIndex);
      const auto& row = s.calibrationRows[index];
      return {row.begin(), row.end()};
    }
    case 168:
      return s.tipConfig;
    case 169:
      return s.userCorrections;
    case 170:
      return s.blower;
    case 171:
      return s.calConstants;
    case 199:
      return Le32Bytes(s.optionBits);
    case 200:
      ++s.flashWriteCount;
      return Le32Bytes(s.flashWriteCount);
    default:
      return Status(kUnknownCode);
  }
}

std::string Instrument::Text(std::string_view command, std::size_t, Transport transport) {
  const std::string name = Lower(Trim(command));
  const InstrumentState& s = state_;
  const double t = Uptime();
  char line[128];
  if (name == "software") {
    return "Software: QX control V6.00 build 1207\r\n"
           "Firmware: DSP 3.12, FPGA 2.4\r\n"
           "Model: " +
           s.model + "\r\nOK\r\n";
  }
  if (name == "fault") {
    return "Fault register: 0000\r\nNo faults since power-on\r\nOK\r\n";
  }
  if (name == "status") {
    std::string reply = "Procedure: stopped\r\nTime: " + ClockText(std::chrono::system_clock::now()) + "\r\n";
    std::snprintf(line, sizeof line, "TkBB: %.2f K\r\nTamb: %.2f C\r\nRH: %.1f %%\r\n",
                  HousekeepingValue(s, 217, t), HousekeepingValue(s, 401, t), HousekeepingValue(s, 400, t));
    reply += line;
    std::snprintf(line, sizeof line, "Pressure: %.1f mbar\r\nElevation: %.2f deg\r\nAzimuth: %.0f deg\r\n",
                  HousekeepingValue(s, 226, t), s.elevationDegrees, s.azimuthDegrees);
    reply += line;
    return reply + "OK\r\n";
  }
  if (name == "line") {
    return transport == Transport::kTcp ? std::string("Line: TCP tunnel\r\nOK\r\n")
                                        : std::string("Line: serial 115200 8E1, device address 1\r\nOK\r\n");
  }
  return "Unknown command: " + std::string(Trim(command)) + "\r\nNOK\r\n";
}

// sim fault FORM   arm a one-shot fault for the next request
// sim text N       a reply of exactly N bytes ending in "OK" CR LF
// sim noterm N     N bytes of reply lines and no terminator line
// sim echo TEXT    TEXT as the whole reply ("\r", "\n", "\t", "\\" stand for those characters)
std::string Instrument::Control(std::string_view args, std::size_t maxReply) {
  const std::size_t space = args.find(' ');
  const std::string verb = Lower(args.substr(0, space));
  const std::string_view rest = space == std::string_view::npos ? "" : Trim(args.substr(space));
  if (verb == "fault") {
    if (!ParseFault(rest)) return "Unknown fault: " + std::string(rest) + "\r\nNOK\r\n";
    faults_.Arm(rest);
    return "OK\r\n";
  }
  if (verb == "text" || verb == "noterm") {
    const auto n = ParseCount(rest);
    if (!n || *n < 0) return "Bad length\r\nNOK\r\n";
    std::size_t size = std::min<std::size_t>(*n, maxReply);
    if (verb == "noterm") return FillerLines(size);
    size = std::max<std::size_t>(size, 4);
    if (size == 5) size = 6;  // a one-byte line cannot end in CR LF
    return FillerLines(size - 4) + "OK\r\n";
  }
  if (verb == "echo") return Unescape(rest);
  return "Unknown simulator command\r\nNOK\r\n";
}

}  // namespace varnok::sim
