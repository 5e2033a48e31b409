#include "config/ConfigPanel.h"

#include "core/TextConversions.h"

namespace varnok {

CalibrationRow CalibrationTitleRow() {
  CalibrationRow row;
  const std::vector<std::string> titles = SplitCommaList(kCalibrationTitleList);
  for (std::size_t i = 0; i < row.size() && i < titles.size(); ++i) row[i] = titles[i];
  return row;
}

ConfigPanel::ConfigPanel() { FTable[0] = CalibrationTitleRow(); }

}  // namespace varnok
