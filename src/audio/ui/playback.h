#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "analysis/chart_timing.h"
#include "audio/mixer.h"
#include "audio/sound_bank.h"
#include "session/chart_session.h"

class QAudioSink;
class QTimer;

namespace beatloom {

class MixerDevice;

// What playback needs of the window.
struct PlaybackHooks {
  std::function<QString()> chartFolder;     // where the chart's sounds are looked up
  std::function<void(int pos)> showLine;    // the play line at pos; -1 takes it away
  std::function<void(int pos)> keepInView;  // scrolls the score so that pos shows
  std::function<void(const QString&)> status;
  std::function<void(const QString&)> log;  // one line in the log window
};

// The built-in player: decodes the chart's sounds (on every core, progress in
// the status line), mixes them through the sound device in pull mode and runs
// the play line over the score. The line runs on a clock started with the
// sound; without a sound device it runs all the same, silently. Any change of the chart stops playback: the sounds heard
// must be those of the chart shown.
class Playback : public QObject {
  Q_OBJECT

 public:
  Playback(ChartSession& session, PlaybackHooks hooks, QObject* parent);
  ~Playback() override;

  // From the start of measure (after decoding what is not held yet).
  void PlayFrom(int measure);
  void Stop();
  // Decoding for a play, or playing.
  bool Active() const { return pendingMeasure_ >= 0 || playing_; }
  // The sound of the object once, through the same mixer, if it has one.
  void PreviewObject(int index);
  // Sound switched off in the settings: plays run silently, as without a
  // device. Only before the first play.
  void SetSilent(bool silent) { silent_ = silent; }

 private:
  void Tick();
  void Start(int measure);
  // Chooses the rate and opens the sound device on first use; false when
  // there is none.
  bool EnsureOutput();
  void Report(const std::vector<std::string>& problems);

  ChartSession& session_;
  PlaybackHooks hooks_;
  ChartSession::ListenerId listener_ = 0;
  int rate_ = 44100;
  std::unique_ptr<SoundBank> bank_;
  std::unique_ptr<Mixer> mixer_;
  MixerDevice* device_ = nullptr;
  QAudioSink* sink_ = nullptr;
  bool silent_ = false;
  bool silentNotice_ = false;  // no sound device: the status line says so
  QTimer* timer_ = nullptr;

  // Decoding in the background; pendingMeasure_ is the play that waits for
  // it (-1: none).
  std::thread loader_;
  std::atomic<size_t> decoded_{0};
  std::atomic<bool> loaded_{false};
  size_t toDecode_ = 0;
  std::vector<std::string> loadProblems_;
  int pendingMeasure_ = -1;

  bool playing_ = false;
  ChartTiming timing_;
  double startSeconds_ = 0;
  double endSeconds_ = 0;
  QElapsedTimer clock_;
};

}  // namespace beatloom
