#pragma once
#include <string>
#include <vector>

#include "procedures/CommandLines.h"
#include "procedures/ProcessList.h"

namespace varnok {

// What "Start" looks at, as plain values.
struct StartFacts {
  std::string programName;              // the measurement program's name (QXName)
  bool programExists = false;           // a file of that name exists in the working folder
  std::string procedurePath;            // the selected procedure file's full path, empty when none
  std::vector<ProcessEntry> processes;  // the running processes
};

// Either the refusal to show (and nothing runs) or the command line to run.
struct StartDecision {
  std::string refusal;
  std::string commandLine;
  bool Refused() const { return !refusal.empty(); }
};

// The checks of "Start" in their order, each stopping at its refusal: the program must exist, a
// procedure file must be selected, the program must not be running; then the line must fit.
StartDecision CheckStart(const StartFacts& facts, ShellDialect dialect = kNativeShellDialect);

}  // namespace varnok
