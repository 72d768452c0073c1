#include "audio/ui/playback.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cstring>

#include "audio/chart_render.h"
#include "view/status_line.h"

namespace beatloom {

namespace {

constexpr int kFallbackRate = 44100;
constexpr int kTickMilliseconds = 20;
// Small enough that a play is heard at once, large enough not to stutter.
constexpr int kBufferMilliseconds = 60;
constexpr size_t kChunkFrames = 4096;

}  // namespace

// The sound device pulls the mix from here. readData runs the mixer into a
// buffer made beforehand: nothing is allocated, locked or read from a file
// while the device waits.
class MixerDevice : public QIODevice {
 public:
  MixerDevice(Mixer& mixer, QObject* parent) : QIODevice(parent), mixer_(mixer), chunk_(kChunkFrames * 2) {}
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override {
    return static_cast<qint64>(kChunkFrames * kFrameBytes) + QIODevice::bytesAvailable();
  }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    size_t frames = static_cast<size_t>(std::max<qint64>(maxSize, 0)) / kFrameBytes;
    qint64 written = 0;
    while (frames > 0) {
      const size_t n = std::min(frames, kChunkFrames);
      mixer_.Render(chunk_.data(), n);
      std::memcpy(data + written, chunk_.data(), n * kFrameBytes);
      written += static_cast<qint64>(n * kFrameBytes);
      frames -= n;
    }
    return written;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  static constexpr size_t kFrameBytes = 2 * sizeof(float);
  Mixer& mixer_;
  std::vector<float> chunk_;
};

Playback::Playback(ChartSession& session, PlaybackHooks hooks, QObject* parent)
    : QObject(parent), session_(session), hooks_(std::move(hooks)) {
  timer_ = new QTimer(this);
  timer_->setInterval(kTickMilliseconds);
  connect(timer_, &QTimer::timeout, this, &Playback::Tick);
  listener_ = session_.AddListener([this](const ChartNotice& notice) {
    if (ChartChanged(notice) && playing_) Stop();
  });
}

Playback::~Playback() {
  session_.RemoveListener(listener_);
  if (loader_.joinable()) loader_.join();
  if (sink_) sink_->stop();
}

bool Playback::EnsureOutput() {
  if (bank_) return sink_ != nullptr;
  // The device is asked only now: a window that never plays never opens the
  // sound system.
  const QAudioDevice output = silent_ ? QAudioDevice() : QMediaDevices::defaultAudioOutput();
  const int preferred = output.isNull() ? 0 : output.preferredFormat().sampleRate();
  rate_ = preferred > 0 ? preferred : kFallbackRate;
  bank_ = std::make_unique<SoundBank>(rate_);
  mixer_ = std::make_unique<Mixer>(rate_);
  QAudioFormat format;
  format.setSampleRate(rate_);
  format.setChannelCount(2);
  format.setSampleFormat(QAudioFormat::Float);
  if (output.isNull() || !output.isFormatSupported(format)) {
    silentNotice_ = true;
    return false;
  }
  device_ = new MixerDevice(*mixer_, this);
  device_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(output, format, this);
  sink_->setBufferSize(rate_ * 2 * static_cast<int>(sizeof(float)) * kBufferMilliseconds / 1000);
  return true;
}

void Playback::PlayFrom(int measure) {
  Stop();
  EnsureOutput();
  if (!loader_.joinable()) {
    const std::string folder = QFile::encodeName(hooks_.chartFolder()).toStdString();
    std::vector<SoundSource> sources = FindChartSounds(session_.Doc(), folder);
    toDecode_ = bank_->ToDecode(sources);
    if (toDecode_ == 0) return Start(measure);
    decoded_ = 0;
    loaded_ = false;
    loadProblems_.clear();
    loader_ = std::thread([this, sources = std::move(sources)] {
      bank_->Load(sources, loadProblems_, &decoded_);
      loaded_.store(true, std::memory_order_release);
    });
  }
  // The play starts when the decoding has ended.
  pendingMeasure_ = measure;
  Tick();
  timer_->start();
}

void Playback::Start(int measure) {
  const Document& doc = session_.Doc();
  std::vector<std::string> problems;
  const std::string folder = QFile::encodeName(hooks_.chartFolder()).toStdString();
  const std::shared_ptr<const MixProgram> program = MakeMixProgram(doc, folder, {measure, -1}, *bank_, problems);
  Report(problems);
  timing_ = ChartTiming(doc);
  startSeconds_ = static_cast<double>(program->startFrame) / rate_;
  endSeconds_ = static_cast<double>(ProgramEndFrame(*program)) / rate_;
  mixer_->Start(program);
  if (sink_) {
    sink_->start(device_);
    // A device that is there but refuses to open (busy, gone) plays as none.
    if (sink_->error() != QAudio::NoError) silentNotice_ = true;
  }
  playing_ = true;
  clock_.start();
  hooks_.status(QString());
  Tick();
  timer_->start();
}

void Playback::Stop() {
  // A decoding under way goes on (the timer collects it): what it decodes is
  // kept for the next play.
  pendingMeasure_ = -1;
  if (!loader_.joinable()) timer_->stop();
  if (!playing_) return;
  playing_ = false;
  silentNotice_ = false;
  mixer_->Stop();
  if (sink_) sink_->stop();
  hooks_.showLine(-1);
  hooks_.status(QString());
}

void Playback::Tick() {
  if (loader_.joinable()) {
    if (loaded_.load(std::memory_order_acquire)) {
      loader_.join();
      Report(loadProblems_);
      const int measure = pendingMeasure_;
      pendingMeasure_ = -1;
      if (measure >= 0) return Start(measure);
      timer_->stop();
      hooks_.status(QString());
      return;
    }
    if (pendingMeasure_ >= 0)
      hooks_.status(QStringLiteral("音声を読み込んでいます: %1 / %2").arg(decoded_.load()).arg(toDecode_));
    return;
  }
  if (!playing_) return;
  const double seconds = startSeconds_ + clock_.nsecsElapsed() / 1e9;
  if (seconds > endSeconds_) return Stop();
  const int pos = timing_.PosAt(seconds);
  hooks_.showLine(pos);
  hooks_.keepInView(pos);
  QString text = QStringLiteral("再生中 %1").arg(QString::fromStdString(TimeText(seconds)));
  // Said during the first play only: it holds for the whole session.
  if (silentNotice_) text += QStringLiteral("（音声出力なし: 無音で再生しています）");
  hooks_.status(text);
}

void Playback::PreviewObject(int index) {
  const Document& doc = session_.Doc();
  // The bank is the decoding thread's while it runs.
  if (loader_.joinable() || index < 0 || index > doc.ObjLast()) return;
  const TBmsObject& o = doc.ObjList[static_cast<size_t>(index)];
  // Hidden notes too: the author wants to hear what was written.
  const TBmsObject shown{o.Lane, o.Pos, o.Value, 0, 0};
  if (!SoundsInPlay(shown) || o.Value >= doc.wav.size() || doc.wav[o.Value].empty()) return;
  EnsureOutput();
  const std::string folder = QFile::encodeName(hooks_.chartFolder()).toStdString();
  const std::vector<SoundSource> sources = {FindChartSound(doc, folder, o.Value)};
  std::vector<std::string> problems;
  const auto sounds = bank_->Load(sources, problems, nullptr, 1);
  Report(problems);
  if (sounds.empty() || !sounds[0]) return;
  mixer_->Preview(sounds[0], VolWavGain(doc));
  if (!playing_ && sink_ && sink_->state() != QAudio::ActiveState) sink_->start(device_);
}

void Playback::Report(const std::vector<std::string>& problems) {
  for (const std::string& p : problems)
    hooks_.log(QStringLiteral("音声ファイルを再生できません (無音になります): ") + QString::fromStdString(p));
}

}  // namespace beatloom
