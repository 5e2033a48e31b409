// One coded exchange (code 132, a 240-byte reply) and one text exchange over loopback TCP against the
// in-process instrument simulator, beside libmodbus doing a function-23 exchange of the same size against
// its own server on loopback. Prints the mean time of each and the ratio ours / libmodbus.
#include <arpa/inet.h>
#include <modbus/modbus.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "link/CommandCodes.h"
#include "link/ConnectionManager.h"
#include "tools/varnok-sim/SimServer.h"

namespace {

using Clock = std::chrono::steady_clock;

class BenchWindow : public varnok::LinkWindow {
 public:
  bool ConnectDown() const override { return down; }
  void SetConnectDown(bool d) override { down = d; }
  void SetPanelText(int, const std::string&) override {}
  int UnitAddress() const override { return 0; }
  void SetTimer1Enabled(bool) override {}
  void ReleaseTimerBtn() override {}
  void PlayErrorTone() override { ++tones; }
  bool down = false;
  int tones = 0;
};

// Mean microseconds per call of `exchange` over `rounds` calls after a warm-up; -1 when a call failed.
double MeanMicros(int rounds, const std::function<bool()>& exchange) {
  for (int i = 0; i < 20; ++i) {
    if (!exchange()) return -1;
  }
  const auto start = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    if (!exchange()) return -1;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds;
}

// libmodbus's own server on loopback, answering function-23 requests from a register map.
class ModbusPeer {
 public:
  ModbusPeer() {
    server_ = modbus_new_tcp("127.0.0.1", 0);
    mapping_ = modbus_mapping_new(0, 0, 200, 0);
    listener_ = modbus_tcp_listen(server_, 1);
    sockaddr_in address{};
    socklen_t size = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      int s = listener_;
      if (modbus_tcp_accept(server_, &s) < 0) return;
      std::array<std::uint8_t, MODBUS_TCP_MAX_ADU_LENGTH> query{};
      for (;;) {
        const int rc = modbus_receive(server_, query.data());
        if (rc > 0) {
          modbus_reply(server_, query.data(), rc, mapping_);
        } else if (rc == -1) {
          break;
        }
      }
    });
  }
  ~ModbusPeer() {
    thread_.join();
    ::close(listener_);
    modbus_mapping_free(mapping_);
    modbus_close(server_);
    modbus_free(server_);
  }
  int Port() const { return port_; }

 private:
  modbus_t* server_ = nullptr;
  modbus_mapping_t* mapping_ = nullptr;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 2000;
  constexpr int kBlocks = 10;  // the three exchanges take turns, so that a busy machine slows all alike

  varnok::sim::SimOptions options;
  options.tcpPort = 0;
  varnok::sim::SimServer sim(options);
  sim.Start();

  BenchWindow window;
  varnok::CommandLayer layer(window);
  varnok::AsioLinkOpener opener;
  varnok::ConnectionManager manager(layer, window, opener);
  window.down = true;
  const auto connected = manager.ConnectBtnClick("127.0.0.1:" + std::to_string(sim.TcpPort()), "502");
  if (connected.outcome != varnok::ConnectOutcome::Connected) {
    std::fprintf(stderr, "link_bench: cannot connect to the simulator\n");
    return 1;
  }
  ModbusPeer peer;
  modbus_t* client = modbus_new_tcp("127.0.0.1", peer.Port());
  if (client == nullptr || modbus_connect(client) != 0) {
    std::fprintf(stderr, "link_bench: libmodbus cannot connect to its own server\n");
    return 1;
  }

  std::array<std::uint8_t, varnok::kBinaryDataSize> data{};
  const auto codedExchange = [&] {
    // First value 0, 60 values of 4 bytes: 240 reply bytes.
    data[0] = 0;
    data[1] = 0;
    data[2] = 60;
    data[3] = 0;
    return layer.SendBinaryCommand(varnok::cmd::kReadValueBlock, 4, data.data()) == 240;
  };
  std::array<char, varnok::kTextReplySize> reply{};
  const auto textExchange = [&] { return layer.SendTextCommand("status", reply.data()) > 0; };
  std::array<std::uint16_t, 2> written = {0, 60};
  std::array<std::uint16_t, 120> readBack{};
  const auto modbusExchange = [&] {
    return modbus_write_and_read_registers(client, 0, 2, written.data(), 0, 120, readBack.data()) == 120;
  };

  std::vector<double> coded, text, modbus, codedRatio, textRatio;
  for (int block = 0; block < kBlocks; ++block) {
    const int n = std::max(1, rounds / kBlocks);
    coded.push_back(MeanMicros(n, codedExchange));
    text.push_back(MeanMicros(n, textExchange));
    modbus.push_back(MeanMicros(n, modbusExchange));
    if (coded.back() < 0 || text.back() < 0 || modbus.back() < 0) {
      std::fprintf(stderr, "link_bench: an exchange failed\n");
      return 1;
    }
    codedRatio.push_back(coded.back() / modbus.back());
    textRatio.push_back(text.back() / modbus.back());
  }
  modbus_close(client);
  modbus_free(client);
  layer.Disconnect();
  sim.Stop();

  std::printf("rounds: %d in %d alternating blocks; medians of the blocks\n", rounds, kBlocks);
  std::printf("coded 132, 240-byte reply:        %8.1f us per exchange\n", Median(coded));
  std::printf("text \"status\":                    %8.1f us per exchange\n", Median(text));
  std::printf("libmodbus function 23, 240 bytes: %8.1f us per exchange\n", Median(modbus));
  std::printf("ratio coded / libmodbus: %.2f (target at most 1.25)\n", Median(codedRatio));
  std::printf("ratio text / libmodbus:  %.2f\n", Median(textRatio));
  return 0;
}
