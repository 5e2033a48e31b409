// varnok-cmd: connects to one instrument, sends one text or coded command, prints the result value and
// the reply, and exits non-zero when the result is below 1. It also backs up the instrument's settings
// and calibration table into a configuration file and restores them from one.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <optional>
#include <string>
#include <vector>

#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/ConnectionManager.h"
#include "config/ConfigParser.h"
#include "config/ConfigurationBackup.h"
#include "tools/varnok-cmd/HexText.h"
#include "link/WireTrace.h"

namespace {

const char* kUsage =
    "usage: varnok-cmd [-v] ADDRESS text COMMAND...\n"
    "       varnok-cmd [-v] ADDRESS code N [HEXDATA]\n"
    "       varnok-cmd [-v] ADDRESS backup FILE.CFG\n"
    "       varnok-cmd [-v] ADDRESS restore FILE.CFG [--flash]\n"
    "ADDRESS: dotted IPv4 address or host name, optionally with :PORT (default 502); COMn (/dev/ttyS(n-1));\n"
    "         or a serial device path such as /dev/ttyUSB0\n"
    "-v prints every exchange on standard error: the bytes sent (>) and received (<), the result, retries\n"
    "   and tones, one line each.\n"
    "backup reads the four settings groups and the 35 calibration rows into a configuration file;\n"
    "restore uploads one as the console's Upload and Upload to instrument do (--flash: then saves to "
    "flash).\n";

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
    case varnok::ConnectOutcome::NoSuchHost:
      return "no such host";
    case varnok::ConnectOutcome::OpenFailed:
      return "the link could not be opened";
    case varnok::ConnectOutcome::CantConnect:
      return "Can't connect (the model query failed)";
    default:
      return "not connected";
  }
}

void PrintStep(const varnok::ConfigurationStep& step) {
  std::cout << step.what << ": " << step.outcome << "\n" << std::flush;
}

std::string UtcNow() {
  return varnok::FormatTraceTime(std::chrono::system_clock::now()).substr(0, 19) + " UTC";
}

// Writes the file next to its final name first, so that a failed write never leaves half a backup.
bool WriteWhole(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) std::remove(temporary.c_str());
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool verbose = false;
  if (!args.empty() && args[0] == "-v") {
    verbose = true;
    args.erase(args.begin());
  }
  const bool known = args.size() >= 3 &&
                     (args[1] == "text" || args[1] == "code" || args[1] == "backup" || args[1] == "restore");
  const bool flash = args.size() == 4 && args[1] == "restore" && args[3] == "--flash";
  if (!known || (args[1] == "code" && args.size() > 4) || (args[1] == "backup" && args.size() != 3) ||
      (args[1] == "restore" && args.size() != 3 && !flash)) {
    std::cerr << kUsage;
    return 2;
  }
  // A restore reads and checks the whole file before anything is sent, the connection's model query
  // included.
  varnok::RestorePlan restorePlan;
  if (args[1] == "restore") {
    std::ifstream in(args[2], std::ios::binary);
    if (!in) {
      std::cerr << "varnok-cmd: Cannot open file " << args[2] << "\n";
      return 1;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();
    const auto prepared = varnok::PrepareRestore(varnok::ConfigurationFileLines(bytes.str()));
    if (!prepared.ok) {
      std::cerr << "varnok-cmd: " << args[2] << " refused, nothing was sent: " << prepared.refusal << "\n";
      return 1;
    }
    restorePlan = prepared.plan;
  }
  std::optional<int> code;
  std::vector<std::uint8_t> request;
  if (args[1] == "code") {
    code = varnok::ParseCommandCode(args[2]);
    const auto data = args.size() == 4
                          ? varnok::ParseHexData(args[3])
                          : std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{});
    if (!code || !data || data->size() > 255) {
      std::cerr << "varnok-cmd: the code must be 0..255 and the data at most 255 bytes of hexadecimal\n"
                << kUsage;
      return 2;
    }
    request = *data;
  }

  // The same lines as the console's trace file, on standard error.
  varnok::WireTrace wire([](const std::string& line) { std::cerr << line << "\n" << std::flush; });
  ConsoleWindow window(verbose);
  varnok::CommandLayer layer(window);
  if (verbose) layer.SetWireTrace(&wire);
  varnok::AsioLinkOpener opener(varnok::LinkTimeouts{},
                                verbose ? wire.TransportTrace() : varnok::LinkTrace{});
  varnok::ConnectionManager manager(layer, window, opener);
  window.SetConnectDown(true);
  const auto connected = manager.ConnectBtnClick(args[0], "502");
  if (connected.outcome != varnok::ConnectOutcome::Connected) {
    std::cerr << "varnok-cmd: " << args[0] << ": " << OutcomeText(connected.outcome) << "\n";
    return 1;
  }
  if (verbose) std::cerr << "model: " << connected.modelText << "\n";

  if (args[1] == "backup") {
    const std::vector<std::string> comments = {"Configuration backup of " + connected.modelText,
                                               "Read from " + args[0] + " on " + UtcNow() + " by varnok-cmd"};
    const auto backup = varnok::BackupConfiguration(layer, comments, PrintStep);
    if (!backup.ok) {
      std::cerr << "varnok-cmd: backup failed, no file written: " << backup.failure << "\n";
      return 1;
    }
    if (!WriteWhole(args[2], backup.fileText)) {
      std::cerr << "varnok-cmd: Cannot write file " << args[2] << "\n";
      return 1;
    }
    std::cout << "written: " << args[2] << "\n";
    return 0;
  }
  if (args[1] == "restore") {
    if (!varnok::RunRestore(layer, restorePlan, flash, PrintStep)) {
      std::cerr << "varnok-cmd: restore stopped at the first failed step\n";
      return 1;
    }
    std::cout << "restored: " << args[2] << (flash ? " (saved to flash)" : "") << "\n";
    return 0;
  }

  int result = 0;
  if (code) {
    std::vector<std::uint8_t> data(varnok::kBinaryDataSize, 0);
    std::copy(request.begin(), request.end(), data.begin());
    result = layer.SendBinaryCommand(static_cast<std::uint8_t>(*code),
                                     static_cast<std::uint8_t>(request.size()), data.data());
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
