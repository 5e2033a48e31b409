// Renders the console as a technician sees it after a few commands and keeps the picture in the
// build folder (console-window.png) for a look by eye.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "tests/support/FakeInstrumentLink.h"
#include "tests/support/TempFolder.h"
#include "core/SettingsFile.h"
#include "console/CommandConsole.h"

namespace varnok {
namespace {

TEST(ConsoleScreenshot, WindowRendersAtItsStoredSize) {
  testing::TempFolder folder;
  SettingsFile settings(folder.Path() / "omblet.ini");
  testing::FakeInstrumentLink link;
  CommandConsole console(link, settings);
  link.Script({40, "Software version 3.21\r\nBuild 2012-07-12\r\n"});
  link.Script({-1, ""});
  console.SetAlertSound([] {});
  auto* box = console.findChild<QComboBox*>("IP");
  box->setEditText("software");
  console.exeBtnClick();
  box->setEditText("status all");
  console.exeBtnClick();
  console.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&console, 5000));

  const QPixmap shot = console.grab();
  EXPECT_EQ(shot.size(), QSize(600, 258));
  const QString file = QString(VARNOK_SHOT_DIR) + "/console-window.png";
  ASSERT_TRUE(shot.save(file));
  // The picture holds the drawn window, not a blank area.
  const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(image.isNull());
  const QRgb corner = image.pixel(0, 0);
  bool varied = false;
  for (int y = 0; y < image.height() && !varied; y += 3)
    for (int x = 0; x < image.width() && !varied; x += 3) varied = image.pixel(x, y) != corner;
  EXPECT_TRUE(varied);
  console.close();
}

}  // namespace
}  // namespace varnok
