#pragma once
// Shared pieces of the main-window tests: a temporary folder, a tone counter, and a stand-in for the
// feature pages that keep values in the settings file.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/ErrorRecorder.h"
#include "app/MainWindow.h"
#include "core/ShellPage.h"
#include "core/ToneOutput.h"

namespace varnok::test {

namespace fs = std::filesystem;

class CountingTone : public ToneOutput {
 public:
  int count = 0;
  void PlayErrorTone() override { ++count; }
};

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("varnok-win-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

inline void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The controls of the MONITOR and STATUS/CONTROL pages that keep their values in the settings file,
// named as those pages name them, on one stand-in page handed to the window as the pages are.
class StandInPage : public QWidget, public ShellPage {
 public:
  explicit StandInPage(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    wind = new QSpinBox(this);
    wind->setObjectName(QStringLiteral("Wind"));
    wind->setRange(1, 100000);
    wind->setValue(500);  // the page's own start value, replaced by the stored one
    column->addWidget(wind);
    chartTS = new QLineEdit(QStringLiteral("0.5"), this);
    chartTS->setObjectName(QStringLiteral("chartTS"));
    column->addWidget(chartTS);
    last = new QCheckBox(this);
    last->setObjectName(QStringLiteral("Last"));
    column->addWidget(last);
    qxName = new QLineEdit(this);
    qxName->setObjectName(QStringLiteral("QXName"));
    qxName->setVisible(false);
    column->addWidget(qxName);
  }
  void ShowSettings(const MainWindowSettings& stored) override {
    wind->setValue(stored.chartWindow);
    chartTS->setText(QString::fromStdString(stored.chartTimer));
    last->setChecked(stored.chartLast);
    qxName->setText(QString::fromStdString(stored.qxName));
  }
  void TakeSettings(MainWindowSettings& settings) const override {
    settings.chartWindow = wind->value();
    settings.chartTimer = chartTS->text().toStdString();
    settings.chartLast = last->isChecked();
    settings.qxName = qxName->text().toStdString();
  }
  QSpinBox* wind;
  QLineEdit* chartTS;
  QCheckBox* last;
  QLineEdit* qxName;
};

inline void InstallStandInPages(MainWindow& window) {
  auto* page = new StandInPage(window.TabMonitor());
  window.TabMonitor()->layout()->addWidget(page);
  window.AddShellPage(*page);
}

template <class T>
T* Find(const QObject& root, const char* name) {
  return root.findChild<T*>(QLatin1String(name));
}

// Runs the event loop until `done` holds or the bound passes.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds bound = std::chrono::seconds(10)) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > bound.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace varnok::test
