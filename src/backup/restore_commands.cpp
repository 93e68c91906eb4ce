#include "backup/restore_commands.h"

#include "backup/archive_format.h"
#include "backup/recovery_tab.h"
#include "core/app_info.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"

#include <cmath>

namespace pylomir::backup {

namespace {

const QString kRestoreFailed =
    QStringLiteral("Błąd odzyskiwania z kopii zapasowej lub anulowano !");
const QString kOneClickFailed =
    QStringLiteral("Nieznany błąd odzyskiwania z kopii zapasowej. Być może pliki nie mogą być "
                   "nadpisane. Skorzystaj z odzyskiwania zaawansowanego.");
const QString kNoInfoList = QStringLiteral("Brak informacji o tej kopii zapasowej");

// The folder the process started in, with its separator.
QString startFolder() {
    QString folder = platform::absolutePath(QStringLiteral("."));
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += platform::separator();
    return folder;
}

// Why the rule left members out, as the success message says it.
QString skippedReason(RestoreRule rule) {
    switch (rule) {
    case RestoreRule::IfMissing:
        return QStringLiteral("bo już istnieją");
    case RestoreRule::IfMissingOrOlder:
        return QStringLiteral("bo już istnieją i nie są starsze od kopii");
    case RestoreRule::IfExists:
        return QStringLiteral("bo ich nie ma na dysku");
    case RestoreRule::IfExistsAndOlder:
        return QStringLiteral("bo ich nie ma na dysku lub nie są starsze od kopii");
    case RestoreRule::Always:
        break;
    }
    return QString();
}

} // namespace

QString restoreSuccessMessage(qint32 filesDone, qint32 fileCount) {
    return QStringLiteral("Odzyskanie plików z kopii zapasowej zakończone sukcesem.\rOdzyskano: ") +
           QString::number(filesDone) + QStringLiteral(" pliki (plików)  z: ") +
           QString::number(fileCount) + QStringLiteral(" dostępnych w kopii.");
}

QString skippedFilesText(qint32 skipped, RestoreRule rule) {
    if (skipped <= 0)
        return QString();
    QString reason = skippedReason(rule);
    if (!reason.isEmpty())
        reason += QStringLiteral(" - ");
    return QStringLiteral("\rPominięto: %1 pliki (plików), %2zgodnie z wybraną opcją odzyskiwania.")
        .arg(skipped)
        .arg(reason);
}

QString archiveSummaryText(qint32 fileCount, qint64 totalBytes) {
    // To the nearest KB, a half to the even neighbour (the default rounding mode).
    const qint64 kb = qint64(std::nearbyint(double(totalBytes) / 1024.0));
    return QStringLiteral("%1 plików, %2 KB wszystkiego").arg(fileCount).arg(kb);
}

QString infoLineText(const QString& line, const platform::LocaleFormats& locale) {
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    const qsizetype eq = tab < 0 ? -1 : line.indexOf(QLatin1Char('='), tab + 1);
    if (eq < 0)
        return line;
    const QString dateText = line.mid(tab + 1, eq - tab - 1);
    bool ok = false;
    const qint32 dos = dateText.toInt(&ok);
    const QDateTime when = ok ? fromDosDateTime(dos) : QDateTime();
    const QString date = when.isValid() ? locale.shortDate(when.date()) : dateText;
    return line.left(tab) + QStringLiteral(" z ") + date + QStringLiteral(", ") + line.mid(eq + 1) +
           QStringLiteral(" bajtów");
}

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
    archiver_.onProgress = [this](Archiver*, const QString& fileName, Percent percent, bool&) {
        showProgress(fileName, percent);
    };
    s_.archiveFolder = startFolder();
}

bool RestoreCommands::refuseWhileBusy() {
    if (!archive_.busy && !archiver_.isBusy())
        return false;
    if (services_.ui)
        services_.ui->showMessage(QString::fromUtf8(core::kArchiveBusyMessage));
    return true;
}

void RestoreCommands::showProgress(const QString& fileName, int percent) {
    s_.progressPercent = percent;
    s_.progressVisible = percent < 100;
    // The instruction does not come back once an operation has run.
    s_.instructionText = percent < 100 ? fileName : QString();
    if (onProgressShown)
        onProgressShown();
}

void RestoreCommands::clearArchiveInfo() {
    s_.titleText.clear();
    s_.summaryText.clear();
    s_.fileLines.clear();
}

void RestoreCommands::showArchives(const QString& folder) {
    s_.archiveFolder = folder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) &&
        !folder.endsWith(QLatin1Char('\\')))
        s_.archiveFolder += platform::separator();
    s_.archiveNames = filesMatching(*services_.fileSystem, s_.archiveFolder, kArchiveMask);
    s_.currentArchive = -1;
    clearArchiveInfo();
}

void RestoreCommands::rereadArchives() {
    const QString selected = s_.currentArchive >= 0 && s_.currentArchive < s_.archiveNames.size()
                                 ? s_.archiveNames.at(s_.currentArchive)
                                 : QString();
    s_.archiveNames = filesMatching(*services_.fileSystem, s_.archiveFolder, kArchiveMask);
    s_.currentArchive = selected.isEmpty() ? -1 : s_.archiveNames.indexOf(selected);
    if (s_.currentArchive < 0)
        clearArchiveInfo();
}

