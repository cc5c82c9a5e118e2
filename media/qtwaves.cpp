// The fudemaru-waves module: QSoundEffect behind the WaveEffect interface.
// The only code that links Qt Multimedia.
#include "media/waveeffect.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace
{

class QtWaveEffect final : public fm::media::WaveEffect
{
  public:
    explicit QtWaveEffect(const QString &path) { effect_.setSource(QUrl::fromLocalFile(path)); }
    void play() override
    {
        effect_.stop();
        effect_.play();
    }
    void stop() override { effect_.stop(); }
    bool isPlaying() const override { return effect_.isPlaying(); }
    bool isLoading() const override { return effect_.status() == QSoundEffect::Loading; }

  private:
    QSoundEffect effect_;
};

bool outputAvailable()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

fm::media::WaveEffect *effect(const QString &path)
{
    return new QtWaveEffect(path);
}

} // namespace

extern "C" Q_DECL_EXPORT const fm::media::WaveModule *fudemaruWaveModule()
{
    static const fm::media::WaveModule module{outputAvailable, effect};
    return &module;
}
