#include "link/GatedHandler.h"
#include "testpanel/TestPage.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <span>

#include "link/InstrumentLink.h"
#include "testpanel/ArrowIcon.h"
#include "testpanel/FanCommand.h"
#include "testpanel/OptionBits.h"
#include "core/GuardedHandler.h"

namespace varnok {
namespace {

// Drive panels are squares; buttons sit on a three-column grid inside them.
constexpr int kPanelSize = 217;
constexpr int kButtonWidth = 52;
constexpr int kButtonHeight = 36;
constexpr int kLeftColumn = 22;
constexpr int kCentreColumn = (kPanelSize - kButtonWidth) / 2;
constexpr int kRightColumn = kPanelSize - kLeftColumn - kButtonWidth;

QRect Cell(int x, int y) { return QRect(x, y, kButtonWidth, kButtonHeight); }

QFrame* MakePanel(QWidget* parent, const char* name, const char* labelName, const char* caption,
                  const QRect& geometry) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setLineWidth(1);
  panel->setGeometry(geometry);
  auto* label = new QLabel(QString::fromLatin1(caption), panel);
  label->setObjectName(labelName);
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setGeometry(4, 6, kPanelSize - 8, 18);
  return panel;
}

// A scroll bar takes no keys of its own; the fan's moves as a Windows scroll bar does: Right and Down
// a small step up, Left and Up a small step down, Page Down and Page Up a large step, Home and End to
// the ends. Each move runs FanChange like any other.
class FanKeys : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (bar == nullptr || event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (key->key()) {
      case Qt::Key_Right:
      case Qt::Key_Down:
        action = QAbstractSlider::SliderSingleStepAdd;
        break;
      case Qt::Key_Left:
      case Qt::Key_Up:
        action = QAbstractSlider::SliderSingleStepSub;
        break;
      case Qt::Key_PageDown:
        action = QAbstractSlider::SliderPageStepAdd;
        break;
      case Qt::Key_PageUp:
        action = QAbstractSlider::SliderPageStepSub;
        break;
      case Qt::Key_Home:
        action = QAbstractSlider::SliderToMinimum;
        break;
      case Qt::Key_End:
        action = QAbstractSlider::SliderToMaximum;
        break;
      default:
        return false;
    }
    bar->triggerAction(action);
    return true;
  }
};

}  // namespace

TestPage::TestPage(InstrumentLink& link, QWidget* parent) : QWidget(parent), link_(link) {
  setObjectName("TestPage");  // the tab sheet holding it is TabSheet1
  setWindowTitle("TEST");
  BuildElevationPanel();
  BuildAzimuthPanel();
  BuildFan();
  BuildOptions();
  setMinimumSize(730, 310);
}

