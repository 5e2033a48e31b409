#include "calibration/FileMaskList.h"

#include <algorithm>

#include "calibration/HiddenFile.h"

namespace varnok {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask) {
  // Greedy matching with one back-track point for the last "*": linear in practice, never exponential.
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
      ++n;
      ++m;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::string FileNameBytes(const std::filesystem::path& name) {
#ifdef _WIN32
  const std::u8string utf8 = name.u8string();
  return std::string(utf8.begin(), utf8.end());
#else
  return name.native();
#endif
}

std::vector<std::filesystem::path> ListFilesByMask(const std::filesystem::path& folder,
                                                   std::string_view mask) {
  std::vector<std::pair<std::string, std::filesystem::path>> found;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return {};
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::filesystem::directory_entry& entry = *it;
    std::error_code statusError;
    if (!entry.is_regular_file(statusError) || IsHiddenOrSystemFile(entry)) continue;
    std::filesystem::path name = entry.path().filename();
    std::string bytes = FileNameBytes(name);
    if (MatchesFileMask(bytes, mask)) found.emplace_back(std::move(bytes), std::move(name));
  }
  std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) {
    const std::string& a = x.first;
    const std::string& b = y.first;
    const auto lowerLess = [](char p, char q) { return Lower(p) < Lower(q); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) return false;
    return a < b;
  });
  std::vector<std::filesystem::path> names;
  names.reserve(found.size());
  for (auto& [bytes, name] : found) names.push_back(std::move(name));
  return names;
}

}  // namespace varnok
