#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CalibrationSeries.h"

namespace varnok {

// What "Display Selected Files" does to the calibration page. The page implements it; tests fake it.
class CalibrationDisplayTarget {
 public:
  virtual ~CalibrationDisplayTarget() = default;

  // Removes every chart; may hand back their point storage for reuse (see CalibrationParser).
  virtual std::vector<CalibrationSeries> RemoveCharts() = 0;
  // The name of the entry selected in the file list, if any.
  virtual std::optional<std::string> SelectedFileName() const = 0;
  virtual void ErrorBeep() = 0;
  // Empties the memo and hands back the text it showed, whose memory the next file may be read into.
  virtual std::shared_ptr<std::string> ClearMemo() = 0;
  // The file's text for the memo, which only shows it; shared because the reader parses the same text.
  virtual void SetMemoText(std::shared_ptr<std::string> text) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void BuildCharts(std::vector<CalibrationSeries> series) = 0;
  virtual void HideSelectionPanel() = 0;
};

// Where "Display Selected Files" stopped.
enum class DisplayOutcome {
  kNothingSelected,  // error tone
  kUnreadableFile,   // no message, memo empty
  kNoHeader,         // error tone, memo shows the file
  kNoColumns,        // "max 0", memo shows the file
  kDisplayed,        // charts built, selection panel hidden
};

// "Display Selected Files": removes the previous charts, loads the selected file of `folder` into the
// memo, reads it, reports the column count when the title list ended early, builds one chart per column
// and hides the selection panel. Every early stop leaves the panel open and no charts.
DisplayOutcome DisplaySelectedFile(CalibrationDisplayTarget& target, const std::filesystem::path& folder);

}  // namespace varnok
