// The advanced-restore window without widgets: it holds the program's one
// archive component and the backup options, lists the archives of a
// folder, shows one archive's information and restores it under a rule.
#pragma once

#include "backup/archiver.h"
#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace pylomir::backup {

// The rule choices, in the order of their captions, each with the rule its
// caption names.
struct RestoreRuleChoice {
    const char* caption;
    RestoreRule rule;
};
extern const std::array<RestoreRuleChoice, 5> kRestoreRuleChoices;

// The compression choices, in the order of their captions, each with the
// level its caption names.
struct CompressionChoice {
    const char* caption;
    CompressionLevel level;
};
extern const std::array<CompressionChoice, 4> kCompressionChoices;

// The captions of the backup scope choices, in the enumeration's order.
extern const std::array<const char*, 2> kBackupScopeChoices;

inline constexpr char kRestoreInstruction[] =
    "Wskaż folder z plikami kopii zapasowej BACKUP, wybierz plik kopii i naciśnij \"Odzyskaj "
    "pliki...\"";

// The archives' name mask.
inline const QString kArchiveMask = QStringLiteral("*.backup");

// "Odzyskanie plików z kopii zapasowej zakończone sukcesem.\rOdzyskano: ..."
QString restoreSuccessMessage(qint32 filesDone, qint32 fileCount);
// The line the success message gains when the rule left members out: how
// many and why; empty when it left none.
QString skippedFilesText(qint32 skipped, RestoreRule rule);
// "n plików, k KB wszystkiego", k the bytes in KB to the nearest, a half to even.
QString archiveSummaryText(qint32 fileCount, qint64 totalBytes);
// One line of the information list as the window shows it: path, " z ", the
// stored file's short date, ", ", its size, " bajtów".
QString infoLineText(const QString& line, const platform::LocaleFormats& locale);

// The backup options of the hidden panel, read by every backup.
struct BackupOptions {
    BackupScope scope = BackupScope::All;
    int compressionChoice = 0; // index into kCompressionChoices
    bool storeInfoList = true;
};

// The advanced-restore window's state. Owner: RestoreCommands.
struct AdvancedRestoreState {
    QString archiveFolder;    // the folder the archive list shows, with its separator
    QStringList archiveNames; // its "*.backup" files, by name
    qsizetype currentArchive = -1;
    QString titleText;         // the selected archive's title
    QString summaryText;       // "n plików, k KB wszystkiego"
    QStringList fileLines;     // one per line of its information list
    int restoreRuleChoice = 0; // index into kRestoreRuleChoices
    bool toOtherFolder = false;
    QString otherFolderText;
    QString instructionText = QString::fromUtf8(kRestoreInstruction);
    int progressPercent = 0;
    bool progressVisible = false;
    bool backupToolsVisible = false;
    QStringList backupSources; // paths or masks the backup step stores
    BackupOptions backupOptions;

    bool otherFolderEnabled() const { return toOtherFolder; }
    // The folder and the current entry's name; empty without a current entry.
    QString selectedArchive() const;
};

class RestoreCommands {
public:
    // Until showArchives() points it elsewhere, the archive list shows the
    // folder that was current at start.
    RestoreCommands(core::ArchiveState& archive, const core::Services& services);
    RestoreCommands(const RestoreCommands&) = delete;
    RestoreCommands& operator=(const RestoreCommands&) = delete;

    const AdvancedRestoreState& state() const { return s_; }
    Archiver& archiver() { return archiver_; }

    // True, after saying so, while the component is at work: one archive
    // operation at a time.
    bool refuseWhileBusy();
    // Marks the component busy for one operation, however it ends.
    class Work {
    public:
        explicit Work(core::ArchiveState& archive) : archive_(archive) { archive_.busy = true; }
        ~Work() { archive_.busy = false; }
        Work(const Work&) = delete;
        Work& operator=(const Work&) = delete;

    private:
        core::ArchiveState& archive_;
    };
    Work work() { return Work(archive_); }

    // Points the archive list at a folder and reads it.
    void showArchives(const QString& folder);
    // Reads the list's folder again, keeping the selected name when it is still there.
    void rereadArchives();
    // A click in the archive list: its title, summary and file lines.
    void selectArchive(qsizetype index);
    // Reads the selected archive's title, summary and file lines.
    void showArchiveInfo();
    void setRestoreRuleChoice(int index);
    // Either target radio button.
    void chooseOtherFolder(bool on);
    void setOtherFolderText(const QString& text);
    // The target folder of a restore: empty for the stored paths, or the
    // other folder's text; nothing when that text is blank.
    std::optional<QString> chooseRestoreTarget() const;
    // "Odzyskaj pliki z wybranej kopii" of the window.
    void restoreWithOptions();
    // "Anuluj odzyskiwanie" and "Anulowanie": true when the window is to close.
    bool cancelOrClose();
    // The title field: a double click shows the backup tools, a click hides them.
    void showBackupTools() { s_.backupToolsVisible = true; }
    void hideBackupTools() { s_.backupToolsVisible = false; }
    // "Dodaj wszystko z folderu (nie korzystane)", "Kasowanie listy (nie korzystane)".
    void addFolderMask();
    void clearBackupSources() { s_.backupSources.clear(); }
    void setBackupSources(const QStringList& sources) { s_.backupSources = sources; }
    void setBackupScope(BackupScope scope) { s_.backupOptions.scope = scope; }
    void setCompressionChoice(int index);
    void setStoreInfoList(bool on) { s_.backupOptions.storeInfoList = on; }

    // The recovery tab's one-click restore: every member to its stored path,
    // whatever the window was last set to. The progress bar's last percent
    // goes to restoreProgress.
    void restoreToStoredPaths(const QString& archivePath, int& restoreProgress);
    // "Odzyskaj pliki z kopii zapasowej" of the found list's menu: the window
    // as it was last left, its list read again.
    void showAdvancedRestore();

    // Called after the progress display changed during an operation, so a
    // window can redraw it before the component goes on.
    std::function<void()> onProgressShown;

private:
    struct Restored {
        bool ok = false;
        qint32 skippedByRule = 0;
        QString message; // the success message, with the skipped files' line
    };
    // One restore under the component's rule, the component held busy; nothing
    // when it raised a failure, which is shown.
    std::optional<Restored> runRestore(const QString& archivePath, const QString& target);
    void showProgress(const QString& fileName, int percent);
    void clearArchiveInfo();

    core::ArchiveState& archive_;
    core::Services services_;
    Archiver archiver_;
    AdvancedRestoreState s_;
};

} // namespace pylomir::backup