QPushButton* TestPage::AddDriveButton(QWidget* panel, const char* name, const QRect& geometry) {
  auto* button = new QPushButton(panel);
  button->setObjectName(name);
  button->setGeometry(geometry);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

void TestPage::AddDriveButtons(QWidget* panel, std::span<const DrivePlace> places) {
  const QColor arrowColour = palette().color(QPalette::ButtonText);
  for (const DrivePlace& place : places) {
    QPushButton* button = AddDriveButton(panel, place.name, place.geometry);
    if (place.caption) {
      button->setText(place.caption);
    } else {
      button->setIcon(ArrowIcon(place.direction, arrowColour));
      button->setIconSize(QSize(24, 24));
    }
    connect(button, &QPushButton::clicked, this, Guarded(Gated(link_, this, place.click)));
  }
}

void TestPage::BuildElevationPanel() {
  elPanel_ =
      MakePanel(this, "ELPanel", "Label3", "Move Elevation Drive", QRect(16, 16, kPanelSize, kPanelSize));
  const std::array<DrivePlace, 6> places{{
      {"BitBtn1", Cell(kCentreColumn, 30), ArrowDirection::Up, nullptr, &TestPage::BitBtn1Click},
      {"BitBtn3", Cell(kLeftColumn, 74), ArrowDirection::Left, nullptr, &TestPage::BitBtn3Click},
      {"BitBtn2", Cell(kRightColumn, 74), ArrowDirection::Right, nullptr, &TestPage::BitBtn2Click},
      {"BitBtn4", Cell(kCentreColumn, 118), ArrowDirection::Down, nullptr, &TestPage::BitBtn4Click},
      {"BitBtn5", Cell(kCentreColumn, 74), ArrowDirection::Up, "Home", &TestPage::BitBtn5Click},
      {"BitBtn6", Cell(kCentreColumn, 170), ArrowDirection::Up, "Reset", &TestPage::BitBtn6Click},
  }};
  AddDriveButtons(elPanel_, places);
}

void TestPage::BuildAzimuthPanel() {
  panel10_ = MakePanel(this, "Panel10", "Label4", "Move Azimuth Drive",
                       QRect(16 + kPanelSize + 16, 16, kPanelSize, kPanelSize));
  constexpr int kUpperRow = 58;
  constexpr int kLowerRow = 134;
  const std::array<DrivePlace, 6> places{{
      {"BitBtn9", Cell(kLeftColumn, kUpperRow), ArrowDirection::Left, nullptr, &TestPage::BitBtn9Click},
      // The upper right arrow shares the upper left arrow's action.
      {"BitBtn8", Cell(kRightColumn, kUpperRow), ArrowDirection::Right, nullptr, &TestPage::BitBtn9Click},
      {"BitBtn10", Cell(kLeftColumn, kLowerRow), ArrowDirection::Left, nullptr, &TestPage::BitBtn10Click},
      {"BitBtn7", Cell(kRightColumn, kLowerRow), ArrowDirection::Right, nullptr, &TestPage::BitBtn7Click},
      {"BitBtn11", Cell(kCentreColumn, kUpperRow), ArrowDirection::Up, "Home", &TestPage::BitBtn11Click},
      {"BitBtn12", Cell(kCentreColumn, kLowerRow), ArrowDirection::Up, "Reset", &TestPage::BitBtn12Click},
  }};
  AddDriveButtons(panel10_, places);
}

void TestPage::BuildFan() {
  auto* label = new QLabel("Fan Speed", this);
  label->setObjectName("FanLabel");
  label->setGeometry(16, 16 + kPanelSize + 14, 120, 18);
  fan_ = new QScrollBar(Qt::Horizontal, this);
  fan_->setObjectName("Fan");
  fan_->setGeometry(16, 16 + kPanelSize + 34, 2 * kPanelSize + 16, 18);
  fan_->setRange(kFanMinimum, kFanMaximum);
  fan_->setSingleStep(kFanSmallChange);
  fan_->setPageStep(kFanLargeChange);
  fan_->setValue(0);
  // A scroll bar takes no focus by default; the fan's is moved by the keys as well (arrows, Page Up,
  // Page Down, Home, End), so it takes focus on a click and on Tab.
  fan_->setFocusPolicy(Qt::StrongFocus);
  fan_->installEventFilter(new FanKeys(fan_));
  // Connected after the initial position is set: nothing is sent at start-up.
  connect(fan_, &QScrollBar::valueChanged, this, Guarded(Gated(link_, this, &TestPage::FanChange)));
}

void TestPage::BuildOptions() {
  groupBox6_ = new QGroupBox("Set Options", this);
  groupBox6_->setObjectName("GroupBox6");
  groupBox6_->setGeometry(16 + 2 * (kPanelSize + 16), 16, 230, 168);
  using Click = void (TestPage::*)();
  const std::array<Click, 4> clicks{&TestPage::OPb2Click, &TestPage::OPb4Click, &TestPage::OPb8Click,
                                    &TestPage::OPb10Click};
  for (std::size_t i = 0; i < kOptionBoxes.size(); ++i) {
    auto* box = new QCheckBox(QString::fromLatin1(kOptionBoxes[i].caption), groupBox6_);
    box->setObjectName(kOptionBoxes[i].name);
    box->setGeometry(12, 26 + static_cast<int>(i) * 26, 210, 20);
    box->setChecked(false);
    // clicked: the user's clicks only; "Refresh" runs the click action itself.
    connect(box, &QCheckBox::clicked, this, Guarded(Gated(link_, this, clicks[i])));
    optionBoxes_[i] = box;
  }
  auto* refresh = new QPushButton("Refresh", groupBox6_);
  refresh->setObjectName("Button5");
  refresh->setGeometry(12, 26 + 4 * 26 + 4, 80, 26);
  connect(refresh, &QPushButton::clicked, this, Guarded(Gated(link_, this, &TestPage::Button5Click)));
}

void TestPage::Drive(DriveButton button) { RunDriveAction(link_, DriveButtonAction(button)); }

void TestPage::BitBtn1Click() { Drive(DriveButton::ElevationUp); }
void TestPage::BitBtn2Click() { Drive(DriveButton::ElevationRight); }
void TestPage::BitBtn3Click() { Drive(DriveButton::ElevationLeft); }
void TestPage::BitBtn4Click() { Drive(DriveButton::ElevationDown); }
void TestPage::BitBtn5Click() { Drive(DriveButton::ElevationHome); }
void TestPage::BitBtn6Click() { Drive(DriveButton::ElevationReset); }
void TestPage::BitBtn7Click() { Drive(DriveButton::AzimuthLowerRight); }
void TestPage::BitBtn9Click() { Drive(DriveButton::AzimuthUpperLeft); }
void TestPage::BitBtn10Click() { Drive(DriveButton::AzimuthLowerLeft); }
void TestPage::BitBtn11Click() { Drive(DriveButton::AzimuthHome); }
void TestPage::BitBtn12Click() { Drive(DriveButton::AzimuthReset); }

void TestPage::FanChange() { SendPanelCommand(link_, FanSpeedCommand(fan_->value())); }

void TestPage::SetOptionBit(std::uint32_t mask, bool on) {
  SendPanelCommand(link_, SetOptionBitCommand(mask, on));
}

void TestPage::RunOptionClick(std::size_t box) {
  SetOptionBit(kOptionBoxes[box].mask, optionBoxes_[box]->isChecked());
}

void TestPage::OPb2Click() { RunOptionClick(0); }
void TestPage::OPb4Click() { RunOptionClick(1); }
void TestPage::OPb8Click() { RunOptionClick(2); }
void TestPage::OPb10Click() { RunOptionClick(3); }

void TestPage::Button5Click() {
  std::array<std::uint8_t, kBinaryDataSize> buffer{};
  const int result = SendPanelCommand(link_, ReadOptionBitsCommand(), buffer.data());
  const std::optional<OptionStates> reported = DecodeOptionReply(result, buffer.data());
  if (!reported) return;  // fewer than two reply bytes: the boxes keep their state

  OptionStates shown{};
  for (std::size_t i = 0; i < shown.size(); ++i) shown[i] = optionBoxes_[i]->isChecked();
  // Setting a box counts as clicking it: each changed box sends its own command, in box order.
  for (const OptionChange& change : RefreshChanges(shown, *reported)) {
    optionBoxes_[change.box]->setChecked(change.checked);
    RunOptionClick(change.box);
  }
}

}  // namespace varnok
