#include "CalibrationDisplay.h"

#include "CalibrationFileReader.h"
#include "CalibrationParser.h"

namespace varnok {

DisplayOutcome DisplaySelectedFile(CalibrationDisplayTarget& target, const std::filesystem::path& folder) {
  target.RemoveCharts();

  const std::optional<std::string> name = target.SelectedFileName();
  if (!name) {
    target.ErrorBeep();
    return DisplayOutcome::kNothingSelected;
  }

  target.ClearMemo();
  std::optional<std::string> content = ReadWholeFile(folder / *name);
  if (!content) return DisplayOutcome::kUnreadableFile;
  auto text = std::make_shared<const std::string>(std::move(*content));
  target.SetMemoText(text);

  CalibrationParseResult result = ParseCalibrationText(*text);
  if (!result.headerFound) {
    target.ErrorBeep();
    return DisplayOutcome::kNoHeader;
  }
  if (result.columnsEndedAtEmptyField) {
    target.SetStatusText("max " + std::to_string(result.ColumnCount()));
  }
  if (result.ColumnCount() == 0) return DisplayOutcome::kNoColumns;

  target.BuildCharts(std::move(result.series));
  target.HideSelectionPanel();
  return DisplayOutcome::kDisplayed;
}

}  // namespace varnok