void RestoreCommands::selectArchive(qsizetype index) {
    s_.currentArchive = index >= 0 && index < s_.archiveNames.size() ? index : -1;
    showArchiveInfo();
}

void RestoreCommands::showArchiveInfo() {
    s_.fileLines.clear();
    QStringList list;
    QString title;
    try {
        archiver_.readArchiveInfo(s_.selectedArchive(), &list, title);
    } catch (const ArchiveError& e) {
        services_.ui->showError(e.message());
        title.clear();
    }
    s_.titleText = title;
    if (title.isEmpty()) {
        s_.summaryText.clear();
        return;
    }
    // Beyond 4 GiB the information list knows what the header cannot hold.
    s_.summaryText = archiveSummaryText(archiver_.fileCount(), archiver_.fullTotalSize());
    s_.fileLines.reserve(list.size());
    for (const QString& line : std::as_const(list))
        s_.fileLines << infoLineText(line, *services_.locale);
    if (list.isEmpty())
        s_.fileLines << kNoInfoList;
}

void RestoreCommands::setRestoreRuleChoice(int index) {
    // A group with nothing chosen keeps the last rule rather than fall back
    // to the one that overwrites.
    if (index >= 0 && index < int(kRestoreRuleChoices.size()))
        s_.restoreRuleChoice = index;
}

void RestoreCommands::chooseOtherFolder(bool on) {
    s_.toOtherFolder = on;
}

void RestoreCommands::setOtherFolderText(const QString& text) {
    s_.otherFolderText = text;
}

std::optional<QString> RestoreCommands::chooseRestoreTarget() const {
    if (!s_.toOtherFolder)
        return QString();
    const QString folder = s_.otherFolderText.trimmed();
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<RestoreCommands::Restored> RestoreCommands::runRestore(const QString& archivePath,
                                                                     const QString& target) {
    const Work busy = work();
    Restored out;
    // The rule has decided each eligible member before this sees it.
    archiver_.onRestoringFile = [&out](Archiver*, QString&, qint32, bool& shouldRestore) {
        if (!shouldRestore)
            ++out.skippedByRule;
    };
    struct Detach {
        Archiver& archiver;
        ~Detach() { archiver.onRestoringFile = nullptr; }
    } detach{archiver_};
    try {
        out.ok = archiver_.restore(archivePath, target);
    } catch (const ArchiveError& e) {
        services_.ui->showError(e.message());
        return std::nullopt;
    }
    out.message = restoreSuccessMessage(archiver_.filesDone(), archiver_.fileCount()) +
                  skippedFilesText(out.skippedByRule, archiver_.restoreRule());
    return out;
}

void RestoreCommands::restoreWithOptions() {
    if (refuseWhileBusy())
        return;
    archiver_.setRestoreRule(kRestoreRuleChoices[size_t(s_.restoreRuleChoice)].rule);
    const std::optional<QString> target = chooseRestoreTarget();
    if (!target)
        return;
    archiver_.setRestoreFolderTree(false);
    const std::optional<Restored> restored = runRestore(s_.selectedArchive(), *target);
    if (!restored)
        return;
    services_.ui->showMessage(restored->ok ? restored->message : kRestoreFailed);
}

bool RestoreCommands::cancelOrClose() {
    if (!archive_.busy && !archiver_.isBusy())
        return true;
    const core::MsgAnswer answer = services_.ui->messageBox(
        core::kAppTitle,
        QStringLiteral("Czy chcesz przerwać odzyskiwanie plików z kopii zapasowej "),
        core::MsgIcon::Question, core::MsgButtons::YesNo);
    if (answer == core::MsgAnswer::Yes)
        archiver_.stop();
    return false;
}

void RestoreCommands::addFolderMask() {
    const std::optional<QString> entry = services_.ui->askText(
        QStringLiteral("Add files with wildcards"), QStringLiteral("Enter path + file mask"),
        services_.programDir + QStringLiteral("*.*"));
    if (entry)
        s_.backupSources << *entry;
}

void RestoreCommands::setCompressionChoice(int index) {
    if (index >= 0 && index < int(kCompressionChoices.size()))
        s_.backupOptions.compressionChoice = index;
}

void RestoreCommands::restoreToStoredPaths(const QString& archivePath, int& restoreProgress) {
    if (refuseWhileBusy())
        return;
    // Every member to its stored path, whatever the window was last set to;
    // the window's own choices stay for its next restore.
    const RestoreRule rule = archiver_.restoreRule();
    const bool folderTree = archiver_.restoreFolderTree();
    archiver_.setRestoreRule(RestoreRule::Always);
    archiver_.setRestoreFolderTree(false);
    const std::optional<Restored> restored = runRestore(archivePath, QString());
    archiver_.setRestoreRule(rule);
    archiver_.setRestoreFolderTree(folderTree);
    if (restored) {
        if (restored->ok) {
            restoreProgress = s_.progressPercent;
            services_.ui->showMessage(restored->message);
        } else {
            services_.ui->showMessage(kOneClickFailed);
        }
    }
    restoreProgress = 0;
}

void RestoreCommands::showAdvancedRestore() {
    rereadArchives();
    services_.ui->showWindow(core::WindowId::AdvancedRestore);
}

} // namespace pylomir::backup
