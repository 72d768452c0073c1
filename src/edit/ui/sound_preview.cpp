#include "edit/ui/sound_preview.h"

#include <QAudioOutput>
#include <QDir>
#include <QListWidget>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

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
  connect(wavList_, &QListWidget::itemClicked, this, &SoundPreview::PlaySelected);
  connect(stopButton, &QPushButton::clicked, this, &SoundPreview::Stop);
  connect(timer, &QTimer::timeout, this, &SoundPreview::CloseFinished);
}

void SoundPreview::PlaySelected() {
  const size_t index = static_cast<size_t>(wavList_->currentRow()) + DefinitionIndex::FirstWav;
  if (wavList_->currentRow() < 0 || index >= doc_.wav.size() || doc_.wav[index].empty()) return;
  const QString name = QString::fromStdString(ToUtf8(doc_.wav[index], doc_.encoding));
  Stop();
  player_->setSource(QUrl::fromLocalFile(QDir(chartFolder_()).filePath(name)));
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
