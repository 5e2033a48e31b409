#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <QMetaObject>
#include <QLineEdit>
#include <QListWidget>

#include "AboutBox.h"
#include "AppError.h"
#include "AsioLinkOpener.h"
#include "CommandLayer.h"
#include "ConsoleApplication.h"
#include "DarkPalette.h"
#include "ErrorDisplay.h"
#include "FeaturePages.h"
#include "InstrumentLink.h"
#include "MainWindow.h"
#include "ProgramOptions.h"
#include "SettingsFilePath.h"
#include "TraceFileWriter.h"
#include "WireTrace.h"

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

// Picks five housekeeping channels on the MONITOR page and samples them ten times a second.
// Returns the period text the technician had, to be put back before the settings are written.
QString StartMonitorDemo(varnok::MainWindow& window) {
  auto* list = window.TabMonitor()->findChild<QListWidget*>(QStringLiteral("ListBox1"));
  auto* periodEdit = window.TabMonitor()->findChild<QLineEdit*>(QStringLiteral("chartTS"));
  auto* plot = window.TabMonitor()->findChild<QAbstractButton*>(QStringLiteral("PlotBtn"));
  if (!list || !periodEdit || !plot) return {};
  QObject* page = list;
  while (page && page->metaObject()->indexOfMethod("Draw1Click()") < 0) page = page->parent();
  if (!page) return {};
  for (int row : {0, 1, 2, 17, 18}) {
    if (row < list->count()) list->item(row)->setSelected(true);
  }
  QMetaObject::invokeMethod(page, "Draw1Click");
  const QString period = periodEdit->text();
  periodEdit->setText(QStringLiteral("0.1"));
  plot->click();
  return period;
}

void StopMonitorDemo(varnok::MainWindow& window, const QString& period) {
  if (auto* periodEdit = window.TabMonitor()->findChild<QLineEdit*>(QStringLiteral("chartTS"))) {
    periodEdit->setText(period);
  }
}

// Saves a picture of every shown page into `folder`, then closes the window.
void SaveScreenshots(varnok::MainWindow& window, const QString& folder) {
  QDir().mkpath(folder);
  auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
  int saved = 0;
  for (int i = 0; i < pages->count(); ++i) {
    if (!pages->isTabVisible(i)) continue;
    pages->setCurrentIndex(i);
    QCoreApplication::processEvents();
    QString caption = pages->tabText(i).toLower();
    caption.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char(' '), QLatin1Char('-'));
    const QString file = QStringLiteral("%1/page-%2-%3.png").arg(folder).arg(i, 2, 10, QLatin1Char('0')).arg(caption);
    if (window.grab().save(file)) ++saved;
  }
  pages->setCurrentIndex(3);
  // The About box too.
  window.findChild<QAction*>(QStringLiteral("About1"))->trigger();
  QCoreApplication::processEvents();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == QLatin1String("AboutBox") && top->grab().save(folder + QStringLiteral("/about.png"))) ++saved;
  }
  // And the command console.
  if (auto* consoleButton = window.findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"))) {
    consoleButton->click();
    QCoreApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top->objectName() == QLatin1String("Form2") && top->isVisible() &&
          top->grab().save(folder + QStringLiteral("/console.png"))) {
        ++saved;
      }
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
    setup.settingsPath = varnok::SettingsFilePath(*varnok::MakeSystemSettingsLocation(), options.settingsName);
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
    QObject::connect(&window, &varnok::MainWindow::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    if (options.address) {
      window.findChild<QComboBox*>(QStringLiteral("IP"))->setEditText(QString::fromStdString(*options.address));
    }
    FirstPaintProbe probe;
    if (options.startupProbe) window.installEventFilter(&probe);
    window.show();

    if (options.connect || options.screenshots) {
      QTimer::singleShot(200, &window, [&window, options] {
        if (options.connect) window.findChild<QAbstractButton*>(QStringLiteral("ConnectBtn"))->click();
        if (!options.screenshots) return;
        // Once connected, give the status poll a few ticks and the monitor chart a few channels to
        // sample, so the pictures show live readings.
        const bool live = options.connect && window.ConnectDown();
        QString period;
        if (live) period = StartMonitorDemo(window);
        QTimer::singleShot(live ? 3000 : 0, &window, [&window, options, period] {
          if (!period.isNull()) StopMonitorDemo(window, period);
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
