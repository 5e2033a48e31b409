#include "procedures/StartCheck.h"

namespace varnok {

StartDecision CheckStart(const StartFacts& facts, ShellDialect dialect) {
  StartDecision d;
  if (!facts.programExists) {
    d.refusal = "Application " + facts.programName + " Does not exist";
  } else if (facts.procedurePath.empty()) {
    d.refusal = "Please select procedure file";
  } else if (IsProcessRunning(facts.programName, facts.processes)) {
    d.refusal = facts.programName + " Already running";
  } else if (auto line = StartCommandLine(facts.programName, facts.procedurePath, dialect)) {
    d.commandLine = std::move(*line);
  } else {
    d.refusal = CommandLineTooLongMessage(facts.programName.size() + 4 +
                                          QuoteForShell(facts.procedurePath, dialect).size());
  }
  return d;
}

}  // namespace varnok
