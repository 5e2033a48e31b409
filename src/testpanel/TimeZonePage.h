#pragma once
#include <QWidget>
#include <functional>
#include <string>

namespace varnok {

class InstrumentLink;

// The system configuration page whose tab is never shown: date, time and zone controls. Only
// "Set Zone" does anything, and it sends nothing to the instrument: it reports in the status bar
// whether the measurement program runs.
class TimeZonePage : public QWidget {
  Q_OBJECT

 public:
  explicit TimeZonePage(QWidget* parent = nullptr);

  // What "Set Zone" needs from the main window: where the status text goes, the measurement
  // program's name (read at each click) and the running-process check.
  struct ZoneCheckBinding {
    InstrumentLink* link = nullptr;
    std::function<std::string()> programName;
    std::function<bool(const std::string&)> isProcessRunning;
  };
  void BindZoneCheck(ZoneCheckBinding binding);

 public slots:
  void BitBtn18Click();

 private:
  ZoneCheckBinding binding_;
};

}  // namespace varnok
