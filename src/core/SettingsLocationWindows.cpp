#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "core/SettingsLocation.h"

namespace varnok {

namespace {

class WindowsSettingsLocation final : public SettingsLocation {
 public:
  std::filesystem::path ExecutablePath() const override {
    wchar_t buffer[32768];
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return std::filesystem::path("varnok-omblet.exe");
    return std::filesystem::path(std::wstring(buffer, length));
  }

  bool CanWrite(const std::filesystem::path& file) const override {
    // Windows has no cheap access check that honours every ACL: try to create a file beside it.
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
      const DWORD attributes = ::GetFileAttributesW(file.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    }
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    if (!std::filesystem::is_directory(folder, ec)) return false;
    const auto probe = folder / L".varnok-write-probe";
    {
      std::ofstream out(probe);
      if (!out) return false;
    }
    std::filesystem::remove(probe, ec);
    return true;
  }

  std::filesystem::path UserConfigFolder() const override {
    if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData) {
      return std::filesystem::path(appData) / L"Varnok Omblet";
    }
    return std::filesystem::temp_directory_path() / L"Varnok Omblet";
  }
};

}  // namespace

std::unique_ptr<SettingsLocation> MakeSystemSettingsLocation() {
  return std::make_unique<WindowsSettingsLocation>();
}

}  // namespace varnok
