#include "platform/gui/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QHash>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace pylomir::platform {

void playSound(const QString& resourcePath) {
    QCoreApplication* app = QCoreApplication::instance();
    // Headless runs (CI, the offscreen platform) have no output device;
    // QSoundEffect would only complain there.
    if (!app || resourcePath.isEmpty() || QMediaDevices::defaultAudioOutput().isNull())
        return;
    // One effect per sound, kept alive so the playback outlives the call
    // and the decoded data is reused; the application owns them.
    static QHash<QString, QPointer<QSoundEffect>> effects;
    QPointer<QSoundEffect>& effect = effects[resourcePath];
    if (!effect) {
        effect = new QSoundEffect(app);
        effect->setSource(resourcePath.startsWith(QLatin1Char(':'))
                              ? QUrl(QLatin1String("qrc") + resourcePath)
                              : QUrl(resourcePath));
    }
    effect->play();
}

} // namespace pylomir::platform
