#include "app/FeaturePages.h"

#include <QLayout>

#include "app/MainWindow.h"
#include "core/GuardedHandler.h"
#include "calibration/CalibrationPage.h"
#include "config/ConfigurationPage.h"
#include "console/CommandConsole.h"
#include "monitor/MonitorPage.h"
#include "monitor/StatusPanel.h"
#include "procedures/ProcedurePanel.h"
#include "procedures/ProcessList.h"
#include "testpanel/TestPage.h"
#include "testpanel/TimeZonePage.h"

namespace varnok {

void InstallFeaturePages(MainWindow& window) {
  InstrumentLink& link = window.Link();

  window.TabConfiguration()->layout()->addWidget(new ConfigurationPage(link, window.TabConfiguration()));

  // STATUS/CONTROL: the procedure panel on the left, the status grid filling the rest.
  auto* procedures = new ProcedurePanel(window.WorkingFolder(), window.TabStatus());
  window.TabStatus()->layout()->addWidget(procedures);
  window.AddShellPage(*procedures);
  auto* status = new StatusPanel(link, window.TabStatus());
  window.TabStatus()->layout()->addWidget(status);
  window.SetTimer1Client(*status);

  auto* monitor = new MonitorPage(link, window.TabMonitor());
  QObject::connect(monitor, &MonitorPage::SecondPanelText, &window,
                   Guarded([&window](const QString& text) { window.SetPanelText(1, text.toStdString()); }));
  window.TabMonitor()->layout()->addWidget(monitor);
  window.AddShellPage(*monitor);

  auto* calibration = new CalibrationPage(link, window.WorkingFolder(), window.TabCalibrate());
  // Reading a large file shows the same busy indication as a wait for the instrument.
  QObject::connect(calibration, &CalibrationPage::workStarted, &window,
                   Guarded([&window] { window.BeginWaiting(); }));
  QObject::connect(calibration, &CalibrationPage::workFinished, &window,
                   Guarded([&window] { window.EndWaiting(); }));
  window.TabCalibrate()->layout()->addWidget(calibration);

  window.TabSheet1()->layout()->addWidget(new TestPage(link, window.TabSheet1()));

  auto* zone = new TimeZonePage(window.TabHiddent());
  zone->BindZoneCheck({&link, [procedures] { return procedures->ProgramName(); },
                       [](const std::string& name) { return IsProcessRunning(name); }});
  window.TabHiddent()->layout()->addWidget(zone);

  // The command console: a window of its own, created hidden, living as long as the main window.
  // The program may end while the console is open: its history and place are written as if it had
  // been closed, so no remembered command is lost.
  auto* console = new CommandConsole(link, window.Settings(), &window);
  window.AddShellPage(*console);
  window.SetSpeedButton1Hook([console] {
    console->show();
    console->raise();
    console->activateWindow();
  });
}

}  // namespace varnok
