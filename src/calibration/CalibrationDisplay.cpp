#include "CalibrationDisplay.h"

#include "CalibrationFileReader.h"
#include "CalibrationParser.h"

namespace varnok {

DisplayOutcome DisplaySelectedFile(CalibrationDisplayTarget& target, const std::filesystem::path& folder) {
  std::vector<CalibrationSeries> spare = target.RemoveCharts();

  const std::optional<std::string> name = target.SelectedFileName();
  if (!name) {
    target.ErrorBeep();
    return DisplayOutcome::kNothingSelected;
  }

  std::string buffer;
  if (std::shared_ptr<std::string> previous = target.ClearMemo(); previous && previous.use_count() == 1) {
    buffer = std::move(*previous);
  }
  std::optional<std::string> content = ReadWholeFile(folder / *name, std::move(buffer));
  if (!content) return DisplayOutcome::kUnreadableFile;
  auto text = std::make_shared<std::string>(std::move(*content));
  target.SetMemoText(text);

  CalibrationParseResult result = ParseCalibrationText(*text, std::move(spare));
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
