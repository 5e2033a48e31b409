#include "testpanel/TimeZonePage.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "link/InstrumentLink.h"
#include "testpanel/TimeZoneLists.h"
#include "testpanel/ZoneCheck.h"
#include "core/GuardedHandler.h"

namespace varnok {
namespace {

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& geometry, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  if (bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

QComboBox* AddList(QWidget* parent, const char* name, const std::vector<std::string>& items, const char* text,
                   const QRect& geometry) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& item : items) list->addItem(QString::fromStdString(item));
  list->setCurrentIndex(list->findText(QString::fromLatin1(text), Qt::MatchExactly));
  list->setEditText(QString::fromLatin1(text));
  list->setGeometry(geometry);
  return list;
}

QLineEdit* AddEdit(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
  auto* edit = new QLineEdit(QString::fromLatin1(text), parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  return edit;
}

QPushButton* AddButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TimeZonePage::TimeZonePage(QWidget* parent) : QWidget(parent) {
  setObjectName("TimeZonePage");  // the tab sheet holding it is TabHiddent
  setWindowTitle("TabHiddent");

  AddLabel(this, "System Configuration ", QRect(16, 12, 260, 20), true);

  AddLabel(this, "Date:", QRect(16, 48, 50, 22), false);
  AddList(this, "DTMonth", MonthItems(), kInitialMonth, QRect(70, 48, 70, 22));
  AddList(this, "DTDay", {}, kInitialDay, QRect(146, 48, 50, 22));
  AddList(this, "DTYear", {}, kInitialYear, QRect(202, 48, 64, 22));
  AddButton(this, "BitBtn16", "Set Time", QRect(280, 46, 90, 26));  // no action

  AddEdit(this, "Edit1", "19", QRect(70, 84, 32, 22));
  AddLabel(this, ":", QRect(105, 84, 8, 22), true);
  AddEdit(this, "Edit3", "55", QRect(116, 84, 32, 22));
  AddLabel(this, ":", QRect(151, 84, 8, 22), true);
  AddEdit(this, "Edit2", "40", QRect(162, 84, 32, 22));
  AddButton(this, "BitBtn17", "Cancel", QRect(280, 82, 90, 26));  // no action

  AddLabel(this, "Zone", QRect(16, 120, 50, 22), false);
  AddList(this, "ComboBox5", TimeZoneItems(), kInitialZone, QRect(70, 120, 196, 22));
  QPushButton* setZone = AddButton(this, "BitBtn18", "Set Zone", QRect(280, 118, 90, 26));
  connect(setZone, &QPushButton::clicked, this, Guarded(this, &TimeZonePage::BitBtn18Click));
}

void TimeZonePage::BindZoneCheck(ZoneCheckBinding binding) { binding_ = std::move(binding); }

void TimeZonePage::BitBtn18Click() {
  const std::string name = binding_.programName ? binding_.programName() : std::string("QXC.exe");
  const std::string text = SetZoneCheck(name, binding_.isProcessRunning);
  if (binding_.link != nullptr) binding_.link->SetStatusText(text);
}

}  // namespace varnok
