// Names in the settings store (the registry under
// HKEY_CURRENT_USER\SOFTWARE\Tessaly\Pylomir) that more than one subsystem
// uses. They are stored: keep them byte for byte.
#pragma once

#include <QString>

namespace pylomir::core {

// Options and the stored scanning mode.
inline const QString kOptionsKey = QStringLiteral("Ustawienia");
// Statistics, the two working folders and the auto-ignore threshold.
inline const QString kStatisticsKey = QStringLiteral("Skanowan");
// The count of deleted files.
inline const QString kDeletedKey = QStringLiteral("Usunieto");

// Shown when the store refuses a write.
inline const QString kRegistryErrorText =
    QStringLiteral("Błąd dostępu do rejestru. Nie masz uprawnień Administratora ?!");

} // namespace pylomir::core
