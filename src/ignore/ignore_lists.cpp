#include "ignore/ignore_lists.h"

#include "engine/mask.h"
#include "platform/file_names.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "platform/text_file.h"

#include <QSet>

#include <algorithm>

namespace pylomir::ignore {

namespace {

const QString kConfirmCaption = QStringLiteral("Pylomir") + QString(24, QLatin1Char(' '));

// The order of a sorted list: letter case ignored, then the exact text, so
// the order never depends on which entry came first.
bool before(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// Where an addition goes in a sorted list: after the entries that sort with it.
template <class Get> qsizetype sortedPlace(qsizetype count, const QString& entry, Get at) {
    qsizetype lo = 0;
    qsizetype hi = count;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (before(entry, at(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

} // namespace

QString maskKey(const QString& mask) {
    return mask.toCaseFolded();
}

QStringList subtractSamePaths(const QStringList& source, const QStringList& removal) {
    QSet<QString> removed;
    removed.reserve(removal.size());
    for (const QString& r : removal)
        removed.insert(platform::pathKey(r));
    QStringList kept;
    kept.reserve(source.size());
    for (const QString& s : source) {
        if (!removed.contains(platform::pathKey(s)))
            kept.append(s);
    }
    return kept;
}

QString maskForFileName(const QString& name) {
    QString mask;
    mask.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'[') {
            mask += QLatin1Char('[');
            mask += c;
            mask += QLatin1Char(']');
        } else if (u >= u'A' && u <= u'Z') {
            mask += QChar(char16_t(u + 32));
        } else {
            mask += c;
        }
    }
    return mask;
}

bool sameMask(const QString& a, const QString& b) {
    return maskKey(a) == maskKey(b);
}

IgnoreLists::IgnoreLists(core::IgnoreListsState& lists, const core::Services& services)
    : l_(lists), s_(services) {}

QString IgnoreLists::ignoredFilesPath() const {
    return platform::filtersDir(s_.programDir) + QStringLiteral("ignoralplik.dat");
}

QString IgnoreLists::ignoredMasksPath() const {
    return platform::filtersDir(s_.programDir) + QStringLiteral("ignoraltyp.dat");
}

bool IgnoreLists::readList(const QString& path, QStringList& list) {
    QString reason;
    QStringList lines;
    if (!platform::readListFile(*s_.fileSystem, path, lines, &reason)) {
        s_.ui->showError(platform::cannotOpenMessage(path, reason));
        return false;
    }
    list = lines;
    return true;
}

bool IgnoreLists::writeList(const QString& path, const QStringList& list, ListFileState& file) {
    // The file still holds entries this list never got: writing would wipe
    // them. The list lives on in memory until the program ends.
    if (file.unread) {
        if (!file.toldUnwritten) {
            file.toldUnwritten = true;
            s_.ui->showMessage(platform::unreadListNotSavedMessage(path));
        }
        return false;
    }
    QString reason;
    QStringList skipped;
    if (!platform::writeListFile(*s_.fileSystem, path, list, &reason, &skipped)) {
        s_.ui->showError(platform::cannotCreateMessage(path, reason));
        return false;
    }
    if (!skipped.isEmpty())
        s_.ui->showError(platform::skippedLinesMessage(path, skipped));
    return true;
}

void IgnoreLists::loadAtStartup() {
    if (s_.fileSystem->exists(ignoredFilesPath())) {
        QStringList files;
        if (readList(ignoredFilesPath(), files))
            l_.ignoredFiles.assign(files);
        else
            files_.unread = true;
    } else {
        writeIgnoredFiles();
    }
    if (s_.fileSystem->exists(ignoredMasksPath()))
        masks_.unread = !readList(ignoredMasksPath(), l_.ignoredMasks);
    else
        writeIgnoredMasks();
    countLists();
}

bool IgnoreLists::addToIgnoredFiles(const QString& path) {
    if (l_.ignoredFiles.contains(path))
        return false;
    placeIgnoredFile(path);
    // A scan adds here too: the shown count must not lag behind the list.
    l_.ignoredFilesCount = l_.ignoredFiles.count();
    return true;
}

void IgnoreLists::placeIgnoredFile(const QString& path) {
    core::PathList& files = l_.ignoredFiles;
    if (!l_.ignoredFilesSorted) {
        files.append(path);
        return;
    }
    files.insert(sortedPlace(files.count(), path, [&files](qsizetype i) { return files.path(i); }),
                 path);
}

void IgnoreLists::placeIgnoredMask(const QString& mask) {
    QStringList& masks = l_.ignoredMasks;
    if (!l_.ignoredMasksSorted) {
        masks.append(mask);
        return;
    }
    const qsizetype at =
        sortedPlace(masks.size(), mask, [&masks](qsizetype i) { return masks[i]; });
    masks.insert(at, mask);
    if (l_.currentMask >= at)
        ++l_.currentMask;
}

void IgnoreLists::countLists() {
    l_.ignoredFilesCount = l_.ignoredFiles.count();
    l_.ignoredMasksCount = l_.ignoredMasks.size();
}

bool IgnoreLists::acceptMask(const QString& mask) {
    const engine::Mask compiled(mask);
    if (compiled.isValid())
        return true;
    s_.ui->showError(engine::MaskError(mask, compiled.errorPosition()).message());
    return false;
}

void IgnoreLists::addMaskUnlessListed(const QString& mask) {
    for (const QString& m : std::as_const(l_.ignoredMasks)) {
        if (sameMask(m, mask))
            return;
    }
    if (acceptMask(mask))
        placeIgnoredMask(mask);
}

void IgnoreLists::addIgnoredFile() {
    const QString path = l_.newIgnoredFileText;
    if (path.isEmpty())
        s_.ui->showMessage(QStringLiteral("Nie podano ścieżki do żadnego pliku !"));
    else
        addToIgnoredFiles(path);
    countLists();
    writeIgnoredFiles();
}

void IgnoreLists::addIgnoredMask() {
    const QString mask = l_.newIgnoredMaskText;
    if (mask.isEmpty())
        s_.ui->showMessage(QStringLiteral("Nie podano żadnego typu filtra !"));
    else
        addMaskUnlessListed(mask);
    countLists();
    writeIgnoredMasks();
}

void IgnoreLists::addNameToIgnoredMasks(const QString& nameField) {
    if (nameField.isEmpty() || nameField == QLatin1String("-"))
        s_.ui->showMessage(QStringLiteral("Nie podano żadnego typu filtra !"));
    else
        addMaskUnlessListed(maskForFileName(nameField));
    countLists();
    writeIgnoredMasks();
}

void IgnoreLists::removeCurrentIgnoredFile() {
    l_.ignoredFiles.removeAt(l_.ignoredFiles.current());
    countLists();
    writeIgnoredFiles();
}

void IgnoreLists::removeCurrentIgnoredMask() {
    const qsizetype at = l_.currentMask;
    if (at >= 0 && at < l_.ignoredMasks.size()) {
        l_.ignoredMasks.removeAt(at);
        l_.currentMask = -1;
    }
    countLists();
    writeIgnoredMasks();
}

void IgnoreLists::clearIgnoredFiles() {
    if (s_.ui->messageBox(
            kConfirmCaption,
            QStringLiteral("Czy napewno chcesz usunąć całą listę ignorowanych plików ?"),
            core::MsgIcon::Warning, core::MsgButtons::YesNo) == core::MsgAnswer::Yes)
        l_.ignoredFiles.clear();
    countLists();
    writeIgnoredFiles();
}

void IgnoreLists::clearIgnoredMasks() {
    if (s_.ui->messageBox(
            kConfirmCaption,
            QStringLiteral("Czy napewno chcesz usunąć całą listę ignorowanych filtrów ?"),
            core::MsgIcon::Warning, core::MsgButtons::YesNo) == core::MsgAnswer::Yes) {
        l_.ignoredMasks.clear();
        l_.currentMask = -1;
    }
    countLists();
    writeIgnoredMasks();
}

void IgnoreLists::sortIgnoredFiles() {
    l_.ignoredFilesSorted = true;
    QStringList paths = l_.ignoredFiles.paths();
    std::stable_sort(paths.begin(), paths.end(), before);
    l_.ignoredFiles.assign(paths);
    writeIgnoredFiles();
}

void IgnoreLists::sortIgnoredMasks() {
    l_.ignoredMasksSorted = true;
    std::stable_sort(l_.ignoredMasks.begin(), l_.ignoredMasks.end(), before);
    l_.currentMask = -1;
    writeIgnoredMasks();
}

bool IgnoreLists::deleteCurrentIgnoredFile() {
    core::PathList& files = l_.ignoredFiles;
    const qsizetype at = files.current();
    if (at < 0) {
        writeIgnoredFiles();
        return false;
    }
    const QString path = files.path(at);
    // The user may have listed the file to keep it: nothing goes unasked.
    if (s_.ui->messageBox(
            kConfirmCaption,
            QStringLiteral("Czy na pewno chcesz usunąć ten plik z dysku?\n%1").arg(path),
            core::MsgIcon::Warning, core::MsgButtons::YesNo) != core::MsgAnswer::Yes)
        return false;
    platform::FileSystem& fs = *s_.fileSystem;
    if (fs.findFirst(path)) {
        QString reason;
        if (fs.removeFile(path, &reason))
            files.removeAt(at);
        else
            s_.ui->showError(QStringLiteral("Nie można usunąć pliku:\n%1\n%2").arg(path, reason));
    }
    countLists();
    writeIgnoredFiles();
    return true;
}

void IgnoreLists::appendMovedFiles(const QStringList& paths) {
    core::PathList& files = l_.ignoredFiles;
    if (l_.ignoredFilesSorted && !paths.isEmpty()) {
        // Merged in one go: the same order as putting each in its place.
        QStringList all = files.paths() + paths;
        std::stable_sort(all.begin(), all.end(), before);
        files.assign(all);
    } else {
        for (const QString& p : paths)
            files.append(p);
    }
    countLists();
    writeIgnoredFiles();
}

qsizetype IgnoreLists::addIgnoredFiles(const QStringList& paths) {
    qsizetype added = 0;
    for (const QString& p : paths) {
        if (!p.isEmpty() && addToIgnoredFiles(p))
            ++added;
    }
    countLists();
    writeIgnoredFiles();
    return added;
}

qsizetype IgnoreLists::removeIgnoredFiles(const QStringList& paths) {
    QSet<QString> gone;
    for (const QString& p : paths)
        gone.insert(platform::pathKey(p));
    core::PathList& files = l_.ignoredFiles;
    std::vector<bool> flags(size_t(files.count()), false);
    for (qsizetype i = 0; i < files.count(); ++i)
        flags[size_t(i)] = gone.contains(platform::pathKey(files.path(i)));
    const qsizetype removed = files.removeFlagged(flags);
    countLists();
    writeIgnoredFiles();
    return removed;
}

qsizetype IgnoreLists::addIgnoredMasks(const QStringList& masks) {
    QSet<QString> listed;
    for (const QString& m : std::as_const(l_.ignoredMasks))
        listed.insert(maskKey(m));
    qsizetype added = 0;
    for (const QString& m : masks) {
        if (m.isEmpty() || listed.contains(maskKey(m)) || !acceptMask(m))
            continue;
        listed.insert(maskKey(m));
        placeIgnoredMask(m);
        ++added;
    }
    countLists();
    writeIgnoredMasks();
    return added;
}

qsizetype IgnoreLists::removeIgnoredMasks(const QStringList& masks) {
    QSet<QString> gone;
    for (const QString& m : masks)
        gone.insert(maskKey(m));
    const qsizetype removed =
        l_.ignoredMasks.removeIf([&gone](const QString& m) { return gone.contains(maskKey(m)); });
    if (removed > 0)
        l_.currentMask = -1;
    countLists();
    writeIgnoredMasks();
    return removed;
}

IgnoreComparison IgnoreLists::removeIgnoredFromFoundList(core::FoundList& found) const {
    const QStringList foundCopy = found.paths();
    found.assign(subtractSamePaths(foundCopy, l_.ignoredFiles.paths()));
    return {found.count(), foundCopy.size() - found.count()};
}

bool IgnoreLists::writeIgnoredFiles() {
    return writeList(ignoredFilesPath(), l_.ignoredFiles.paths(), files_);
}

bool IgnoreLists::writeIgnoredMasks() {
    return writeList(ignoredMasksPath(), l_.ignoredMasks, masks_);
}

} // namespace pylomir::ignore
