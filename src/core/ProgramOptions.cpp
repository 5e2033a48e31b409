#include "core/ProgramOptions.h"

#include "core/AppError.h"

namespace varnok {

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
  ProgramOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) throw AppError("Option " + a + " needs a value");
      return arguments[++i];
    };
    if (a == "--address") {
      options.address = value();
    } else if (a == "--connect") {
      options.connect = true;
    } else if (a == "--screenshots") {
      options.screenshots = value();
    } else if (a == "--trace") {
      options.trace = value();
    } else if (a == "--startup-probe") {
      options.startupProbe = true;
    } else if (a == "--dark-palette") {
      options.darkPalette = true;
    } else if (a.rfind("--", 0) == 0) {
      throw AppError("Unknown option " + a);
    } else if (!options.settingsName) {
      options.settingsName = a;
    }
  }
  return options;
}

}  // namespace varnok
