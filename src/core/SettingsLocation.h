#pragma once
#include <filesystem>
#include <memory>

namespace varnok {

// What the settings file's place depends on: the running program and the user's folders.
// One implementation per platform (SettingsLocationLinux.cpp); tests fake it.
class SettingsLocation {
 public:
  virtual ~SettingsLocation() = default;

  // The full path of the running executable.
  virtual std::filesystem::path ExecutablePath() const = 0;

  // Whether the program may create or replace `file` (the file if it exists, else its folder).
  virtual bool CanWrite(const std::filesystem::path& file) const = 0;

  // The per-user folder for this program's settings (it need not exist yet).
  virtual std::filesystem::path UserConfigFolder() const = 0;
};

// The running platform's implementation.
std::unique_ptr<SettingsLocation> MakeSystemSettingsLocation();

}  // namespace varnok
