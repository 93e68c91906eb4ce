#include "records/deletion.h"

#include "core/shown_texts.h"
#include "platform/file_names.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"

#include <QDate>
#include <QSet>
#include <QTime>

#include <algorithm>
#include <optional>
#include <vector>

namespace pylomir::records {

namespace {

// Deleted entries leave the list in batches of this many: removing them one
// by one would cost the whole list each time.
constexpr qint64 kRemovalBatch = 2000;
constexpr qsizetype kNamedFailures = 10;

const QString kNoFileToDelete = QStringLiteral("Brak plików do usunięcia !");
const QString kDeleting = QStringLiteral("Trwa usuwanie plików...");

QString label(const char* text) {
    return QString::fromUtf8(text).leftJustified(13, QLatin1Char(' '));
}

} // namespace

QString htmlEscaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QStringList logBlock(const core::FileDetails& d) {
    return {
        QString(),
        label("Plik:") + d.name,
        label("Lokalizacja:") + d.location,
        label("Typ pliku:") + d.extension,
        label("Rozmiar:") + core::sizeText(d),
        label("Alert:") + core::riskText(d.level),
        label("Data modyf.:") + d.modifiedText,
        QString(28, QLatin1Char('_')),
    };
}

QStringList htmlFragment(const core::FileDetails& d) {
    // The fixed lines are shared by every fragment; only the values take room.
    static const QString row = QStringLiteral("  <TR>");
    static const QString cell = QStringLiteral("    <TD>");
    static const QString innerRow = QStringLiteral("          <TR>");
    static const QString innerCell = QStringLiteral("            <TD>");
    auto value = [](const char* indent, const QString& v, const char* end) {
        return QString::fromLatin1(indent) + QStringLiteral("<TD><span class=\"style6\">") +
               htmlEscaped(v) + QString::fromLatin1(end);
    };
    return {
        QStringLiteral("<TABLE>"),
        row,
        QStringLiteral("    <TD WIDTH=10>"),
        QStringLiteral("    <TD WIDTH=10>"),
        QStringLiteral("    <TD WIDTH=166>"),
        QStringLiteral("    <TD WIDTH=559>"),
        row,
        cell,
        cell,
        QStringLiteral("    <TD>Nazwa pliku :"),
        value("    ", d.name, "</span>"),
        row,
        QStringLiteral("      <TD>"),
        QStringLiteral("      <TD>"),
        QStringLiteral("      <TD>Lokalizacja:&nbsp;&nbsp;"),
        value("      ", d.location, "</span>"),
        row,
        cell,
        cell,
        QStringLiteral("    <TD> Rozszerzenie pliku:"),
        value("    ", d.extension, "</span>"),
        innerRow,
        innerCell,
        innerCell,
        QStringLiteral("            <TD> Rozmiar:&nbsp;&nbsp;"),
        value("            ", core::sizeText(d), "</span>"),
        innerRow,
        innerCell,
        innerCell,
        QStringLiteral("            <TD> Alert niestabilności:"),
        value("            ", core::riskText(d.level), "</span><TR>"),
        innerCell,
        innerCell,
        QStringLiteral("            <TD> Data modyfikacji:"),
        value("            ", d.modifiedText, "</span><TR>"),
        innerCell,
        QStringLiteral("<p>&nbsp; </p>"),
        QStringLiteral("  </TABLE>"),
    };
}

QString undeletedFilesMessage(const QList<Undeleted>& files) {
    QStringList lines;
    lines << QStringLiteral("Nie udało się usunąć %1 plików:").arg(files.size());
    for (qsizetype i = 0; i < files.size() && i < kNamedFailures; ++i)
        lines << files[i].first + QStringLiteral(": ") + files[i].second;
    if (files.size() > kNamedFailures)
        lines << QStringLiteral("(i jeszcze %1)").arg(files.size() - kNamedFailures);
    return lines.join(QLatin1Char('\n'));
}

QString notBackedUpMessage(const QStringList& paths) {
    QStringList lines;
    lines << QStringLiteral("Nie usunięto %1 plików, których nie ma w kopii zapasowej:")
                 .arg(paths.size());
    for (qsizetype i = 0; i < paths.size() && i < kNamedFailures; ++i)
        lines << paths[i];
    if (paths.size() > kNamedFailures)
        lines << QStringLiteral("(i jeszcze %1)").arg(paths.size() - kNamedFailures);
    return lines.join(QLatin1Char('\n'));
}

Deletion::Deletion(core::MainWindowModel& model, const core::Services& services,
                   Statistics& statistics, ignore::IgnoreLists& ignoreLists,
                   core::StatusLine& status, assess::Assessment& assessment)
    : m_(model), s_(services), statistics_(statistics), ignore_(ignoreLists), status_(status),
      assessment_(assessment) {}

bool Deletion::onIgnoreList(const QString& path) {
    if (m_.ignore.ignoredFiles.contains(path))
        return true;
    // Compiled again whenever the masks changed since (a copy stays shared
    // with the list until the list is edited).
    const QStringList& masks = m_.ignore.ignoredMasks;
    if (!masksCompiled_ ||
        !(maskSource_.isSharedWith(masks) || (maskSource_.isEmpty() && masks.isEmpty()))) {
        maskSource_ = masks;
        QStringList valid;
        for (const QString& mask : masks) {
            if (engine::Mask(mask).isValid())
                valid << mask;
        }
        masks_ = engine::MaskList(valid);
        masksCompiled_ = true;
    }
    if (masks_.isEmpty())
        return false;
    const qsizetype cut =
        std::max(path.lastIndexOf(platform::separator()), path.lastIndexOf(QLatin1Char('/')));
    return masks_.matchesAny(QStringView(path).mid(cut + 1));
}

Deletion::Result Deletion::deleteFile(const QString& path, QString& reason) {
    if (onIgnoreList(path))
        return Result::Skipped;
    platform::FileSystem& fs = *s_.fileSystem;
    // The entry itself: a link is looked up, and removed, as a link.
    const std::optional<platform::FindData> found = fs.findFirst(path);
    if (!found)
        return Result::Vanished;
    if (found->attributes & platform::faDirectory) {
        reason = QStringLiteral("to jest folder");
        return Result::Failed;
    }
    if (!fs.removeFile(path, &reason)) {
        if (!fs.findFirst(path))
            return Result::Vanished; // someone else was quicker
        return Result::Failed;
    }
    if (fs.findFirst(path)) {
        reason = QStringLiteral("plik nadal istnieje");
        return Result::Failed;
    }

    record(assess::detailsOf(*found, path, *s_.locale));
    return Result::Deleted;
}

void Deletion::record(const core::FileDetails& d) {
    statistics_.addToTotalDeletedBytes(d.size);
    statistics_.addToSessionDeletedBytes(d.size);
    m_.statistics.totalDeletedBytesInput = m_.statistics.totalDeletedBytesText;
    core::SessionRecords& r = m_.records;
    ++r.deletedCount;
    r.logBlocks << logBlock(d);
    r.deletedPathLines << QStringLiteral("Lokalizacja: ") + d.location;
    if (m_.options.htmlReportsEnabled) {
        r.htmlFragments << htmlFragment(d);
        ++r.htmlReportedCount;
    }
}

void Deletion::showCounters() {
    m_.scan.foundCaption = core::FoundCaption::Remaining;
    m_.scan.foundCount = m_.foundList.count();
    statistics_.showTotalDeletedSize();
    statistics_.showSessionDeletedSize();
}

void Deletion::finish(const QString& doneText) {
    const DeletionOutcome& o = last_;
    statistics_.countDeletionInStore(o.deleted);
    showCounters();
    if (o.failed.isEmpty() && o.skipped == 0) {
        status_.show(doneText);
    } else {
        status_.show(QStringLiteral("Usunięto %1 plików, nie udało się usunąć %2, pominięto "
                                    "ignorowanych: %3")
                         .arg(o.deleted)
                         .arg(o.failed.size())
                         .arg(o.skipped));
    }
    if (!o.failed.isEmpty())
        s_.ui->messageBox(QStringLiteral("Błąd"), undeletedFilesMessage(o.failed),
                          core::MsgIcon::Error, core::MsgButtons::Ok);
}

void Deletion::deleteCurrent() {
    if (!m_.scan.deleteCurrentEnabled() || m_.archive.busy || busy_)
        return;
    core::FoundList& found = m_.foundList;
    last_ = DeletionOutcome();
    if (found.current() < 0) {
        status_.show(kNoFileToDelete);
        return;
    }
    const qsizetype i = found.current();
    const QString path = found.path(i);
    QString reason;
    switch (deleteFile(path, reason)) {
    case Result::Deleted:
        ++last_.deleted;
        found.removeAt(i);
        break;
    case Result::Vanished:
        ++last_.vanished;
        found.removeAt(i);
        break;
    case Result::Failed:
        last_.failed << Undeleted(path, reason);
        break;
    case Result::Skipped:
        ++last_.skipped;
        break;
    }
    finish(last_.vanished ? QStringLiteral("Pliku już nie było - usunięto go z listy")
                          : QStringLiteral("Usunięto plik"));
}

void Deletion::deleteOneFile() {
    if (!m_.scan.deleteOneEnabled() || m_.archive.busy)
        return;
    deleteCurrent();
    assessment_.resetAlert();
}

void Deletion::deleteSelectedEntries(const QSet<QString>* only) {
    core::FoundList& found = m_.foundList;
    busy_ = true;
    // Entries are removed in batches; until then they are flagged. Walking
    // from the last entry down, a removal never moves an entry still to come.
    std::vector<bool> gone(size_t(found.count()), false);
    QSet<QString> goneUnremoved; // the flagged paths, should the list move under us
    QSet<QString> kept;          // entries done with that stay (failed, skipped)
    quint64 layout = found.layoutGeneration();
    auto removeGone = [&] {
        if (!goneUnremoved.isEmpty())
            found.removeFlagged(gone);
        gone.assign(size_t(found.count()), false);
        goneUnremoved.clear();
        layout = found.layoutGeneration();
        showCounters();
    };

    qsizetype i = found.count();
    while (true) {
        if (found.layoutGeneration() != layout) {
            // Another command moved entries while events were processed: what
            // is flagged is found again by path, and the walk starts over from
            // the end, passing over what is done.
            gone.assign(size_t(found.count()), false);
            for (qsizetype j = 0; j < found.count(); ++j)
                gone[size_t(j)] = goneUnremoved.contains(found.path(j));
            removeGone();
            i = found.count();
        }
        if (--i < 0)
            break;
        if (gone[size_t(i)] || !found.isSelected(i))
            continue;
        const QString path = found.path(i);
        if (!kept.isEmpty() && kept.contains(path))
            continue;
        if (only && !only->contains(platform::pathKey(path))) {
            last_.notBackedUp << path;
            kept.insert(path);
            continue;
        }
        QString reason;
        switch (deleteFile(path, reason)) {
        case Result::Deleted:
            ++last_.deleted;
            gone[size_t(i)] = true;
            goneUnremoved.insert(path);
            break;
        case Result::Vanished:
            ++last_.vanished;
            gone[size_t(i)] = true;
            goneUnremoved.insert(path);
            break;
        case Result::Failed:
            last_.failed << Undeleted(path, reason);
            kept.insert(path);
            break;
        case Result::Skipped:
            ++last_.skipped;
            kept.insert(path);
            break;
        }
        if (goneUnremoved.size() >= kRemovalBatch)
            removeGone();
        if (s_.pump)
            s_.pump->processPendingMessages();
    }
    removeGone();
    busy_ = false;
}

void Deletion::deleteSelected() {
    if (!m_.scan.deleteSelectedEnabled() || m_.archive.busy || busy_)
        return;
    const core::FoundList& found = m_.foundList;
    last_ = DeletionOutcome();
    bool anySelected = false;
    for (qsizetype i = 0; i < found.count() && !anySelected; ++i)
        anySelected = found.isSelected(i);
    if (!anySelected) {
        status_.show(found.isEmpty() ? kNoFileToDelete
                                     : QStringLiteral("Nie zaznaczono plików do usunięcia !"));
        return;
    }
    const core::MsgAnswer answer = s_.ui->messageBox(
        QStringLiteral("Ostrzeżenie"),
        QStringLiteral("Czy napewno chcesz usunąć wszystkie zaznaczone obiekty ?\n\n\nTAK = Usuń "
                       "te pliki teraz,\n\nNIE  = Wykonaj kopię zapasową wszystkich plików przez "
                       "usunięciem,\n\nAnuluj = Nie wykonuj żadnych czynności"),
        core::MsgIcon::Warning, core::MsgButtons::YesNoCancel);
    if (answer == core::MsgAnswer::No) {
        if (backupAll)
            backupAll();
        return;
    }
    if (answer != core::MsgAnswer::Yes)
        return;
    deleteSelectedEntries();
    assessment_.resetAlert();
    finish(QStringLiteral("Usunięto zaznaczone pliki"));
}

void Deletion::quickDelete() {
    if (!m_.scan.quickDeleteEnabled() || busy_)
        return;
    core::FoundList& found = m_.foundList;
    last_ = DeletionOutcome();
    if (m_.archive.busy) {
        s_.ui->showMessage(QString::fromUtf8(core::kArchiveBusyMessage));
        return;
    }
    if (found.isEmpty()) {
        s_.ui->showMessage(QStringLiteral("Brak plików na liście przeznaczonych do usunięcia !"));
        return;
    }
    ignore_.removeIgnoredFromFoundList(found);
    status_.show(kDeleting);
    found.setAllSelected(true);
    assessment_.resetAlert();
    m_.foundListEnabled = false;
    std::optional<QSet<QString>> stored;
    if (m_.options.backupBeforeQuickDelete && backupAll) {
        const BackupBeforeDeletion backup = backupAll();
        if (!backup.written) {
            // Without a whole archive nothing goes; the archive's own
            // message has said why.
            m_.foundListEnabled = true;
            status_.show(QStringLiteral("Nie utworzono kopii zapasowej - nie usunięto plików"));
            return;
        }
        stored.emplace();
        stored->reserve(backup.stored.size());
        for (const QString& path : backup.stored)
            stored->insert(platform::pathKey(path));
    }
    status_.show(kDeleting);
    deleteSelectedEntries(stored ? &*stored : nullptr);
    m_.foundListEnabled = true;
    if (!last_.notBackedUp.isEmpty())
        s_.ui->showMessage(notBackedUpMessage(last_.notBackedUp));
    finish(QStringLiteral("Usuwanie zakończone !"));
}

void Deletion::selectAllFound() {
    core::FoundList& found = m_.foundList;
    if (found.isEmpty()) {
        status_.show(QStringLiteral("Lista znalezionych plików jest pusta"));
        return;
    }
    status_.show(QStringLiteral("Zaznaczanie plików"));
    found.setAllSelected(true);
    assessment_.resetAlert();
    status_.show(QStringLiteral("Zaznaczono wszystkie pliki"));
}

void Deletion::dropCheckedFound() {
    core::FoundList& found = m_.foundList;
    std::vector<bool> checked(size_t(found.count()), false);
    for (qsizetype i = 0; i < found.count(); ++i)
        checked[size_t(i)] = found.isChecked(i);
    const qsizetype dropped = found.removeFlagged(checked);
    m_.scan.foundCaption = core::FoundCaption::Remaining;
    m_.scan.foundCount = found.count();
    status_.show(dropped > 0
                     ? QStringLiteral("Wyrzucono pliki z listy")
                     : QStringLiteral("Brak zaznaczonych (ptaszkiem) plików do wyrzucenia"));
}

void Deletion::openCurrentFile() {
    if (!m_.scan.openFileEnabled())
        return;
    status_.show(QStringLiteral("Otwieranie pliku..."));
    const core::PathList* list = m_.listOfActiveTab();
    if (!list)
        return;
    if (list->current() < 0) {
        status_.show(QStringLiteral("Nie wybrano pliku do otwarcia"));
        return;
    }
    if (!s_.ui->openWithShell(list->path(list->current())))
        status_.show(QStringLiteral("Nie można otworzyć pliku"));
}

void Deletion::sortFoundList() {
    m_.foundList.sort(core::foundListOrder(*s_.locale));
    m_.foundListSorted = true;
    assessment_.resetAlert();
}

void Deletion::clearFoundList() {
    m_.foundList.clear();
    core::ScanState& scan = m_.scan;
    status_.show(QStringLiteral("Odświeżono listę"));
    assessment_.resetAlert();
    scan.ignoredCount = 0;
    scan.foundCount = 0;
    scan.suspiciousCount = 0;
    scan.foundSizeKb = 0;
}

} // namespace pylomir::records
