#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "calibration/CalibrationFileLoad.h"
#include "calibration/CalibrationPoints.h"
#include "calibration/MemoText.h"

namespace varnok {

// What "Display Selected Files" does to the calibration page. The page implements it; tests fake it.
class CalibrationDisplayTarget {
 public:
  virtual ~CalibrationDisplayTarget() = default;

  // Removes every chart and hands its points back to the system.
  virtual void RemoveCharts() = 0;
  // The entry selected in the file list, if any: the file's own name (the file system's bytes).
  virtual std::optional<std::filesystem::path> SelectedFile() const = 0;
  virtual void ErrorBeep() = 0;
  virtual void ClearMemo() = 0;
  // The displayed file's text for the memo, which only shows it.
  virtual void SetMemoText(std::shared_ptr<const MemoText> text) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void BuildCharts(CalibrationPoints points) = 0;
  virtual void HideSelectionPanel() = 0;
};

// Where "Display Selected Files" stopped.
enum class DisplayOutcome {
  kNothingSelected,  // error tone
  kUnreadableFile,   // no message, memo empty
  kTooLarge,         // the file's size and the memory left in the status text, memo empty
  kCancelled,        // memo empty
  kNoHeader,         // error tone, memo shows the file
  kNoColumns,        // "max 0", memo shows the file
  kDisplayed,        // charts built, selection panel hidden
};

// "Display Selected Files" up to the reading: removes the previous charts and, when an entry is
// selected, clears the memo and gives the file of `folder` to read; otherwise sounds the error tone.
std::optional<std::filesystem::path> BeginDisplay(CalibrationDisplayTarget& target,
                                                  const std::filesystem::path& folder);

// The rest, once the file has been read: the memo gets the text, the column count is reported when the
// title list ended early, one chart per column is built and the selection panel hidden. Every early stop
// leaves the panel open and no charts; a file that could not be read, was refused or whose reading was
// cancelled leaves the memo empty.
DisplayOutcome FinishDisplay(CalibrationDisplayTarget& target, CalibrationLoadResult loaded);

// Both, reading on the calling thread.
DisplayOutcome DisplaySelectedFile(CalibrationDisplayTarget& target, const std::filesystem::path& folder,
                                   const CalibrationLoadOptions& options = {});

}  // namespace varnok
