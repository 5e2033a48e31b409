#include <stdexcept>
#include <string>
#include <vector>

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/AppError.h"
#include "tests/support/ErrorRecorder.h"
#include "tests/support/FakeInstrumentLink.h"
#include "core/GuardedHandler.h"
#include "link/GatedHandler.h"

namespace varnok::test {
namespace {

// A page with handlers as the feature pages have them.
struct Page {
  std::vector<std::string> ran;
  void Plain() { ran.push_back("plain"); }
  void Failing() { throw AppError("'1,5' is not a valid floating point value"); }
  void WithIndex(int index) { ran.push_back("index " + std::to_string(index)); }
};

TEST(GuardedHandler, EveryFailureEndsOnlyItsHandlerAndIsShownOnce) {
  const struct {
    const char* what;
    std::function<void()> fail;
    std::string shown;
  } cases[] = {
      {"conversion failure", [] { throw AppError("'x' is not a valid integer value"); },
       "'x' is not a valid integer value."},
      {"other library failure", [] { throw std::runtime_error("Cannot open file a.cal"); },
       "Cannot open file a.cal."},
      {"not an exception class", [] { throw 7; }, "Unexpected failure."},
  };
  for (const auto& c : cases) {
    ErrorRecorder errors;
    QPushButton button;
    bool laterSlotRan = false;
    QObject::connect(&button, &QPushButton::clicked, &button, Guarded(c.fail));
    QObject::connect(&button, &QPushButton::clicked, &button, Guarded([&] { laterSlotRan = true; }));
    EXPECT_NO_THROW(button.click()) << c.what;
    EXPECT_EQ(errors.shown, std::vector<std::string>{c.shown}) << c.what;
    EXPECT_TRUE(laterSlotRan) << c.what << ": the signal's next slot still runs";
  }
}

TEST(GuardedHandler, SignalArgumentsReachTheHandlerAsFarAsItTakesThem) {
  ErrorRecorder errors;
  Page page;
  QComboBox box;
  box.addItems({"a", "b", "c"});
  QPushButton button;
  QObject::connect(&box, &QComboBox::activated, &box, Guarded(&page, &Page::WithIndex));
  QObject::connect(&box, &QComboBox::activated, &box,
                   Guarded([&](int index) { page.WithIndex(index * 10); }));
  // clicked(bool) reaches handlers that take nothing.
  QObject::connect(&button, &QPushButton::clicked, &button, Guarded(&page, &Page::Plain));
  QObject::connect(&button, &QPushButton::clicked, &button, Guarded([&] { page.ran.push_back("lambda"); }));
  emit box.activated(2);
  button.click();
  EXPECT_EQ(page.ran, (std::vector<std::string>{"index 2", "index 20", "plain", "lambda"}));
  EXPECT_TRUE(errors.shown.empty());
}

// A link handler goes through the gate inside the guard. Whether or not the gate reports failures
// itself, the failure is shown once, and the gate runs the next handler.
TEST(GuardedHandler, GatedHandlerFailureIsShownOnceWithOrWithoutTheGatesReport) {
  for (bool gateReports : {true, false}) {
    ErrorRecorder errors;
    testing::FakeInstrumentLink link;
    if (gateReports) link.Handlers().SetFailureReport(ReportHandlerFailure);
    Page page;
    QPushButton failing;
    QPushButton plain;
    QObject::connect(&failing, &QPushButton::clicked, &failing, Guarded(Gated(link, &page, &Page::Failing)));
    QObject::connect(&plain, &QPushButton::clicked, &plain, Guarded(Gated(link, &page, &Page::Plain)));
    EXPECT_NO_THROW(failing.click());
    plain.click();
    EXPECT_EQ(errors.shown, std::vector<std::string>{"'1,5' is not a valid floating point value."})
        << gateReports;
    EXPECT_EQ(page.ran, std::vector<std::string>{"plain"}) << gateReports;
    EXPECT_FALSE(link.Handlers().Busy());
  }
}

TEST(GuardedHandler, TimerTickThroughTheGateIsGuarded) {
  ErrorRecorder errors;
  testing::FakeInstrumentLink link;
  Page page;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &timer, Guarded(GatedTick(link, &timer, &page, &Page::Failing)));
  timer.start(0);
  for (int i = 0; i < 100 && errors.shown.empty(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  EXPECT_EQ(errors.shown, std::vector<std::string>{"'1,5' is not a valid floating point value."});
}

}  // namespace
}  // namespace varnok::test
