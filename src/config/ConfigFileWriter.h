#pragma once
#include <string>
#include <vector>

#include "config/ConfigPanel.h"

namespace varnok {

// A configuration file holding the panel, in the instrument's own layout: the comment lines (each
// given without its "#"), then "TIP CONFIGURATION:", "BLOWER SETTINGS:", "CHANNEL CALIBRATION
// BLOCK:" (the two dates, the integration parameters, the tolerance, the number of frequencies, the
// column titles and rows 1..35), "COEF:" and "USER CORRECTIONS:". A value line is the value padded
// with blanks to 16 characters, then ":" and its comment (a longer value is followed by one blank);
// the dates are padded to 20 characters, the part of their line the parser takes; table lines are
// the 13 cells joined by commas; every line ends in CR LF. ParseConfiguration
// reads it back to the same field texts as long as no value holds a ":" or a line end.
std::string WriteConfigurationText(const ConfigPanel& panel, const std::vector<std::string>& comments);

// "value           :comment" as the instrument's files lay a value line out.
std::string ConfigValueLine(const std::string& value, const std::string& comment);

}  // namespace varnok
