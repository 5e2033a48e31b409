// varnok-sim: a stand-in instrument on TCP and/or a serial line, until asked to stop.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/varnok-sim/SimServer.h"
#include "tools/varnok-sim/StopRequest.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: varnok-sim [--tcp-port N] [--tcp-address ADDR] [--no-tcp] [--serial]\n"
         "                  [--serial-link PATH] [--serial-port NAME] [--fault FORM]...\n"
         "                  [--model TEXT]\n"
         "\n"
         "A stand-in instrument. Serves the function-23 tunnel on TCP (port 5020 unless told,\n"
         "0 picks a free port, 502 is the instrument's own; address 127.0.0.1 unless told) and,\n"
         "with --serial, the serial line on a pseudo-terminal (--serial-link also links PATH to\n"
         "it). On Windows --serial-port NAME serves an existing port instead (for example one\n"
         "end of a null-modem pair). Prints \"TCP port: N\" and \"Serial: PATH\" once listening;\n"
         "stops on SIGINT/SIGTERM (Ctrl+C or Ctrl+Break on Windows).\n"
         "\n"
         "Faults (--fault keeps one for every request; the text command \"sim fault FORM\" arms\n"
         "one for the next request it can act on):\n"
         "  none            clear every fault\n"
         "  noreply         never answer\n"
         "  late-id         a stale reply with the previous transaction identifier first (TCP)\n"
         "  exception       an exception response, function code 0x97 (TCP)\n"
         "  split           the reply in two parts with a short pause\n"
         "  split:AT:MS     the same, cut after AT bytes, a pause of MS ms\n"
         "  delay:MS        answer MS ms late\n"
         "  short:N         only N bytes of the reply (1..10)\n"
         "  close           close the connection instead of answering (TCP)\n"
         "  refuse:CODE:V   answer command CODE with the one-byte refusal V\n"
         "  nak             answer a frame with NAK (serial)\n"
         "  badcheck        a reply frame with a wrong check byte (serial)\n"
         "  bodycut         a reply frame whose body stops short (serial)\n"
         "  textcut         a text reply that stops in the middle of a line (serial)\n"
         "  banner          a text reply starting with a \"Torvelmandra\" line\n"
         "  stale:N         N stale replies with earlier identifiers, then the right one (TCP)\n"
         "  stale-exception an exception response with the previous identifier first (TCP)\n"
         "  lenbyte:V       a response over 266 bytes with V as its length byte (TCP)\n"
         "  stopread        never answer and never read the connection again (TCP)\n"
         "  reset           abort the connection with a reset instead of answering (TCP)\n"
         "  ackbyte:V       answer a frame with the byte V instead of ACK (serial)\n"
         "  hangup[:N]      close the line for good, after N bytes of the answer (serial)\n"
         "\n"
         "Other text commands for tests: \"sim text N\" (a reply of N bytes ending in OK),\n"
         "\"sim noterm N\" (N bytes without a terminator line), \"sim echo TEXT\" (TEXT as the\n"
         "reply; \\r, \\n, \\t stand for those characters).\n";
}

bool ParsePort(const char* text, int& port) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 0 || value > 65535) return false;
  port = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  varnok::sim::SimOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--tcp-port" && hasValue) {
      if (!ParsePort(argv[++i], options.tcpPort)) {
        std::cerr << "varnok-sim: bad port " << argv[i] << "\n";
        return 2;
      }
    } else if (arg == "--tcp-address" && hasValue) {
      options.tcpAddress = argv[++i];
    } else if (arg == "--no-tcp") {
      options.tcp = false;
    } else if (arg == "--serial") {
      options.serial = true;
    } else if (arg == "--serial-link" && hasValue) {
      options.serial = true;
      options.serialLink = argv[++i];
    } else if (arg == "--serial-port" && hasValue) {
      options.serial = true;
      options.serialPort = argv[++i];
    } else if (arg == "--fault" && hasValue) {
      options.faults.push_back(argv[++i]);
    } else if (arg == "--model" && hasValue) {
      options.model = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      Usage(std::cout);
      return 0;
    } else {
      Usage(std::cerr);
      return 2;
    }
  }
  if (!options.tcp && !options.serial) {
    std::cerr << "varnok-sim: nothing to serve (--no-tcp without --serial)\n";
    return 2;
  }

  // Before the I/O thread starts, so that only the wait below sees the request.
  varnok::sim::StopRequest stopRequest;

  try {
    varnok::sim::SimServer server(options);
    server.Start();
    if (options.tcp) std::printf("TCP port: %d\n", server.TcpPort());
    if (options.serial) {
      std::printf("Serial: %s\n", server.SerialPath().c_str());
      if (!options.serialLink.empty()) std::printf("Serial link: %s\n", options.serialLink.c_str());
    }
    std::fflush(stdout);
    stopRequest.Wait();
    server.Stop();
  } catch (const std::exception& e) {
    std::cerr << "varnok-sim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
