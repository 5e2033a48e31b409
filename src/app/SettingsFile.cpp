#include "SettingsFile.h"

#ifdef _WIN32
#define SI_CONVERT_WIN32  // the system's own converter: no ICU there
#else
#define SI_CONVERT_ICU
#endif
#include <SimpleIni.h>

#include <fstream>
#include <system_error>

#include "AppError.h"
#include "FileReplacement.h"
#include "TextConversions.h"

namespace varnok {

struct SettingsFile::Impl {
  CSimpleIniA ini{false /* bytes as they are */, false /* one value per key */, false /* no multi-line */};
};

SettingsFile::SettingsFile(std::filesystem::path path) : path_(std::move(path)), impl_(std::make_unique<Impl>()) {
  impl_->ini.SetUnicode(false);
  impl_->ini.SetSpaces(false);
  // A missing or unreadable file reads as an empty one: every key gives its default.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path_, ec)) return;
  std::ifstream in(path_, std::ios::binary);
  std::string content;
  char chunk[8192];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) content.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return;
  impl_->ini.LoadData(content.data(), content.size());
}

SettingsFile::~SettingsFile() = default;

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
  const char* value = impl_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return value ? std::string(value) : defaultValue;
}

int SettingsFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  const char* value = impl_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  if (!value) return defaultValue;
  try {
    return ParseIntegerText(value);
  } catch (const AppError&) {
    return defaultValue;
  }
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // A line break inside a value would end the line and corrupt the file: keep values on one line.
  std::string oneLine = value;
  for (char& c : oneLine) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  impl_->ini.SetValue(section.c_str(), key.c_str(), oneLine.c_str());
}

void SettingsFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::Save() {
  const std::string failure = "Unable to write to " + path_.string();
  std::string content;
  if (impl_->ini.Save(content, false) < 0) throw AppError(failure);

  std::error_code ec;
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : ".";
  std::filesystem::create_directories(folder, ec);

  if (!ReplaceFileContents(path_, content)) throw AppError(failure);
}

}  // namespace varnok
