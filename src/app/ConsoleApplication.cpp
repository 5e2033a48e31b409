#include "app/ConsoleApplication.h"

#include <exception>

#include "core/ErrorDisplay.h"

namespace varnok {

ConsoleApplication::ConsoleApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The desktop shows the application's name (the X11 window class, the task bar); each window's
  // title is exactly its caption. An empty display name keeps the platform from appending
  // " — Varnok_Omblet" to every title, as it does with a display name (the application name by default).
  setApplicationName(QStringLiteral("Varnok_Omblet"));
  setApplicationDisplayName(QString());
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
