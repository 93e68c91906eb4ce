// The two ignore lists: their files, the commands that edit them, and the
// comparison that takes ignored files off the found list.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QString>
#include <QStringList>

namespace pylomir::ignore {

// The source entries that name none of the removal list's paths, in source
// order (platform::samePath: letter case counts except on Windows). Every
// equal source entry goes, so a path listed twice never keeps a copy.
QStringList subtractSamePaths(const QStringList& source, const QStringList& removal);

// The mask made of the object window's name field: letters A to Z in lower
// case (the masks ignore their case anyway), '*' and '?' kept as the
// wildcards the field offers, and '[' taken literally, so a cached name
// such as logo[1].gif still ignores itself.
QString maskForFileName(const QString& name);

// Whether two masks are the same entry of the ignored masks (letter case
// ignored), and the text two masks share exactly when they are.
bool sameMask(const QString& a, const QString& b);
QString maskKey(const QString& mask);

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
    // Adds a path to the ignored files unless the same path is listed
    // already (platform::samePath); true when it was added. Nothing is written.
    bool addToIgnoredFiles(const QString& path);
    // The ignore comparison: found entries on the ignored-files list leave the
    // found list, which ends with every entry unchecked.
    IgnoreComparison removeIgnoredFromFoundList(core::FoundList& found) const;
    // Writes a list to its file; reports a failure. A list whose file could
    // not be read at start is never written over it (the user is told once).
    bool writeIgnoredFiles();
    bool writeIgnoredMasks();

    // The commands of the "Ignorowania" tab and the lists' pop-up menus.
    // Each writes the list it may change, also when nothing changed.
    void addIgnoredFile(); // the new-path field
    void addIgnoredMask(); // the new-mask field; a mask the mask rule refuses is not added
    // "Dodaj do filtra ignorow." of the object information window: its name
    // field, turned into the mask of that one name.
    void addNameToIgnoredMasks(const QString& nameField);
    void removeCurrentIgnoredFile();
    void removeCurrentIgnoredMask();
    void clearIgnoredFiles(); // asks first
    void clearIgnoredMasks();
    void sortIgnoredFiles();
    void sortIgnoredMasks();
    // "Usuń ten plik z dysku": asks, then deletes the current ignored file and
    // drops its entry; a file that stays keeps its entry and the user is told
    // why. False when nothing was asked or the user said no.
    bool deleteCurrentIgnoredFile();
    // Found entries moved here by the user: appended (or put in order while
    // the list is sorted) with no duplicate check, then written.
    void appendMovedFiles(const QStringList& paths);

    // For scripts: each path or mask not listed yet is added; each one given
    // takes away every equal entry. Written once; return how many changed.
    qsizetype addIgnoredFiles(const QStringList& paths);
    qsizetype removeIgnoredFiles(const QStringList& paths);
    qsizetype addIgnoredMasks(const QStringList& masks);
    qsizetype removeIgnoredMasks(const QStringList& masks);

    QString ignoredFilesPath() const;
    QString ignoredMasksPath() const;

private:
    struct ListFileState {
        bool unread = false;        // the file exists but could not be read
        bool toldUnwritten = false; // the user knows it is not written
    };

    bool readList(const QString& path, QStringList& list);
    bool writeList(const QString& path, const QStringList& list, ListFileState& file);
    // Adds one path or mask at its place (the end, or its sorted place).
    void placeIgnoredFile(const QString& path);
    void placeIgnoredMask(const QString& mask);
    // Whether a mask obeys the mask rule; tells the rule's message if not.
    bool acceptMask(const QString& mask);
    void addMaskUnlessListed(const QString& mask);
    void countLists();

    core::IgnoreListsState& l_;
    core::Services s_;
    ListFileState files_;
    ListFileState masks_;
};

} // namespace pylomir::ignore
