#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include "app/AboutBox.h"
#include "core/AppError.h"
#include "link/AsioLinkOpener.h"
#include "link/CommandLayer.h"
#include "app/ConsoleApplication.h"
#include "app/DarkPalette.h"
#include "core/ErrorDisplay.h"
#include "app/FeaturePages.h"
#include "link/InstrumentLink.h"
#include "app/MainWindow.h"
#include "core/ProgramOptions.h"
#include "core/SettingsFilePath.h"
#include "link/TraceFileWriter.h"
#include "link/WireTrace.h"

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Reports the first paint of the main window (the start-up benchmark reads the line) and quits.
class FirstPaintProbe : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, [] {
        std::printf("first-shown %lld\n", MonotonicNanoseconds());
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

// Saves a picture of every shown page into `folder`, then closes the window.
void SaveScreenshots(varnok::MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  QTabWidget* pages = window.Pages();
  int saved = 0;
  for (int i = 0; i < pages->count(); ++i) {
    if (!pages->isTabVisible(i)) continue;
    pages->setCurrentIndex(i);
    QCoreApplication::processEvents();
    QString caption = pages->tabText(i).toLower();
    caption.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString file =
        QStringLiteral("%1/page-%2-%3.png").arg(folder).arg(i, 2, 10, QLatin1Char('0')).arg(caption);
    if (window.grab().save(file)) ++saved;
  }
  pages->setCurrentIndex(3);
  // The About box too.
  window.About1Click();
  QCoreApplication::processEvents();
  if (window.AboutWindow()->grab().save(folder + QStringLiteral("/about.png"))) ++saved;
  // And the command console: the one other window the console button shows.
  window.AboutWindow()->close();
  window.SpeedButton1Click();
  QCoreApplication::processEvents();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top != &window && top->isWindow() && top->isVisible() &&
        top->grab().save(folder + QStringLiteral("/console.png"))) {
      ++saved;
    }
  }
  // And the window while the instrument is silent: the simulator is told to leave the next request
  // unanswered, and the picture is taken while the status poll waits for it.
  if (window.ConnectDown()) {
    std::vector<char> reply(varnok::kTextReplySize, '\0');
    if (window.Link().SendTextCommand("sim fault noreply", reply.data()) > 0) {
      QTimer::singleShot(900, &window, [&window, folder, &saved] {
        if (window.grab().save(folder + QStringLiteral("/waiting-for-the-instrument.png"))) ++saved;
      });
      window.Link().Handlers().Run([&window] { window.Timer1Timer(); });
    }
  }
  std::printf("Saved %d pictures in %s\n", saved, qPrintable(QDir(folder).absolutePath()));
  std::fflush(stdout);
  window.close();
}

}  // namespace

int main(int argc, char** argv) {
  varnok::ConsoleApplication app(argc, argv);
  try {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const varnok::ProgramOptions options = varnok::ParseProgramOptions(arguments);
    if (options.darkPalette) {
      QApplication::setStyle(QStringLiteral("Fusion"));
      QApplication::setPalette(varnok::DarkPalette());
    }

    varnok::MainWindowSetup setup;
    setup.settingsPath =
        varnok::SettingsFilePath(*varnok::MakeSystemSettingsLocation(), options.settingsName);
    setup.installPages = varnok::InstallFeaturePages;

    // The wire trace, only when asked for: the console keeps no log file otherwise. The lines are
    // written by the writer's own thread; the transports feed the bytes from the link thread.
    std::unique_ptr<varnok::TraceFileWriter> traceWriter;
    std::unique_ptr<varnok::WireTrace> wireTrace;
    std::unique_ptr<varnok::AsioLinkOpener> tracedOpener;
    if (options.trace) {
      traceWriter = varnok::TraceFileWriter::Open(*options.trace);
      if (!traceWriter) throw varnok::AppError("Cannot open file " + *options.trace);
      wireTrace = std::make_unique<varnok::WireTrace>(
          [writer = traceWriter.get()](const std::string& line) { writer->Write(line); });
      tracedOpener = std::make_unique<varnok::AsioLinkOpener>(setup.timeouts, wireTrace->TransportTrace());
      setup.opener = tracedOpener.get();
    }

    app.setQuitOnLastWindowClosed(false);
    varnok::MainWindow window(std::move(setup));
    if (wireTrace) window.Commands().SetWireTrace(wireTrace.get());
    QObject::connect(&window, &varnok::MainWindow::Closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    if (options.address) {
      window.SetAddressText(*options.address);
    }
    FirstPaintProbe probe;
    if (options.startupProbe) window.installEventFilter(&probe);
    window.show();

    if (options.connect || options.screenshots) {
      QTimer::singleShot(200, &window, [&window, options] {
        if (options.connect) window.ClickConnectBtn();
        if (!options.screenshots) return;
        // Once connected, give the status poll a few ticks and the monitor chart a few channels to
        // sample, so the pictures show live readings.
        const bool live = options.connect && window.ConnectDown();
        if (live) window.StartPictureReadings();
        QTimer::singleShot(live ? 3000 : 0, &window, [&window, options] {
          window.StopPictureReadings();
          SaveScreenshots(window, QString::fromStdString(*options.screenshots));
        });
      });
    }
    return app.exec();
  } catch (const std::exception& e) {
    // A failure while starting ends the program after it has been shown.
    varnok::ShowErrorDisplay(e.what());
    return 1;
  }
}
