#include <QApplication>
#include <QCoreApplication>
#include <QLibrary>

#include "ToneOutput.h"

namespace varnok {

namespace {

// Loads the audio module on the first tone; the system's alert sound where it or an audio output is
// missing.
class SystemToneOutput final : public ToneOutput {
 public:
  void PlayErrorTone() override {
    if (!tried_) {
      tried_ = true;
      QLibrary module(QCoreApplication::applicationDirPath() + QStringLiteral("/varnok_tone"));
      play_ = reinterpret_cast<int (*)()>(module.resolve("VarnokPlayErrorTone"));
    }
    if (play_ && play_() != 0) return;
    QApplication::beep();
  }

 private:
  bool tried_ = false;
  int (*play_)() = nullptr;
};

}  // namespace

std::unique_ptr<ToneOutput> MakeSystemToneOutput() { return std::make_unique<SystemToneOutput>(); }

}  // namespace varnok
