#include "core/ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>

#include "core/AppError.h"

namespace varnok {

namespace {
ErrorDisplaySink& Sink() {
  static ErrorDisplaySink sink;
  return sink;
}
}  // namespace

void ShowErrorDisplay(const std::string& message) {
  const std::string text = ErrorDisplayText(message);
  if (Sink()) {
    Sink()(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Varnok_Omblet"), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

ErrorDisplaySink SetErrorDisplaySinkForTesting(ErrorDisplaySink sink) {
  ErrorDisplaySink previous = std::move(Sink());
  Sink() = std::move(sink);
  return previous;
}

}  // namespace varnok
