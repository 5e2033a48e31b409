// varnok-sim: a stand-in instrument on TCP and/or a pseudo-terminal, until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "SimServer.h"

namespace {

void Usage() {
  std::cerr << "usage: varnok-sim [--tcp-port N] [--tcp-address ADDR] [--no-tcp] [--serial]\n"
               "                  [--serial-link PATH] [--fault FORM]... [--model TEXT]\n";
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
    } else if (arg == "--fault" && hasValue) {
      options.faults.push_back(argv[++i]);
    } else if (arg == "--model" && hasValue) {
      options.model = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else {
      Usage();
      return 2;
    }
  }
  if (!options.tcp && !options.serial) {
    std::cerr << "varnok-sim: nothing to serve (--no-tcp without --serial)\n";
    return 2;
  }

  // Block the stop signals before the I/O thread starts, so that only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    varnok::sim::SimServer server(options);
    server.Start();
    if (options.tcp) std::printf("TCP port: %d\n", server.TcpPort());
    if (options.serial) {
      std::printf("Serial: %s\n", server.SerialPath().c_str());
      if (!options.serialLink.empty()) std::printf("Serial link: %s\n", options.serialLink.c_str());
    }
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  } catch (const std::exception& e) {
    std::cerr << "varnok-sim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
