#pragma once
// Shared pieces of the main-window tests: a temporary folder, a tone counter, a recorder of the error
// display and stand-ins for the feature pages' controls that the settings file fills.
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
#include <gtest/gtest.h>
#include <unistd.h>

#include "ErrorDisplay.h"
#include "MainWindow.h"
#include "ToneOutput.h"

namespace varnok::test {

namespace fs = std::filesystem;

class CountingTone : public ToneOutput {
 public:
  int count = 0;
  void PlayErrorTone() override { ++count; }
};

// Records what the error display would show instead of opening a message box.
class ErrorRecorder {
 public:
  ErrorRecorder() {
    previous_ = SetErrorDisplaySinkForTesting([this](const std::string& text) { shown.push_back(text); });
  }
  ~ErrorRecorder() { SetErrorDisplaySinkForTesting(std::move(previous_)); }
  std::vector<std::string> shown;

 private:
  ErrorDisplaySink previous_;
};

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() /
            ("varnok-win-" + std::to_string(::getpid()) + "-" +
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

inline void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The controls of the MONITOR and STATUS/CONTROL pages that keep their values in the settings file, as
// those pages name them.
inline void InstallStandInPages(MainWindow& window) {
  auto* wind = new QSpinBox(window.TabMonitor());
  wind->setObjectName(QStringLiteral("Wind"));
  wind->setRange(1, 100000);
  wind->setValue(500);  // the page's own start value, replaced by the stored one
  window.TabMonitor()->layout()->addWidget(wind);
  auto* chartTS = new QLineEdit(QStringLiteral("0.5"), window.TabMonitor());
  chartTS->setObjectName(QStringLiteral("chartTS"));
  window.TabMonitor()->layout()->addWidget(chartTS);
  auto* last = new QCheckBox(window.TabMonitor());
  last->setObjectName(QStringLiteral("Last"));
  window.TabMonitor()->layout()->addWidget(last);
  auto* qxName = new QLineEdit(window.TabStatus());
  qxName->setObjectName(QStringLiteral("QXName"));
  qxName->setVisible(false);
  window.TabStatus()->layout()->addWidget(qxName);
}

template <class T>
T* Find(const QObject& root, const char* name) {
  return root.findChild<T*>(QLatin1String(name));
}

// Runs the event loop until `done` holds or the bound passes.
inline bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > bound.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace varnok::test
