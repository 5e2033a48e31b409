#include <QFile>
#include <QPixmap>

#include <gtest/gtest.h>

#include "tests/config/ConfigFixture.h"
#include "config/ConfigurationPage.h"
#include "tests/support/FakeInstrumentLink.h"

namespace varnok {
namespace {

// Renders the tab after opening the sample file into <build>/tests/config/configuration-page.png, to
// look at.
TEST(ConfigurationPageScreenshot, AfterOpeningTheSampleFile) {
  testing::FakeInstrumentLink link;
  ConfigurationPage page(link);
  page.resize(1280, 860);
  page.OpenConfigurationFile(QString::fromStdString(test::FixturePath("SAMPLE.CFG")));
  page.show();
  const QPixmap shot = page.grab();
  ASSERT_FALSE(shot.isNull());
  const QString path = QStringLiteral(VARNOK_SHOT_DIR "/configuration-page.png");
  ASSERT_TRUE(shot.save(path));
  EXPECT_TRUE(QFile::exists(path));
}

}  // namespace
}  // namespace varnok
