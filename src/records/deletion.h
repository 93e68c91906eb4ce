// Deleting found files, and the found list's smaller commands: select all,
// drop, open, sort, clear.
#pragma once

#include "assess/assessment.h"
#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"
#include "engine/mask.h"
#include "ignore/ignore_lists.h"
#include "records/statistics.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace pylomir::records {

// The deletion log's eight lines of one deleted file.
QStringList logBlock(const core::FileDetails& details);
// The HTML report's 38 lines of one deleted file; the values are escaped,
// so no file name can put markup into the report.
QStringList htmlFragment(const core::FileDetails& details);
QString htmlEscaped(const QString& text);

// A file that stayed, and the system's reason.
using Undeleted = std::pair<QString, QString>;
// "Nie udało się usunąć N plików:" and the first ten of them, one a line.
QString undeletedFilesMessage(const QList<Undeleted>& files);
// "Nie usunięto N plików, których nie ma w kopii zapasowej:" and the first ten.
QString notBackedUpMessage(const QStringList& paths);

// What one command did.
struct DeletionOutcome {
    qint64 deleted = 0;  // counted and recorded
    qint64 vanished = 0; // gone before we came to them: off the list, not counted
    qint64 skipped = 0;  // on an ignore list: kept, never deleted
    QList<Undeleted> failed;
    QStringList notBackedUp; // kept: the backup before the deletion does not hold them
};

class Deletion {
public:
    // Writes the found list, the session's records and (through statistics)
    // the statistics; sets the found count and its caption after a deletion.
    Deletion(core::MainWindowModel& model, const core::Services& services, Statistics& statistics,
             ignore::IgnoreLists& ignoreLists, core::StatusLine& status,
             assess::Assessment& assessment);

    // Backs up every found file before the deletion. Only what the archive
    // holds whole is deleted then, and nothing without a whole archive.
    // Unset: no backup is made.
    struct BackupBeforeDeletion {
        bool written = false; // a whole archive is in place
        QStringList stored;   // the paths it holds whole
    };
    std::function<BackupBeforeDeletion()> backupAll;

    // The current entry's file; the hidden delete action.
    void deleteCurrent();
    // "Usuń tylko jeden zaznaczony plik": the same, then no file assessed.
    void deleteOneFile();
    // "Usuń wszystkie zaznaczone pliki": the selected entries, last to first,
    // after the Yes/No/Cancel box (No backs them up instead).
    void deleteSelected();
    // The quick-delete button: every entry left after the ignore comparison.
    void quickDelete();
    // "Zaznacz wszystkie pliki".
    void selectAllFound();
    // "Wyrzuć pliki z listy (nie usuwaj)": checked entries leave the list.
    void dropCheckedFound();
    // "Uruchom zaznaczony plik": the current found or ignored file, by the
    // active tab, opened by the desktop.
    void openCurrentFile();
    // "Sortuj alfabetycznie listę ": sorted for the rest of the session.
    void sortFoundList();
    // "Czyść listę znalez. plików".
    void clearFoundList();

    // What the last deletion command did.
    const DeletionOutcome& lastOutcome() const { return last_; }

private:
    enum class Result { Deleted, Vanished, Failed, Skipped };
    Result deleteFile(const QString& path, QString& reason);
    bool onIgnoreList(const QString& path);
    void record(const core::FileDetails& details);
    // The selected entries, last to first, pausing for events after each;
    // with a set of path keys, only those.
    void deleteSelectedEntries(const QSet<QString>* only = nullptr);
    void showCounters();
    void finish(const QString& doneText);

    core::MainWindowModel& m_;
    core::Services s_;
    Statistics& statistics_;
    ignore::IgnoreLists& ignore_;
    core::StatusLine& status_;
    assess::Assessment& assessment_;
    DeletionOutcome last_;
    // A batch is under way: the deletion commands wait for its end, the
    // other list commands may run from inside it.
    bool busy_ = false;
    // The ignored masks as last compiled, and the list they came from.
    QStringList maskSource_;
    engine::MaskList masks_;
    bool masksCompiled_ = false;
};

} // namespace pylomir::records
