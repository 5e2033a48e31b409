#include "core/GuardedHandler.h"

#include <exception>

#include "core/ErrorDisplay.h"

namespace varnok {

void ReportHandlerFailure(const std::string& message) { ShowErrorDisplay(message); }

void RunGuarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {  // AppError, the conversion failure, among them
    ReportHandlerFailure(e.what());
  } catch (...) {
    ReportHandlerFailure("Unexpected failure");
  }
}

}  // namespace varnok
