#include "ignore/ignore_lists.h"

#include "platform/file_names.h"
#include "platform/file_system.h"
#include "platform/program_dir.h"
#include "platform/text_file.h"

#include <QHash>

namespace pylomir::ignore {

QStringList subtractSamePaths(const QStringList& source, const QStringList& removal) {
    // Each source entry takes the first equal removal entry still unused.
    // Equal entries are interchangeable, so a count per path key gives the
    // same result as searching the removal list entry by entry, in linear
    // time. What is left of the removal list is not needed.
    QHash<QString, qsizetype> available;
    for (const QString& r : removal)
        ++available[platform::pathKey(r)];
    QStringList kept;
    kept.reserve(source.size());
    for (const QString& s : source) {
        auto it = available.find(platform::pathKey(s));
        if (it != available.end() && *it > 0)
            --*it;
        else
            kept.append(s);
    }
    return kept;
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
    l_.ignoredFilesCount = l_.ignoredFiles.count();
    l_.ignoredMasksCount = l_.ignoredMasks.size();
}

bool IgnoreLists::addToIgnoredFiles(const QString& path) {
    if (l_.ignoredFiles.contains(path))
        return false;
    l_.ignoredFiles.append(path);
    return true;
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
