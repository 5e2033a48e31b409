#include "SettingsFile.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cstdio>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppError.h"
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

  // Write a new file beside the old one and rename it over: a failure leaves the old file whole.
  std::string temp = (folder / (path_.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) throw AppError(failure);
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      ok = errno == EINTR;
      continue;
    }
    done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  // Keep the permissions an existing file had; a new one gets the usual rw-r--r--.
  struct stat old {};
  const mode_t mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ok = ::fchmod(fd, mode) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), path_.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    throw AppError(failure);
  }
}

}  // namespace varnok
