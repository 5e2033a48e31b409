#include "CalibrationDisplay.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

// Records what the sequence does to the page, in order.
class RecordingTarget : public CalibrationDisplayTarget {
 public:
  std::optional<std::string> selected;
  std::vector<std::string> log;
  std::string memo = "CalMemo";

  std::vector<CalibrationSeries> RemoveCharts() override {
    log.push_back("remove");
    // Storage of an earlier display, with stale points that must not show up again.
    return {CalibrationSeries{"old", {1, 2, 3}, {4, 5, 6}}};
  }
  std::optional<std::string> SelectedFileName() const override { return selected; }
  void ErrorBeep() override { log.push_back("beep"); }
  std::shared_ptr<std::string> ClearMemo() override {
    log.push_back("clear");
    // The earlier text comes back for reuse; its content must not leak into the next file's text.
    auto previous = std::make_shared<std::string>(std::move(memo));
    previous->append(5000, 'z');
    memo.clear();
    return previous;
  }
  void SetMemoText(std::shared_ptr<std::string> text) override {
    memo = *text;
    log.push_back("memo");
  }
  void SetStatusText(const std::string& text) override { log.push_back("status " + text); }
  void BuildCharts(std::vector<CalibrationSeries> series) override {
    std::string titles;
    for (const CalibrationSeries& s : series) titles += s.title + "/";
    log.push_back("build " + std::to_string(series.size()) + " " + titles.substr(0, 12));
  }
  void HideSelectionPanel() override { log.push_back("hide"); }
};

std::string Titles(int count) {
  std::string header = "0,0,30";
  for (int k = 0; k < count; ++k) header += ",T" + std::to_string(k);
  return header;
}

TEST(DisplaySelectedFile, StopsAtEachStepWithItsToneAndText) {
  TempFolder folder;
  const std::map<std::string, std::string> files = {
      {"nohead_ln2.csv", "1,0,31,5\r\n"},
      {"empty_ln2.csv", ""},
      {"notitle_ln2.csv", "0,0,30\r\n1,0,31,5\r\n"},
      {"two_ln2.csv", "0,0,30,Tamb,Tcold,,Third\r\n1,0,31,5,6,7\r\n"},
      {"wide_ln2.csv", Titles(120) + "\r\n1,0,31,5\r\n"},
  };
  for (const auto& [name, content] : files) folder.Write(name, content);
  std::filesystem::create_directory(folder.Path() / "dir_ln2.csv");

  struct Case {
    std::optional<std::string> selected;
    DisplayOutcome outcome;
    std::vector<std::string> log;
    bool memoHasFile;
  } const cases[] = {
      {std::nullopt, DisplayOutcome::kNothingSelected, {"remove", "beep"}, false},
      {"gone_ln2.csv", DisplayOutcome::kUnreadableFile, {"remove", "clear"}, false},
      {"dir_ln2.csv", DisplayOutcome::kUnreadableFile, {"remove", "clear"}, false},
      {"empty_ln2.csv", DisplayOutcome::kNoHeader, {"remove", "clear", "memo", "beep"}, true},
      {"nohead_ln2.csv", DisplayOutcome::kNoHeader, {"remove", "clear", "memo", "beep"}, true},
      {"notitle_ln2.csv", DisplayOutcome::kNoColumns, {"remove", "clear", "memo", "status max 0"}, true},
      {"two_ln2.csv",
       DisplayOutcome::kDisplayed,
       {"remove", "clear", "memo", "status max 2", "build 2 Tamb/Tcold/", "hide"},
       true},
      {"wide_ln2.csv", DisplayOutcome::kDisplayed, {"remove", "clear", "memo", "build 100 T0/T1/T2/T3/", "hide"}, true},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.selected = c.selected;
    EXPECT_EQ(DisplaySelectedFile(target, folder.Path()), c.outcome) << c.selected.value_or("(none)");
    EXPECT_EQ(target.log, c.log) << c.selected.value_or("(none)");
    if (c.memoHasFile) {
      EXPECT_EQ(target.memo, files.at(*c.selected));
    } else if (c.selected) {
      EXPECT_EQ(target.memo, "");  // cleared, nothing loaded
    } else {
      EXPECT_EQ(target.memo, "CalMemo");  // untouched
    }
  }
}

}  // namespace
}  // namespace varnok
