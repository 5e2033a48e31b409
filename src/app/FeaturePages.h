#pragma once

namespace varnok {

class MainWindow;

// Puts every feature page into its tab of the main window and wires the hooks (Timer1, the console
// button, the console's settings section). Called while the main window is created, after the settings
// have been read.
void InstallFeaturePages(MainWindow& window);

}  // namespace varnok
