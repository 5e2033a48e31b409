#include "procedures/ProcedureFiles.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/AppError.h"

namespace varnok {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(const std::string& s) {
  std::string f = s;
  std::transform(f.begin(), f.end(), f.begin(), Lower);
  return f;
}

}  // namespace

std::vector<std::string> ListProcedureFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (name.empty() || name.front() == '.') continue;
    const std::string folded = Folded(name);
    if (folded.size() < 4 || !folded.ends_with(".prc")) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string fa = Folded(a), fb = Folded(b);
    return fa != fb ? fa < fb : a < b;
  });
  return names;
}

std::vector<std::string> ReadProcedureLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(file, ec)) throw AppError("Cannot open file " + file.string());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool ProgramFileExists(const std::filesystem::path& folder, const std::string& programName) {
  if (programName.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(folder / programName, ec);
}

}  // namespace varnok
