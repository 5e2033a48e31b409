#pragma once
#include <QRect>
#include <QWidget>
#include <span>
#include <cstdint>

#include "testpanel/ArrowIcon.h"
#include "testpanel/DriveAction.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;
class QGroupBox;

namespace varnok {

class InstrumentLink;

// The "TEST" tab: the elevation and azimuth drive panels, the fan scroll bar and the option boxes.
// Every control sends one coded command (the azimuth "Home" two); nothing here keeps state besides
// what the controls show.
class TestPage : public QWidget {
  Q_OBJECT

 public:
  explicit TestPage(InstrumentLink& link, QWidget* parent = nullptr);

  // Sends code 20 (on) or 19 (off) with the mask.
  void SetOptionBit(std::uint32_t mask, bool on);

 public slots:
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  void BitBtn4Click();
  void BitBtn5Click();
  void BitBtn6Click();
  void BitBtn7Click();
  void BitBtn9Click();  // also BitBtn8's click
  void BitBtn10Click();
  void BitBtn11Click();
  void BitBtn12Click();
  void FanChange();
  void OPb2Click();
  void OPb4Click();
  void OPb8Click();
  void OPb10Click();
  void Button5Click();

 private:
  void BuildElevationPanel();
  void BuildAzimuthPanel();
  void BuildFan();
  void BuildOptions();
  QPushButton* AddDriveButton(QWidget* panel, const char* name, const QRect& geometry);
  // One button of a drive panel: an arrow picture, or a caption when it has one.
  struct DrivePlace {
    const char* name;
    QRect geometry;
    ArrowDirection direction;
    const char* caption;
    void (TestPage::*click)();
  };
  void AddDriveButtons(QWidget* panel, std::span<const DrivePlace> places);
  void RunOptionClick(std::size_t box);
  void Drive(DriveButton button);

  InstrumentLink& link_;
  QFrame* elPanel_ = nullptr;
  QFrame* panel10_ = nullptr;
  QScrollBar* fan_ = nullptr;
  QGroupBox* groupBox6_ = nullptr;
  QCheckBox* optionBoxes_[4] = {};
};

}  // namespace varnok
