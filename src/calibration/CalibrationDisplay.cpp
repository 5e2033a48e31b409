#include "calibration/CalibrationDisplay.h"

namespace varnok {

std::optional<std::filesystem::path> BeginDisplay(CalibrationDisplayTarget& target,
                                                  const std::filesystem::path& folder) {
  target.RemoveCharts();
  const std::optional<std::filesystem::path> name = target.SelectedFile();
  if (!name) {
    target.ErrorBeep();
    return std::nullopt;
  }
  target.ClearMemo();
  return folder / *name;
}

DisplayOutcome FinishDisplay(CalibrationDisplayTarget& target, CalibrationLoadResult loaded) {
  switch (loaded.end) {
    case LoadEnd::kUnreadable:
      return DisplayOutcome::kUnreadableFile;
    case LoadEnd::kCancelled:
      return DisplayOutcome::kCancelled;
    case LoadEnd::kTooLarge:
      target.SetStatusText(TooLargeText(loaded.fileBytes, loaded.availableBytes));
      return DisplayOutcome::kTooLarge;
    case LoadEnd::kRead:
      break;
  }
  target.SetMemoText(std::move(loaded.text));
  CalibrationParseResult& result = loaded.parse;
  if (!result.headerFound) {
    target.ErrorBeep();
    return DisplayOutcome::kNoHeader;
  }
  if (result.columnsEndedAtEmptyField) {
    target.SetStatusText("max " + std::to_string(result.ColumnCount()));
  }
  if (result.ColumnCount() == 0) return DisplayOutcome::kNoColumns;

  target.BuildCharts(std::move(result.points));
  target.HideSelectionPanel();
  return DisplayOutcome::kDisplayed;
}

DisplayOutcome DisplaySelectedFile(CalibrationDisplayTarget& target, const std::filesystem::path& folder,
                                   const CalibrationLoadOptions& options) {
  const std::optional<std::filesystem::path> file = BeginDisplay(target, folder);
  if (!file) return DisplayOutcome::kNothingSelected;
  const std::atomic<bool> cancel{false};
  std::atomic<std::uint64_t> bytesRead{0};
  return FinishDisplay(target, LoadCalibrationFile(*file, options, cancel, bytesRead));
}

}  // namespace varnok
