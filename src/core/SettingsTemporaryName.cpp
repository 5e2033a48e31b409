#include "core/SettingsTemporaryName.h"

namespace varnok {
namespace {

constexpr std::string_view kMarker = ".saving-";
constexpr std::size_t kUniqueLength = 6;

std::string Prefix(std::string_view fileName) { return "." + std::string(fileName) + std::string(kMarker); }

}  // namespace

std::string SettingsTemporaryPattern(std::string_view fileName, long processId) {
  return Prefix(fileName) + std::to_string(processId) + "-" + std::string(kUniqueLength, 'X');
}

std::optional<long> SettingsTemporaryOwner(std::string_view fileName, std::string_view candidate) {
  const std::string prefix = Prefix(fileName);
  if (candidate.substr(0, prefix.size()) != prefix) return std::nullopt;
  candidate.remove_prefix(prefix.size());
  long owner = 0;
  std::size_t digits = 0;
  while (digits < candidate.size() && candidate[digits] >= '0' && candidate[digits] <= '9') {
    if (digits >= 9) return std::nullopt;
    owner = owner * 10 + (candidate[digits] - '0');
    ++digits;
  }
  if (digits == 0 || candidate.size() != digits + 1 + kUniqueLength || candidate[digits] != '-')
    return std::nullopt;
  return owner;
}

}  // namespace varnok
