// Asynchronous playback of the program's embedded sounds.
#pragma once

#include <QString>

namespace pylomir::platform {

// Starts playing an embedded WAV resource (":/..." or "qrc:/...") and
// returns at once. Silently does nothing where there is no audio output.
void playSound(const QString& resourcePath);

} // namespace pylomir::platform
