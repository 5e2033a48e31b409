#pragma once
#include <string>

#include "monitor/SamplingModel.h"

namespace varnok {

// The monitor chart's numbers as tab-separated text for the clipboard, so that a paste into a
// spreadsheet gives the data: a header row ("Sample", then each series' title), then one row per
// sample number in ascending order, the sample number first and each series' value as charted
// (offsets already subtracted) or an empty cell where that series has no point. A series whose
// offset is not zero says so in its title cell: "Rain (offset 0.25 subtracted)". Numbers use the
// full stop and as many digits as they need to be read back exactly. Lines end in "\n".
std::string ChartDataText(const SamplingModel& model);

}  // namespace varnok
