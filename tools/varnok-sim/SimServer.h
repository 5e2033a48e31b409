#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace varnok::sim {

struct InstrumentState;  // the simulated instrument's stored settings and hardware state

struct SimOptions {
  bool tcp = true;
  int tcpPort = 5020;              // 0 picks a free port (see TcpPort())
  bool serial = false;             // serve the serial protocol on a pseudo-terminal
  std::string serialLink;          // when not empty, a symbolic link to the pseudo-terminal's path
  std::vector<std::string> faults; // persistent faults, in the fault text form below
  std::string model = "QX-7100A";
};

// A stand-in instrument. Runs its own I/O thread; every public call is thread-safe.
//
// Fault text form (used by --fault, by ArmFault/SetFault and by the text command
// "sim fault <form>" which answers OK and arms a one-shot fault for the next request):
//   none             clears every fault
//   noreply          reads the request and never answers it
//   late-id          first sends a reply carrying the previous transaction identifier, then the right one
//   exception        answers with an exception response (function code 0x97)
//   split            sends the reply in two parts, a short pause between them
//   short:N          answers with only N bytes (1..8)
//   close            closes the connection instead of answering
//   refuse:CODE:V    answers command CODE with the one-byte reply V (a refusal code)
//   nak              serial: answers a frame with NAK
//   badcheck         serial: the reply frame carries a wrong check byte
//   bodycut          serial: the reply frame's body stops short
//   textcut          serial: a text reply stops in the middle of a line
//   banner           a text reply starts with a line beginning "Torvelmandra"
class SimServer {
 public:
  explicit SimServer(SimOptions options);
  ~SimServer();  // stops

  void Start();  // opens the TCP listener and/or the pseudo-terminal; throws std::runtime_error on failure
  void Stop();

  int TcpPort() const;             // the bound port
  std::string SerialPath() const;  // the pseudo-terminal's slave path (the device the console opens)

  void ArmFault(const std::string& form);  // one-shot: applies to the next request only
  void SetFault(const std::string& form);  // persistent until "none"
  void ClearFaults();

  // Runs `fn` with the instrument state locked (tests read back what was stored).
  void WithState(const std::function<void(InstrumentState&)>& fn);

  // Requests received so far (raw bytes of each TCP request or serial frame/text line), for tests.
  std::vector<std::vector<std::uint8_t>> ReceivedRequests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnok::sim
