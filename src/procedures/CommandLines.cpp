#include "procedures/CommandLines.h"

#include <algorithm>

namespace varnok {

namespace {

bool PosixSafe(char c) {
  if (c >= 'a' && c <= 'z') return true;
  if (c >= 'A' && c <= 'Z') return true;
  if (c >= '0' && c <= '9') return true;
  return std::string_view("@%+=:,./_-").find(c) != std::string_view::npos;
}

bool CmdSafe(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u <= ' ') return false;
  return std::string_view("&|<>^()\";,=!%").find(c) == std::string_view::npos;
}

std::optional<std::string> WithinLimit(std::string line) {
  if (line.size() > kCommandLineLimit) return std::nullopt;
  return line;
}

}  // namespace

std::string CommandLineTooLongMessage(std::size_t length) {
  return "Command line too long (" + std::to_string(length) + " characters, at most " +
         std::to_string(kCommandLineLimit) + ")";
}

std::string QuoteForShell(std::string_view path, ShellDialect dialect) {
  if (dialect == ShellDialect::Posix) {
    if (!path.empty() && std::all_of(path.begin(), path.end(), PosixSafe)) return std::string(path);
    std::string quoted = "'";
    for (char c : path) {
      if (c == '\'')
        quoted += "'\\''";
      else
        quoted += c;
    }
    return quoted + "'";
  }
  if (!path.empty() && std::all_of(path.begin(), path.end(), CmdSafe)) return std::string(path);
  // A double quote cannot be part of a Windows file name; drop any so the quoting cannot be closed.
  std::string quoted = "\"";
  for (char c : path) {
    if (c != '"') quoted += c;
  }
  return quoted + "\"";
}

std::optional<std::string> StartCommandLine(std::string_view programName, std::string_view procedurePath,
                                            ShellDialect dialect) {
  return WithinLimit(std::string(programName) + " -r " + QuoteForShell(procedurePath, dialect));
}

std::optional<std::string> IdleCommandLine(std::string_view programName) {
  return WithinLimit(std::string(programName) + " -i ");
}

std::string JoinFolderAndName(std::string_view folder, std::string_view name) {
  std::string path(folder);
  const bool endsInSeparator = !path.empty() && (path.back() == '/' || path.back() == '\\');
  if (!endsInSeparator) {
#ifdef _WIN32
    path += '\\';
#else
    path += '/';
#endif
  }
  return path + std::string(name);
}

std::string_view ProgramFileName(std::string_view programName) {
  const std::size_t cut = programName.find_last_of("/\\");
  return cut == std::string_view::npos ? programName : programName.substr(cut + 1);
}

}  // namespace varnok
