// An ordered list of full paths, each with its selected, checked and current
// states, and an index beside it so that "is this path listed?" costs
// constant time. Paths compare as the file system compares them
// (platform::samePath). The found list is one; so is the list of
// ignored files.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

namespace pylomir::platform {
class LocaleFormats;
}

namespace pylomir::core {

// Told of every change, so a view can follow without copying the list.
class PathListObserver {
public:
    virtual ~PathListObserver() = default;
    virtual void entriesAppended(qsizetype first, qsizetype count) = 0;
    virtual void aboutToChangeStructure() = 0; // removals and replacements
    virtual void structureChanged() = 0;
    virtual void statesChanged() = 0; // checked, selected or current
};

class PathList {
public:
    qsizetype count() const { return qsizetype(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }
    const QString& path(qsizetype i) const { return entries_[size_t(i)].path; }
    bool isChecked(qsizetype i) const { return entries_[size_t(i)].checked; }
    bool isSelected(qsizetype i) const { return entries_[size_t(i)].selected; }
    // The entry with the focus, or -1.
    qsizetype current() const { return current_; }

    void setChecked(qsizetype i, bool on);
    // Sets or clears every check mark at once.
    void setAllChecked(bool on);
    void setSelected(qsizetype i, bool on);
    void setAllSelected(bool on);
    void setCurrent(qsizetype i);

    // Whether the same path is listed (letter case counts except on Windows).
    bool contains(QStringView path) const;
    // Appends one unchecked entry (duplicates are the caller's business).
    void append(const QString& path);
    // Replaces the whole content; every entry unchecked and unselected, no current.
    void assign(const QStringList& paths);
    // Puts one unchecked entry at position i (0 to count()).
    void insert(qsizetype i, const QString& path);
    void removeAt(qsizetype i);
    // Removes every entry whose flag is set (flags has count() of them) in
    // one pass; the others keep their order and states. Returns how many went.
    qsizetype removeFlagged(const std::vector<bool>& flags);
    void clear();
    QStringList paths() const;

    // The order of a sorted list.
    using Less = std::function<bool(const QString&, const QString&)>;
    // Puts the entries in order (equal ones keep theirs); each keeps its
    // states, and the current entry stays current.
    void sort(const Less& less);
    // Where a path goes in a list sorted by less: after the entries that
    // sort with it.
    qsizetype sortedPlace(const QString& path, const Less& less) const;

    // Changes whenever an entry may have moved to another index (removals,
    // insertions, sorting, replacing); appending leaves it. Long work that
    // holds indices across a pause for events checks it.
    quint64 layoutGeneration() const { return layoutGeneration_; }

    void setObserver(PathListObserver* observer) { observer_ = observer; }

private:
    struct Entry {
        QString path;
        size_t hash = 0;
        bool selected = false;
        bool checked = false;
    };
    void rebuildIndex();
    void indexInsert(quint32 entry);

    std::vector<Entry> entries_;
    // Open addressing: entry index + 1 per slot, 0 = empty.
    std::vector<quint32> slots_;
    qsizetype current_ = -1;
    quint64 layoutGeneration_ = 0;
    PathListObserver* observer_ = nullptr;
};

// The found-file list of the main window.
using FoundList = PathList;

// The order of the sorted found list: letter case ignored, in the user's locale.
PathList::Less foundListOrder(const platform::LocaleFormats& locale);

} // namespace pylomir::core
