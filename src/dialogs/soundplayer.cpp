#include "soundplayer.h"

#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer() = default;
QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& absolutePath)
{
    // Starting a new sound replaces the one playing.
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(absolutePath));
    effect_->play();
}
