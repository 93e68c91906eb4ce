#include "backup/restore_commands.h"

namespace pylomir::backup {

// Placeholder bodies; the commands come next.

const std::array<RestoreRuleChoice, 5> kRestoreRuleChoices{{
    {"Odzyskaj z nadpisywaniem istniejących plików", RestoreRule::Always},
    {"Odzyskaj bez nadpisywania istniejących plików", RestoreRule::IfMissing},
    {"Nie odzyskuj", RestoreRule::IfMissingOrOlder},
    {"Odzyskaj nawet jeśli istnieją", RestoreRule::Always},
    {"Nie odzyskuj jeśli pliki już istnieją", RestoreRule::IfMissing},
}};

const std::array<CompressionChoice, 4> kCompressionChoices{{
    {"clFastest", CompressionLevel::Fastest},
    {"clDefault", CompressionLevel::Default},
    {"clMax", CompressionLevel::Max},
    {"clNone", CompressionLevel::None},
}};

const std::array<const char*, 2> kBackupScopeChoices{{"bmAll", "bmIncremental"}};

QString AdvancedRestoreState::selectedArchive() const {
    if (currentArchive < 0 || currentArchive >= archiveNames.size())
        return QString();
    return archiveFolder + archiveNames.at(currentArchive);
}

RestoreCommands::RestoreCommands(core::ArchiveState& archive, const core::Services& services)
    : archive_(archive), services_(services) {
    archiver_.setUiPort(services_.ui);
    archiver_.setMessagePump(services_.pump);
    archiver_.setFileSystem(services_.fileSystem);
}

bool RestoreCommands::refuseWhileBusy() {
    if (!archive_.busy && !archiver_.isBusy())
        return false;
    if (services_.ui)
        services_.ui->showMessage(QString::fromUtf8(core::kArchiveBusyMessage));
    return true;
}
void RestoreCommands::showArchives(const QString&) {}
void RestoreCommands::rereadArchives() {}
void RestoreCommands::selectArchive(qsizetype) {}
void RestoreCommands::setRestoreRuleChoice(int) {}
void RestoreCommands::chooseOtherFolder(bool) {}
void RestoreCommands::setOtherFolderText(const QString&) {}
void RestoreCommands::restoreWithOptions() {}
bool RestoreCommands::cancelOrClose() {
    return true;
}
void RestoreCommands::addFolderMask() {}
void RestoreCommands::setCompressionChoice(int index) {
    s_.backupOptions.compressionChoice = qBound(0, index, int(kCompressionChoices.size()) - 1);
}
void RestoreCommands::restoreToStoredPaths(const QString&, int&) {}
void RestoreCommands::showAdvancedRestore() {}

} // namespace pylomir::backup
