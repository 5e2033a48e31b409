#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "tools/varnok-sim/SimSerialEndpoint.h"

namespace varnok::sim {

namespace {

void MakeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
  }
}

}  // namespace

SerialEndpoint OpenSerialEndpoint(asio::io_context& io, const SimOptions& options) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    if (master >= 0) ::close(master);
    throw std::runtime_error("cannot open a pseudo-terminal");
  }
  char name[128] = {};
  if (ptsname_r(master, name, sizeof name) != 0) {
    ::close(master);
    throw std::runtime_error("cannot name the pseudo-terminal");
  }
  // Raw mode on the line, so the console finds it ready even before it sets its own mode.
  const int slave = ::open(name, O_RDWR | O_NOCTTY);
  if (slave >= 0) {
    MakeRaw(slave);
    ::close(slave);
  }
  MakeRaw(master);
  if (!options.serialLink.empty()) {
    std::error_code ec;
    const std::filesystem::path link(options.serialLink);
    if (std::filesystem::is_symlink(link, ec)) std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(name, link, ec);
    if (ec) {
      ::close(master);
      throw std::runtime_error("cannot create the link " + options.serialLink + ": " + ec.message());
    }
  }
  return SerialEndpoint{SerialStream(io, master), name};
}

void RemoveSerialEndpointTraces(const SimOptions& options) {
  if (options.serialLink.empty()) return;
  std::error_code ec;
  if (std::filesystem::is_symlink(options.serialLink, ec)) std::filesystem::remove(options.serialLink, ec);
}

}  // namespace varnok::sim
