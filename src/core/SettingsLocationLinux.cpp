#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include "core/SettingsLocation.h"

namespace varnok {

namespace {

class LinuxSettingsLocation final : public SettingsLocation {
 public:
  std::filesystem::path ExecutablePath() const override {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path("varnok-omblet") : path;
  }

  bool CanWrite(const std::filesystem::path& file) const override {
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
      // Replacing the file means creating a new one beside it, so the folder must be writable too.
      if (::access(file.c_str(), W_OK) != 0) return false;
    }
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    return std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
  }

  std::filesystem::path UserConfigFolder() const override {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
      return std::filesystem::path(xdg) / "varnok-omblet";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
      return std::filesystem::path(home) / ".config" / "varnok-omblet";
    }
    return std::filesystem::temp_directory_path() / "varnok-omblet";
  }
};

}  // namespace

std::unique_ptr<SettingsLocation> MakeSystemSettingsLocation() {
  return std::make_unique<LinuxSettingsLocation>();
}

}  // namespace varnok
