// The two ignore lists: their files, and the comparison that takes ignored
// files off the found list.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

namespace pylomir::ignore {

// Each removal entry takes away at most one source entry naming the same
// path (platform::samePath: letter case counts except on Windows); the
// entries kept come back in source order.
QStringList subtractSamePaths(const QStringList& source, const QStringList& removal);

// What the ignore comparison did to the found list.
struct IgnoreComparison {
    qsizetype kept = 0;
    qsizetype removed = 0;
};

class IgnoreLists {
public:
    IgnoreLists(core::IgnoreListsState& lists, const core::Services& services);

    // Reads both lists at start-up, creating missing files empty.
    void loadAtStartup();
    // Appends a path to the ignored files unless the same path is listed
    // already (platform::samePath); true when it was added. Nothing is written.
    bool addToIgnoredFiles(const QString& path);
    // The ignore comparison: found entries on the ignored-files list leave the
    // found list, which ends with every entry unchecked.
    IgnoreComparison removeIgnoredFromFoundList(core::FoundList& found) const;
    // Writes a list to its file; reports a failure. A list whose file could
    // not be read at start is never written over it (the user is told once).
    bool writeIgnoredFiles();
    bool writeIgnoredMasks();

    QString ignoredFilesPath() const;
    QString ignoredMasksPath() const;

private:
    struct ListFileState {
        bool unread = false;        // the file exists but could not be read
        bool toldUnwritten = false; // the user knows it is not written
    };

    bool readList(const QString& path, QStringList& list);
    bool writeList(const QString& path, const QStringList& list, ListFileState& file);

    core::IgnoreListsState& l_;
    core::Services s_;
    ListFileState files_;
    ListFileState masks_;
};

} // namespace pylomir::ignore
