#include "edit/ui/sound_preview.h"

#include <QAudioOutput>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "model/chart_file_lookup.h"
#include "model/document.h"
#include "model/text_codec.h"

namespace beatloom {

SoundPreview::SoundPreview(const Document& doc, QListWidget* wavList, QPushButton* stopButton, QTimer* timer,
                           std::function<QString()> chartFolder, bool soundOn, QObject* parent)
    : QObject(parent), doc_(doc), wavList_(wavList), chartFolder_(std::move(chartFolder)) {
  if (!soundOn) return;
  player_ = new QMediaPlayer(this);
  player_->setObjectName(QStringLiteral("MediaPlayer1"));
  player_->setAudioOutput(new QAudioOutput(player_));
  // Nothing of the media layer ever reaches the author: a file that cannot be
  // played just closes the player.
  connect(player_, &QMediaPlayer::errorOccurred, player_, [this] { player_->setSource(QUrl()); });
  connect(wavList_, &QListWidget::itemClicked, this, &SoundPreview::PlaySelected);
  connect(wavList_, &QListWidget::currentRowChanged, this, [this] {
    if (keyInList_) PlaySelected();
  });
  wavList_->installEventFilter(this);
  connect(stopButton, &QPushButton::clicked, this, &SoundPreview::Stop);
  connect(timer, &QTimer::timeout, this, &SoundPreview::CloseFinished);
}

bool SoundPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == wavList_ && event->type() == QEvent::KeyPress) {
    // The list moves its row while this key is delivered; the flag is gone
    // again before anything else can select a line.
    keyInList_ = true;
    QTimer::singleShot(0, this, [this] { keyInList_ = false; });
  }
  return QObject::eventFilter(watched, event);
}

void SoundPreview::PlaySelected() {
  const size_t index = static_cast<size_t>(wavList_->currentRow()) + DefinitionIndex::FirstWav;
  if (wavList_->currentRow() < 0 || index >= doc_.wav.size() || doc_.wav[index].empty()) return;
  const QString name = QString::fromStdString(ToUtf8(doc_.wav[index], doc_.encoding));
  Stop();
  // Only a regular file is handed to the media layer: opening a FIFO or a
  // device would block the window.
  const std::string found =
      ResolveChartSound(QFile::encodeName(chartFolder_()).toStdString(), QFile::encodeName(name).toStdString());
  if (found.empty()) return;
  player_->setSource(QUrl::fromLocalFile(QFile::decodeName(found.c_str())));
  player_->play();
}

void SoundPreview::Stop() {
  player_->stop();
  player_->setSource(QUrl());
}

void SoundPreview::CloseFinished() {
  // A preview that played to its end gives the sound device back.
  if (player_->playbackState() == QMediaPlayer::StoppedState && !player_->source().isEmpty())
    player_->setSource(QUrl());
}

}  // namespace beatloom
