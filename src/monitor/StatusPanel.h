#pragma once
#include <QWidget>

#include "core/Timer1Client.h"
#include "link/InstrumentLink.h"

class QTableWidget;

namespace varnok {

// The status grid of the STATUS/CONTROL page: the instrument's clock and housekeeping readings, which
// the main window's Timer1 refreshes once a second through Timer1Timer.
class StatusPanel : public QWidget, public Timer1Client {
  Q_OBJECT

 public:
  explicit StatusPanel(InstrumentLink& link, QWidget* parent = nullptr);

  QTableWidget* Grid() const { return grid_; }

 public slots:
  // One status poll: does nothing while no instrument is connected.
  void Timer1Timer() override;

 private:
  InstrumentLink& link_;
  QTableWidget* grid_;
};

}  // namespace varnok
