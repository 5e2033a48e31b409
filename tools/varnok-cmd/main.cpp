// varnok-cmd: connects to one instrument, sends one text or coded command, prints the result value and
// the reply, and exits non-zero when the result is below 1.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "AsioLinkOpener.h"
#include "CommandLayer.h"
#include "ConnectionManager.h"
#include "HexText.h"

namespace {

const char* kUsage =
    "usage: varnok-cmd [-v] ADDRESS text COMMAND...\n"
    "       varnok-cmd [-v] ADDRESS code N [HEXDATA]\n"
    "ADDRESS: dotted IPv4 address or host name, optionally with :PORT (default 502); COMn (/dev/ttyS(n-1));\n"
    "         or a serial device path such as /dev/ttyUSB0\n"
    "-v prints every byte sent (>) and received (<) on standard error.\n";

// The window of a program without windows: the button is a flag, the panels go to standard error.
class ConsoleWindow : public varnok::LinkWindow {
 public:
  explicit ConsoleWindow(bool verbose) : verbose_(verbose) {}
  bool ConnectDown() const override { return down_; }
  void SetConnectDown(bool down) override { down_ = down; }
  void SetPanelText(int panel, const std::string& text) override {
    if (verbose_ || panel == 2) std::cerr << "[" << panel << "] " << text << "\n";
  }
  int UnitAddress() const override { return 0; }
  void SetTimer1Enabled(bool) override {}
  void ReleaseTimerBtn() override {}
  void PlayErrorTone() override {
    if (verbose_) std::cerr << "[tone]\n";
  }

 private:
  bool verbose_;
  bool down_ = false;
};

const char* OutcomeText(varnok::ConnectOutcome outcome) {
  switch (outcome) {
    case varnok::ConnectOutcome::NoSuchHost: return "no such host";
    case varnok::ConnectOutcome::OpenFailed: return "the link could not be opened";
    case varnok::ConnectOutcome::CantConnect: return "Can't connect (the model query failed)";
    default: return "not connected";
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool verbose = false;
  if (!args.empty() && args[0] == "-v") {
    verbose = true;
    args.erase(args.begin());
  }
  if (args.size() < 3 || (args[1] != "text" && args[1] != "code") || (args[1] == "code" && args.size() > 4)) {
    std::cerr << kUsage;
    return 2;
  }
  std::optional<int> code;
  std::vector<std::uint8_t> request;
  if (args[1] == "code") {
    code = varnok::ParseCommandCode(args[2]);
    const auto data = args.size() == 4 ? varnok::ParseHexData(args[3])
                                        : std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{});
    if (!code || !data || data->size() > 255) {
      std::cerr << "varnok-cmd: the code must be 0..255 and the data at most 255 bytes of hexadecimal\n" << kUsage;
      return 2;
    }
    request = *data;
  }

  varnok::LinkTrace trace;
  if (verbose) {
    trace = [](varnok::TraceDirection direction, const std::uint8_t* bytes, std::size_t count) {
      std::cerr << (direction == varnok::TraceDirection::Sent ? "> " : "< ")
                << varnok::FormatHex(std::vector<std::uint8_t>(bytes, bytes + count)) << "\n";
    };
  }
  ConsoleWindow window(verbose);
  varnok::CommandLayer layer(window);
  varnok::AsioLinkOpener opener(varnok::LinkTimeouts{}, trace);
  varnok::ConnectionManager manager(layer, window, opener);
  window.SetConnectDown(true);
  const auto connected = manager.ConnectBtnClick(args[0], "502");
  if (connected.outcome != varnok::ConnectOutcome::Connected) {
    std::cerr << "varnok-cmd: " << args[0] << ": " << OutcomeText(connected.outcome) << "\n";
    return 1;
  }
  if (verbose) std::cerr << "model: " << connected.modelText << "\n";

  int result = 0;
  if (code) {
    std::vector<std::uint8_t> data(varnok::kBinaryDataSize, 0);
    std::copy(request.begin(), request.end(), data.begin());
    result = layer.SendBinaryCommand(static_cast<std::uint8_t>(*code), static_cast<std::uint8_t>(request.size()),
                                     data.data());
    std::cout << "result: " << result << "\n";
    if (result > 0) {
      data.resize(static_cast<std::size_t>(result));
      std::cout << varnok::FormatHex(data) << "\n";
    }
  } else {
    std::string command = args[2];
    for (std::size_t i = 3; i < args.size(); ++i) command += " " + args[i];
    std::vector<char> reply(varnok::kTextReplySize, 0);
    result = layer.SendTextCommand(command, reply.data());
    std::cout << "result: " << result << "\n";
    if (result > 0) std::cout << reply.data() << (reply[result - 1] == '\n' ? "" : "\n");
  }
  return result < 1 ? 1 : 0;
}
