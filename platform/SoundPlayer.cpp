#include "PlatformServices.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace platform {
namespace {

// Keeps the effect alive while it plays. Never waits for the end: without an audio device
// QSoundEffect reports playing forever.
class QtSoundPlayer final : public SoundPlayer {
public:
    void PlayAsync(const QString& wavPath) override {
        if (!QFileInfo(wavPath).isFile())
            return;
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(wavPath));
        effect_->play();
    }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer() {
    return std::make_unique<QtSoundPlayer>();
}

} // namespace platform
