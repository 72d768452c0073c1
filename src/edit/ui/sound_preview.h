#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QListWidget;
class QMediaPlayer;
class QPushButton;
class QTimer;

namespace beatloom {

class Document;

// Plays the sound of a WAV line the author selects by mouse or keyboard (the
// file found as ResolveChartSound finds it; nothing when there is none), and
// stops it with the list's stop button. Lines the program selects itself stay
// silent. Without a media player (sound switched off in the settings) it does
// nothing at all.
class SoundPreview : public QObject {
  Q_OBJECT

 public:
  // chartFolder: where the chart's sound files are looked up.
  SoundPreview(const Document& doc, QListWidget* wavList, QPushButton* stopButton, QTimer* timer,
               std::function<QString()> chartFolder, bool soundOn, QObject* parent);

 private:
  void PlaySelected();
  void Stop();
  void CloseFinished();
  bool eventFilter(QObject* watched, QEvent* event) override;

  const Document& doc_;
  QListWidget* wavList_;
  std::function<QString()> chartFolder_;
  QMediaPlayer* player_ = nullptr;
  // Set while the list handles a key, so that only the row change it makes
  // plays.
  bool keyInList_ = false;
};

}  // namespace beatloom
