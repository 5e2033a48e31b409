#include <future>

#include <QApplication>
#include <QCoreApplication>
#include <QLibrary>

#include "core/ToneOutput.h"

namespace varnok {

namespace {

// Loads the audio module on the first tone; the system's alert sound where it or an audio output is
// missing.
// The module is loaded on a thread of its own as soon as the window exists, so that neither the start
// nor the first tone waits for the sound libraries.
class SystemToneOutput final : public ToneOutput {
 public:
  SystemToneOutput()
      : loading_(std::async(std::launch::async,
                            [path = QCoreApplication::applicationDirPath() + QStringLiteral("/varnok_tone")] {
                              QLibrary module(path);
                              return reinterpret_cast<int (*)()>(module.resolve("VarnokPlayErrorTone"));
                            })) {}
  ~SystemToneOutput() override {
    if (loading_.valid()) loading_.wait();
  }

  void PlayErrorTone() override {
    if (loading_.valid()) play_ = loading_.get();
    if (play_ && play_() != 0) return;
    QApplication::beep();
  }

 private:
  std::future<int (*)()> loading_;
  int (*play_)() = nullptr;
};

}  // namespace

std::unique_ptr<ToneOutput> MakeSystemToneOutput() { return std::make_unique<SystemToneOutput>(); }

}  // namespace varnok
