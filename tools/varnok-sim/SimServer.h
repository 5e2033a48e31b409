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
  int tcpPort = 5020;                    // 0 picks a free port (see TcpPort())
  std::string tcpAddress = "127.0.0.1";  // listen address ("0.0.0.0" to serve other machines)
  bool serial = false;                   // serve the serial protocol on a pseudo-terminal
  std::string serialLink;                // when not empty, a symbolic link to the pseudo-terminal's path
  std::string serialPort;                // Windows: the existing port to serve on (no pseudo-terminals there)
  std::vector<std::string> faults;       // persistent faults, in the fault text form below
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
//   split:AT:MS      the same, cut after AT bytes (serial: the ACK counts) with a pause of MS ms
//   delay:MS         answers MS ms late (past the console's wait: a reply after it gave up)
//   short:N          answers with only N bytes (1..10); serial: ACK, then N bytes of the frame
//   close            closes the connection instead of answering
//   refuse:CODE:V    answers command CODE with the one-byte reply V (a refusal code)
//   nak              serial: answers a frame with NAK
//   badcheck         serial: the reply frame carries a wrong check byte
//   bodycut          serial: the reply frame's body stops short
//   textcut          serial: a text reply stops in the middle of a line
//   banner           a text reply starts with a line beginning "Torvelmandra"
//   stale:N          TCP: first N replies carrying earlier transaction identifiers, then the right one
//   stale-exception  TCP: first an exception response carrying the previous identifier, then the right one
//   lenbyte:V        TCP: a response longer than 266 bytes carries V in its reply length byte (offset 10)
//   stopread         TCP: never answers and never reads from this connection again
//   reset            TCP: aborts the connection with a reset instead of answering
//   ackbyte:V        serial: answers a frame with the byte V in place of ACK, and nothing more
//   hangup           serial: closes the instrument's side of the line instead of answering (for good)
//   hangup:N         serial: the same after sending the first N bytes of the answer (ACK and frame)
// A one-shot fault waits for the first request it can act on ("refuse" for its code, "banner"
// and "textcut" for a text command, "badcheck", "bodycut",
// "nak", "ackbyte", "hangup" for a serial frame, the TCP-only forms for a TCP request). Unknown
// forms throw std::invalid_argument.
// The stale reply of "late-id" carries the four bytes "late"; "split" cuts a TCP response after
// its header and half its data, a serial reply after half its bytes; faults combine ("stale:2" and
// "split:5:50" armed together cut the right reply after the stale ones); "bodycut" sends a reply
// frame's header and half its body and no check byte.
//
// Text commands that steer the simulator (no fault ever acts on them):
//   sim fault FORM   arms FORM as a one-shot fault; answers "OK"
//   sim text N       a reply of exactly N bytes (at most 1026 over TCP) ending in "OK" CR LF
//   sim noterm N     N bytes of reply lines without a terminator line
//   sim echo TEXT    TEXT is the whole reply; "\r", "\n", "\t", "\\" stand for those characters
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

  // The kind and unit of each request received, in order (same cap as ReceivedRequests).
  struct RequestSummary {
    bool tcp = true;
    bool text = false;  // a text command (TCP: code 128 with data)
    int code = -1;      // the command code (128 for text over TCP; -1 for a serial text line)
    int unit = -1;      // TCP: the unit identifier; serial: -1
  };
  std::vector<RequestSummary> ReceivedSummaries() const;

  // Every byte the console sent on the serial line between messages, in order: its ACK (0x06) or
  // NAK (0x15) after each reply frame, and any other stray control byte (the latest 100000).
  std::vector<std::uint8_t> ReceivedAcknowledgements() const;

  // Requests received so far (raw bytes of each TCP request or serial frame/text line), for tests;
  // the latest 100000 when more arrived.
  std::vector<std::vector<std::uint8_t>> ReceivedRequests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnok::sim
