// Every handler the program connects goes through the guard: a failure thrown in a slot never
// leaves it. This scans the program's sources (and checks the scan itself on a table of cases).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ConnectScan.h"

namespace varnok::testing {
namespace {

TEST(HandlerGuardCheck, ScanFindsTheSlotOfEveryFormOfConnect) {
  const struct {
    const char* source;
    std::vector<std::string> slots;
  } cases[] = {
      {"connect(a, &A::clicked, this, &Page::Click);", {"&Page::Click"}},
      {"QObject::connect(a, &A::clicked, [this] { Click(); });", {"[this] { Click(); }"}},
      {"connect(a, &A::clicked, this, Guarded([this](int i) { f(i, g(1, 2)); }), Qt::QueuedConnection);",
       {"Guarded([this](int i) { f(i, g(1, 2)); })"}},
      {"connect(a,\n        &A::clicked, this,\n        Guarded(this, &Page::Click));",
       {"Guarded(this, &Page::Click)"}},
      // Comments, texts and other objects' connect calls are no calls of Qt's connect.
      {"// connect(a, &A::clicked, this, &Page::Click);\n/* connect(b, s, this, &P::C); */", {}},
      {"label->setText(\"connect(a, b, c)\"); socket.connect(endpoint); io->connect(x, y, z);", {}},
      {"async_connect(endpoint, handler); disconnect(a, nullptr, this, nullptr);", {}},
      // A function queued to a page runs as a handler too.
      {"QMetaObject::invokeMethod(this, &Page::Ended, Qt::QueuedConnection);", {"&Page::Ended"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> slots;
    for (const ConnectCall& call : ConnectCalls(c.source)) slots.push_back(call.slot);
    EXPECT_EQ(slots, c.slots) << c.source;
  }
}

TEST(HandlerGuardCheck, OnlyGuardedHandlersAndQtsOwnSlotsPass) {
  const struct {
    const char* slot;
    bool passes;
  } cases[] = {
      {"Guarded(this, &MonitorPage::Button8Click)", true},
      {"Guarded(Gated(link_, this, &TestPage::Button5Click))", true},
      {"Guarded([this] { Click(); })", true},
      {"&QStackedWidget::setCurrentIndex", true},
      {"qOverload<>(&QWidget::update)", true},
      {"&MonitorPage::Button8Click", false},  // a page's own member, bare
      {"[this] { Click(); }", false},
      {"Gated(link_, this, &TestPage::Button5Click)", false},  // gated but not guarded
      {"tool.handler", false},
      {"SLOT(Click())", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SlotIsGuarded(c.slot), c.passes) << c.slot;
}

TEST(HandlerGuardCheck, NoConnectInTheProgramBindsAnUnguardedHandler) {
  const std::filesystem::path sources = VARNOK_PROGRAM_SOURCES;
  ASSERT_TRUE(std::filesystem::is_directory(sources)) << sources;
  int scanned = 0;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(sources)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::vector<ConnectCall> calls = ConnectCalls(text.str());
    if (!calls.empty()) files.push_back(entry.path().filename().string());
    for (const ConnectCall& call : calls) {
      ++scanned;
      EXPECT_TRUE(SlotIsGuarded(call.slot))
          << entry.path().string() << ":" << call.line << " connects '" << call.slot << "' without Guarded";
    }
  }
  // The scan has seen the program's windows: it cannot pass by finding nothing.
  EXPECT_GE(scanned, 50);
  for (const char* window :
       {"MainWindow.cpp", "MonitorPage.cpp", "CommandConsole.cpp", "ProcedurePanel.cpp",
        "CalibrationPage.cpp", "ConfigurationPage.cpp", "TestPage.cpp", "FeaturePages.cpp"}) {
    EXPECT_NE(std::find(files.begin(), files.end(), window), files.end()) << window << " not scanned";
  }
}

}  // namespace
}  // namespace varnok::testing
