#include "calibration/CalibrationFileReader.h"

#include <cstdio>
#include <memory>

namespace varnok {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
#ifdef _WIN32
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(::_wfopen(path.c_str(), L"rb"), &std::fclose);
#else
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
#endif
  if (!file) return std::nullopt;
  std::string text;
  char block[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) text.append(block, got);
  if (std::ferror(file.get())) return std::nullopt;
  return text;
}

}  // namespace varnok
