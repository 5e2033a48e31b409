#include "CalibrationFileReader.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "LargeBuffer.h"
#include "LineSplitter.h"

namespace varnok {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle OpenForReading(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return nullptr;
#ifdef _WIN32
  return FileHandle(::_wfopen(path.c_str(), L"rb"));
#else
  return FileHandle(std::fopen(path.c_str(), "rb"));
#endif
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string buffer) {
  FileHandle file = OpenForReading(path);
  if (!file) return std::nullopt;
  // Read straight into the text, growing it when the file turns out longer than its size said.
  // The earlier text is left in place until overwritten: clearing it first would make the resizing
  // below fill the whole buffer with zeros before the file's bytes replace them.
  std::string text = std::move(buffer);
  std::error_code error;
  const auto expected = std::filesystem::file_size(path, error);
  std::size_t room = error ? std::size_t{1} << 16 : static_cast<std::size_t>(expected) + 1;
  if (text.capacity() < room) {
    text.reserve(room);
    PrepareLargeBuffers({{text.data(), text.capacity()}});
  }
  std::size_t used = 0;
  for (;;) {
    text.resize(used + room);
    const std::size_t got = std::fread(text.data() + used, 1, room, file.get());
    used += got;
    if (got < room) break;
    room = used;  // double the text
  }
  text.resize(used);
  if (std::ferror(file.get())) return std::nullopt;
  return text;
}

std::optional<CalibrationParseResult> ReadCalibrationFile(const std::filesystem::path& path,
                                                          std::size_t blockSize,
                                                          std::vector<CalibrationSeries> spare) {
  FileHandle file = OpenForReading(path);
  if (!file) return std::nullopt;
  std::vector<char> block(blockSize > 0 ? blockSize : 1);
  CalibrationParser parser;
  parser.ReuseStorage(std::move(spare));
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) parser.ExpectTextSize(static_cast<std::size_t>(size));
  LineSplitter splitter;
  const auto onLine = [&parser](std::string_view line) { parser.AddLine(line); };
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
    splitter.Feed(std::string_view(block.data(), got), onLine);
    if (got < block.size()) break;
  }
  if (std::ferror(file.get())) return std::nullopt;
  splitter.Finish(onLine);
  return parser.Finish();
}

}  // namespace varnok
