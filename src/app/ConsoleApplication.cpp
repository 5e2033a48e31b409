#include "ConsoleApplication.h"

#include <exception>

#include "ErrorDisplay.h"

namespace varnok {

ConsoleApplication::ConsoleApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Varnok_Omblet"));
  setApplicationDisplayName(QStringLiteral("Varnok_Omblet"));
}

bool ConsoleApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowErrorDisplay(e.what());
  } catch (...) {
    ShowErrorDisplay("Unexpected failure");
  }
  return false;
}

}  // namespace varnok
