#include "monitor/ChannelTable.h"

namespace varnok {

const std::vector<std::string>& MonitorChannelNames() {
  static const std::vector<std::string> names = {
      "PS 24 V",  "PS  12 V", "PS 8 V", "PS 5V D", "PS 5V A", "PS 3.3 V",   "CH6 NA", "Rain",
      "Bar A V1", "V2  NA",   "V3  NA", "Fan",     "BB Fan",  "IRT Analog", "GND",    "GND",
      "NA",       "BB T0",    "BB T1",  "IRT T2",  "IRT T3",  "NA"};
  return names;
}

}  // namespace varnok
