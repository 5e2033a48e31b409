#include "calibration/CalibrationDisplay.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace varnok {
namespace {

using testing::TempFolder;

// Records what the sequence does to the page, in order.
class RecordingTarget : public CalibrationDisplayTarget {
 public:
  std::optional<std::filesystem::path> selected;
  std::vector<std::string> log;
  std::string memo = "CalMemo";

  void RemoveCharts() override { log.push_back("remove"); }
  std::optional<std::filesystem::path> SelectedFile() const override { return selected; }
  void ErrorBeep() override { log.push_back("beep"); }
  void ClearMemo() override {
    log.push_back("clear");
    memo.clear();
  }
  void SetMemoText(std::shared_ptr<const MemoText> text) override {
    memo = text->All();
    log.push_back("memo");
  }
  void SetStatusText(const std::string& text) override { log.push_back("status " + text); }
  void BuildCharts(CalibrationPoints points) override {
    std::string titles;
    for (const CalibrationColumn& column : points.columns) titles += column.title + "/";
    log.push_back("build " + std::to_string(points.columns.size()) + " " + titles.substr(0, 12));
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
    std::optional<std::filesystem::path> selected;
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
      {"wide_ln2.csv",
       DisplayOutcome::kDisplayed,
       {"remove", "clear", "memo", "build 100 T0/T1/T2/T3/", "hide"},
       true},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.selected = c.selected;
    const std::string name = c.selected ? c.selected->string() : "(none)";
    EXPECT_EQ(DisplaySelectedFile(target, folder.Path()), c.outcome) << name;
    EXPECT_EQ(target.log, c.log) << name;
    if (c.memoHasFile) {
      EXPECT_EQ(target.memo, files.at(name));
    } else if (c.selected) {
      EXPECT_EQ(target.memo, "");  // cleared, nothing loaded
    } else {
      EXPECT_EQ(target.memo, "CalMemo");  // untouched
    }
  }
}

// A refused file and a cancelled reading end like a file that cannot be read: no charts, the memo
// empty, the panel open; the refusal also names the file's size and the memory left.
TEST(DisplaySelectedFile, RefusalAndCancelEndLikeAnUnreadableFile) {
  TempFolder folder;
  const std::string text = "0,0,30,A\r\n1,0,31,2\r\n";
  folder.Write("a_ln2.csv", text);
  struct Case {
    std::uint64_t available;
    bool cancel;
    DisplayOutcome outcome;
    std::vector<std::string> log;
  } const cases[] = {
      {19,
       false,
       DisplayOutcome::kTooLarge,
       {"remove", "clear", "status Too large: 20 bytes, memory available 19 bytes"}},
      {std::uint64_t{1} << 40, true, DisplayOutcome::kCancelled, {"remove", "clear"}},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.selected = "a_ln2.csv";
    const std::optional<std::filesystem::path> file = BeginDisplay(target, folder.Path());
    ASSERT_TRUE(file.has_value());
    CalibrationLoadOptions options;
    options.availableMemory = [&c] { return c.available; };
    const std::atomic<bool> cancel{c.cancel};
    std::atomic<std::uint64_t> bytesRead{0};
    EXPECT_EQ(FinishDisplay(target, LoadCalibrationFile(*file, options, cancel, bytesRead)), c.outcome);
    EXPECT_EQ(target.log, c.log);
    EXPECT_EQ(target.memo, "");
  }
}

}  // namespace
}  // namespace varnok
