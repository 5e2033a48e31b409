#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varnok {

// The command interpreter a command line is written for: the POSIX shell (/bin/sh -c) or the
// Windows command interpreter (cmd /c).
enum class ShellDialect { Posix, Cmd };

#ifdef _WIN32
inline constexpr ShellDialect kNativeShellDialect = ShellDialect::Cmd;
#else
inline constexpr ShellDialect kNativeShellDialect = ShellDialect::Posix;
#endif

// A command line is held in 512 bytes including its terminating zero.
inline constexpr std::size_t kCommandLineLimit = 511;

// The text that refuses a command line longer than kCommandLineLimit; nothing runs then.
std::string CommandLineTooLongMessage(std::size_t length);

// The procedure path as one argument for the interpreter: unchanged when it holds only characters
// the interpreter leaves alone, otherwise quoted so that it stays one argument and nothing in it
// runs (POSIX: single quotes, an inner ' written as '\''; Windows: double quotes).
std::string QuoteForShell(std::string_view path, ShellDialect dialect);

// "<program> -r <procedure path>"; std::nullopt when the line would exceed kCommandLineLimit.
std::optional<std::string> StartCommandLine(std::string_view programName, std::string_view procedurePath,
                                            ShellDialect dialect = kNativeShellDialect);

// "<program> -i " (ending in a blank); std::nullopt when the line would exceed kCommandLineLimit.
std::optional<std::string> IdleCommandLine(std::string_view programName);

// Writes the stop request, the file STOP in the working folder.
inline constexpr const char* kStopCommandLine = "echo stop > STOP";

// The full path of a procedure file: the folder and the name joined by a separator, none being added
// when the folder already ends in one.
std::string JoinFolderAndName(std::string_view folder, std::string_view name);

// The file name part of a program name (what follows the last '/' or '\').
std::string_view ProgramFileName(std::string_view programName);

}  // namespace varnok
