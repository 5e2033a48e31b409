// Renders the procedure panel with a few procedure files and one selected, and keeps the picture
// in the build folder (procedure-panel.png) for a look by eye.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/support/TempFolder.h"
#include "procedures/ProcedurePanel.h"

namespace varnok {
namespace {

TEST(ProcedureScreenshot, PanelShowsListAndSelectedProcedure) {
  testing::TempFolder folder;
  folder.Write("normal.prc", "; normal operation\r\nscan 22.235 31.4\r\ntip 5\r\nrepeat\r\n");
  folder.Write("ln2cal.prc", "ln2 start\r\n");
  ProcedurePanel panel(folder.Path());
  panel.resize(300, 520);
  panel.findChild<QListWidget*>("FileListBox1")->setCurrentRow(1);
  ASSERT_EQ(panel.findChild<QPlainTextEdit*>("ProcMemo")->toPlainText(),
            "; normal operation\nscan 22.235 31.4\ntip 5\nrepeat");
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel, 5000));
  const QPixmap shot = panel.grab();
  EXPECT_EQ(shot.size(), QSize(300, 520));
  EXPECT_TRUE(shot.save(QString(VARNOK_SHOT_DIR) + "/procedure-panel.png"));
}

}  // namespace
}  // namespace varnok
