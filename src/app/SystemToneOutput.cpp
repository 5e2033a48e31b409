#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include <QApplication>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>

#include "ToneOutput.h"

namespace varnok {

namespace {

constexpr double kToneHz = 2200.0;
constexpr int kToneMs = 50;
// The longest the tone may hold the caller, device latency included.
constexpr auto kToneBound = std::chrono::milliseconds(400);

QByteArray ToneSamples(const QAudioFormat& format) {
  const int rate = format.sampleRate();
  const int channels = format.channelCount();
  const int frames = rate * kToneMs / 1000;
  const int bytesPerSample = format.bytesPerSample();
  QByteArray data(frames * channels * bytesPerSample, '\0');
  char* out = data.data();
  for (int i = 0; i < frames; ++i) {
    // A short fade at both ends keeps the tone free of clicks.
    const double edge = std::min({1.0, i / (rate * 0.003), (frames - i) / (rate * 0.003)});
    const double v = 0.5 * edge * std::sin(2.0 * std::numbers::pi * kToneHz * i / rate);
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
          *reinterpret_cast<float*>(out) = static_cast<float>(v);
          break;
        default:
          return {};
      }
      out += bytesPerSample;
    }
  }
  return data;
}

class SystemToneOutput final : public ToneOutput {
 public:
  void PlayErrorTone() override {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
      QApplication::beep();
      return;
    }
    QAudioFormat format;
    format.setSampleRate(44100);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) format = device.preferredFormat();
    QByteArray samples = ToneSamples(format);
    if (samples.isEmpty()) {
      QApplication::beep();
      return;
    }
    QBuffer source(&samples);
    source.open(QIODevice::ReadOnly);
    QAudioSink sink(device, format);
    sink.start(&source);
    if (sink.error() != QAudio::NoError) {
      QApplication::beep();
      return;
    }
    // Wait for the tone to end without running the event loop (a timer tick must not start an
    // exchange while one is in flight), but never longer than the bound.
    const auto deadline = std::chrono::steady_clock::now() + kToneBound;
    while (std::chrono::steady_clock::now() < deadline) {
      if (sink.processedUSecs() >= kToneMs * 1000 || sink.error() != QAudio::NoError) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sink.stop();
  }
};

}  // namespace

std::unique_ptr<ToneOutput> MakeSystemToneOutput() { return std::make_unique<SystemToneOutput>(); }

}  // namespace varnok
