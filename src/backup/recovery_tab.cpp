#include "backup/recovery_tab.h"

namespace pylomir::backup {

// Placeholder bodies; the commands come next.

QStringList filesMatching(platform::FileSystem&, const QString&, const QString&) {
    return {};
}

RecoveryTab::RecoveryTab(core::RecoveryState& state, const core::Services& services,
                         RestoreCommands& restore)
    : s_(state), services_(services), restore_(restore) {}

void RecoveryTab::pointRecoveryLists(const QString&, const QString&) {}
void RecoveryTab::rereadLists() {}
void RecoveryTab::refreshCounts() {}
QString RecoveryTab::selectedArchive() const {
    return QString();
}
QString RecoveryTab::selectedLog() const {
    return QString();
}
void RecoveryTab::restoreSelectedArchive() {}
void RecoveryTab::openAdvancedRestore() {}
void RecoveryTab::viewSelectedLog() {}
void RecoveryTab::deleteSelectedArchive() {}
void RecoveryTab::deleteSelectedLog() {}

} // namespace pylomir::backup
