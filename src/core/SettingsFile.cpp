#include "core/SettingsFile.h"

#include <fstream>
#include <system_error>

#include "core/AppError.h"
#include "core/FileReplacement.h"
#include "core/SettingsTemporaryName.h"
#include "core/SettingsText.h"
#include "core/TextConversions.h"

namespace varnok {
namespace {

// Removes what an earlier run left beside the file when it was ended in the middle of a save. A
// temporary of a process that still runs (another instance saving right now) is left alone.
void RemoveStaleTemporaries(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  const std::string fileName = path.filename().string();
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto owner = SettingsTemporaryOwner(fileName, it->path().filename().string());
    if (!owner) continue;
    if (*owner == CurrentProcessId() || ProcessStillRuns(*owner)) continue;
    std::error_code removeError;
    std::filesystem::remove(it->path(), removeError);
  }
}

}  // namespace

struct SettingsFile::Impl {
  SettingsText text;
  bool unreadable = false;  // a file is there but could not be read: saving would lose it
};

SettingsFile::SettingsFile(std::filesystem::path path)
    : path_(std::move(path)), impl_(std::make_unique<Impl>()) {
  RemoveStaleTemporaries(path_);
  // A missing or unreadable file reads as an empty one: every key gives its default.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path_, ec)) return;
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    impl_->unreadable = true;
    return;
  }
  std::string content;
  char chunk[8192];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
    content.append(chunk, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    impl_->unreadable = true;
    return;
  }
  impl_->text = SettingsText(content);
}

SettingsFile::~SettingsFile() = default;

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
  return impl_->text.Value(section, key).value_or(defaultValue);
}

int SettingsFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const {
  const auto value = impl_->text.Value(section, key);
  if (!value) return defaultValue;
  try {
    return ParseIntegerText(*value);
  } catch (const AppError&) {
    return defaultValue;
  }
}

bool SettingsFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  impl_->text.SetValue(section, key, value);
}

void SettingsFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::Save() {
  const std::string failure = "Unable to write to " + path_.string();
  if (impl_->unreadable) throw AppError(failure);
  const std::string content = impl_->text.Text();

  std::error_code ec;
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : ".";
  std::filesystem::create_directories(folder, ec);

  // A new file is written beside the old one and put in its place: a failure leaves the old file whole.
  if (!ReplaceFileContents(path_, content)) throw AppError(failure);
}

}  // namespace varnok
