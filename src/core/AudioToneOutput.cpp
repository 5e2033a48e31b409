// The error tone on the default audio output (Qt Multimedia). Built as a module that the program loads
// on the first tone, so that the sound libraries do not slow the start.
#include <chrono>
#include <thread>

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>

#include "core/ErrorToneWave.h"
#include "core/ToneOutput.h"

namespace varnok {

namespace {

// The longest the tone may hold the caller, device latency included.
constexpr auto kToneBound = std::chrono::milliseconds(400);

QByteArray Samples(const QAudioFormat& format) {
  const std::vector<float> wave = ErrorToneWave(format.sampleRate());
  const int channels = format.channelCount();
  const int bytes = format.bytesPerSample();
  QByteArray data(static_cast<qsizetype>(wave.size()) * channels * bytes, '\0');
  char* out = data.data();
  for (float v : wave) {
    for (int c = 0; c < channels; ++c) {
      switch (format.sampleFormat()) {
        case QAudioFormat::UInt8:
          *reinterpret_cast<quint8*>(out) = static_cast<quint8>(128 + v * 127);
          break;
        case QAudioFormat::Int16:
          *reinterpret_cast<qint16*>(out) = static_cast<qint16>(v * 32767);
          break;
        case QAudioFormat::Int32:
          *reinterpret_cast<qint32*>(out) = static_cast<qint32>(v * 2147483647.0);
          break;
        case QAudioFormat::Float:
          *reinterpret_cast<float*>(out) = v;
          break;
        default:
          return {};
      }
      out += bytes;
    }
  }
  return data;
}

class AudioToneOutput final : public ToneOutput {
 public:
  // Returns false when there is no audio output; the caller then uses the alert sound.
  bool Play() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) format = device.preferredFormat();
    QByteArray samples = Samples(format);
    if (samples.isEmpty()) return false;
    QBuffer source(&samples);
    source.open(QIODevice::ReadOnly);
    QAudioSink sink(device, format);
    sink.start(&source);
    if (sink.error() != QAudio::NoError) return false;
    // Wait for the tone to end without running the event loop (a timer tick must not start an exchange
    // while one is in flight), but never longer than the bound.
    const auto deadline = std::chrono::steady_clock::now() + kToneBound;
    while (std::chrono::steady_clock::now() < deadline) {
      if (sink.processedUSecs() >= kErrorToneMs * 1000LL || sink.error() != QAudio::NoError) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sink.stop();
    return true;
  }
  void PlayErrorTone() override { Play(); }
};

}  // namespace

}  // namespace varnok

// The module's entry: plays one tone, returns 0 when there was no audio output to play it on.
extern "C" __attribute__((visibility("default"))) int VarnokPlayErrorTone() {
  static varnok::AudioToneOutput output;
  return output.Play() ? 1 : 0;
}
