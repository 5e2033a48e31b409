#pragma once
#include <string>
#include <vector>

#include "core/ErrorDisplay.h"

namespace varnok::test {

// Records what the one error display would show instead of opening a message box, for as long as it
// lives.
class ErrorRecorder {
 public:
  ErrorRecorder() {
    previous_ = SetErrorDisplaySinkForTesting([this](const std::string& text) { shown.push_back(text); });
  }
  ~ErrorRecorder() { SetErrorDisplaySinkForTesting(std::move(previous_)); }
  ErrorRecorder(const ErrorRecorder&) = delete;
  ErrorRecorder& operator=(const ErrorRecorder&) = delete;

  std::vector<std::string> shown;

 private:
  ErrorDisplaySink previous_;
};

}  // namespace varnok::test
