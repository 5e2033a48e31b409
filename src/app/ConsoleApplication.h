#pragma once
#include <QApplication>

namespace varnok {

// The program's application object. An exception that escapes a handler (a conversion failure, a
// file that cannot be opened or written) ends that handler and is shown by the error display; the
// program goes on.
class ConsoleApplication : public QApplication {
 public:
  ConsoleApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace varnok
