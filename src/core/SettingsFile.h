#pragma once
#include <filesystem>
#include <memory>
#include <string>

namespace varnok {

// The program's settings file: sections of key=value lines. Values are kept raw; keys, sections and
// comments the program does not know survive a save. Integers read in decimal or after "$" / "0x";
// a value that is not an integer reads as the default. Booleans are written as 1 / 0.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path);
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;

  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Writes the whole file atomically (a new file renamed over the old one).
  // Throws AppError "Unable to write to %s" when it cannot.
  void Save();

 private:
  std::filesystem::path path_;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnok
