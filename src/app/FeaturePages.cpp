#include "FeaturePages.h"

#include "MainWindow.h"

namespace varnok {

void InstallFeaturePages(MainWindow& window) {
  // Each page goes into the layout of its tab, for example:
  //   window.TabConfiguration()->layout()->addWidget(new ConfigurationPage(window.Link(), window.TabConfiguration()));
  //   auto* status = new StatusPanel(window.Link(), window.TabStatus());
  //   window.SetTimer1Hook([status] { status->Timer1Timer(); });
  //   window.SetSpeedButton1Hook([&window] { ... show the command console ... });
  //   window.SetBeforeSettingsSavedHook([console](SettingsFile& file) { ... write section Form2 ... });
  (void)window;
}

}  // namespace varnok
