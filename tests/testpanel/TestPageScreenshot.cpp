// Renders the TEST tab and the system configuration page offscreen into PNG files, to look at.
// Usage: testpanel_screenshot <output folder>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QScrollBar>
#include <cstdio>

#include "tests/support/FakeInstrumentLink.h"
#include "testpanel/TestPage.h"
#include "testpanel/TimeZonePage.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

  varnok::testing::FakeInstrumentLink link;
  varnok::TestPage page(link);
  page.resize(page.minimumSize());
  page.findChild<QScrollBar*>("Fan")->setValue(1500);
  page.findChild<QCheckBox*>("OPb4")->setChecked(true);
  page.show();
  const QString testShot = out.filePath("testpanel-test-page.png");
  if (!page.grab().save(testShot)) return 1;

  varnok::TimeZonePage zone;
  zone.resize(400, 170);
  zone.show();
  const QString zoneShot = out.filePath("testpanel-zone-page.png");
  if (!zone.grab().save(zoneShot)) return 1;
  std::printf("%s\n%s\n", qPrintable(testShot), qPrintable(zoneShot));
  return 0;
}
