#pragma once
// Plays the program's wave files; machines without sound stay silent.

#include "services.h"

#include <memory>

class QSoundEffect;

class QtSoundPlayer : public ISoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString& absolutePath) override;

private:
    std::unique_ptr<QSoundEffect> effect_;
};
