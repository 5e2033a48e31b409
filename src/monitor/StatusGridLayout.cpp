#include "monitor/StatusGridLayout.h"

#include <vector>

#include "core/TextConversions.h"

namespace varnok {

std::string StatusGridHeaderList() { return JoinCommaList({"Mesurement", "Value"}); }

std::string StatusGridLabelList() {
  // Some labels hold blanks; the comma list quotes them so that they stay whole when split.
  return JoinCommaList({"Mesurement", "Time:", "Output File(s);",
                        "Status:", "Error Status:", "Rcvr0 TkND:", "Rcvr1 TkND:", "TkBB:", "Tamb:", "RH:",
                        "Pressure:", "Tir:", "Rain:", "LN2 Calibration", "TIP Calibration:"});
}

}  // namespace varnok
