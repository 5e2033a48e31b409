#include "FeaturePages.h"

#include <QLayout>
#include <QLineEdit>

#include "MainWindow.h"
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
  auto* status = new StatusPanel(link, window.TabStatus());
  window.TabStatus()->layout()->addWidget(status);
  window.SetTimer1Hook([status] { status->Timer1Timer(); });

  auto* monitor = new MonitorPage(link, window.TabMonitor());
  QObject::connect(monitor, &MonitorPage::SecondPanelText, &window,
                   [&window](const QString& text) { window.SetPanelText(1, text.toStdString()); });
  window.TabMonitor()->layout()->addWidget(monitor);

  auto* calibration = new CalibrationPage(link, window.WorkingFolder(), window.TabCalibrate());
  // Reading a large file shows the same busy indication as a wait for the instrument.
  QObject::connect(calibration, &CalibrationPage::workStarted, &window, [&window] { window.BeginWaiting(); });
  QObject::connect(calibration, &CalibrationPage::workFinished, &window, [&window] { window.EndWaiting(); });
  window.TabCalibrate()->layout()->addWidget(calibration);

  window.TabSheet1()->layout()->addWidget(new TestPage(link, window.TabSheet1()));

  auto* zone = new TimeZonePage(window.TabHiddent());
  auto* qxName = procedures->findChild<QLineEdit*>("QXName");
  zone->BindZoneCheck({&link,
                       [qxName] { return qxName ? qxName->text().toStdString() : std::string("QXC.exe"); },
                       [](const std::string& name) { return IsProcessRunning(name); }});
  window.TabHiddent()->layout()->addWidget(zone);

  // The command console: a window of its own, created hidden, living as long as the main window.
  auto* console = new CommandConsole(link, window.Settings(), &window);
  window.SetSpeedButton1Hook([console] {
    console->show();
    console->raise();
    console->activateWindow();
  });
  // The program may end while the console is open: its history and place are written as if it had
  // been closed, so no remembered command is lost.
  window.SetBeforeSettingsSavedHook([console](SettingsFile&) { console->WriteSettingsIfOpen(); });
}

}  // namespace varnok
