// The folder-tree walker: FolderWalker (the breadth-first traversal) and
// FileSearch (the component that carries the settings and relays the events).
#pragma once

#include "core/message_pump.h"
#include "engine/mask.h"
#include "platform/file_system.h"

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace pylomir::platform {
class ListingPrefetcher;
}
#include <optional>

namespace pylomir::platform {
class Clock;
}

namespace pylomir::engine {

using platform::SystemTime;

// Days since 30 December 1899; the fraction is the time of day.
using SerialDateTime = double;
SerialDateTime serialDateTime(const QDateTime& dt);
SerialDateTime today(); // now, from the system clock

// What the walk looks into.
enum class SearchOption {
    IncludeSubfolders = 1 << 0,
    ReadOnly = 1 << 1, // attribute 1
    Hidden = 1 << 2,   // attribute 2
    System = 1 << 3,   // attribute 4
    Folders = 1 << 4,  // attribute 16
    Archive = 1 << 5,  // attribute 32
    AnyFile = 1 << 6,  // every non-folder passes
};
Q_DECLARE_FLAGS(SearchOptions, SearchOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(SearchOptions)
inline constexpr SearchOptions kAllSearchOptions =
    SearchOption::IncludeSubfolders | SearchOption::ReadOnly | SearchOption::Hidden |
    SearchOption::System | SearchOption::Folders | SearchOption::Archive | SearchOption::AnyFile;

// The optional tests on a reported entry.
enum class EntryTest { Date = 1 << 0, Size = 1 << 1 };
Q_DECLARE_FLAGS(EntryTests, EntryTest)
Q_DECLARE_OPERATORS_FOR_FLAGS(EntryTests)

// Which file time the date test reads.
enum class DateTestTime { Created, Modified, Accessed, Any };
enum class DateComparison {
    Between, // first <= d <= second
    Before,  // d < first
    After,   // d > first
    SameDay, // d == first
};
// Against the entry's whole size (a folder's is 0).
enum class SizeComparison { AtMost, AtLeast };

// One reported directory entry.
struct FoundEntry {
    QString name;   // as listed, without folder
    QString folder; // the folder listed, ending with the separator
    qint32 attributes = 0;
    qint32 size = 0; // low 32 bits of the size; 0 for folders
    // The whole size, from the same look-up as the attributes and times;
    // nothing when the entry vanished before it.
    std::optional<qint64> byteSize;
    SystemTime created;
    SystemTime lastAccessed;
    SystemTime lastModified;

    QString fullPath() const { return folder + name; }
};

// The counters at the end of a search.
struct SearchStatistics {
    qint32 filesFound = 0;       // reported non-folders
    qint32 foldersWithFiles = 0; // folders with at least one reported file
    qint32 foldersFound = 0;     // reported folders
    qint32 elapsedMs = 0;
};

class FileSearch;

// Callbacks receive the component as sender.
using EntryFoundHandler = std::function<void(FileSearch* sender, FoundEntry& entry)>;
using AcceptEntryHandler = std::function<bool(FileSearch* sender, FoundEntry& entry)>;
using FolderEnteredHandler = std::function<void(FileSearch* sender, const QString& folder)>;
using StatisticsHandler = std::function<void(FileSearch* sender, SearchStatistics& statistics)>;

// What the traversal needs from outside: the file system, the tick clock and
// the message hook.
struct SearchEnvironment {
    platform::FileSystem* fileSystem = nullptr; // the real one when null
    platform::Clock* clock = nullptr;           // the system clock when null
    core::MessagePump* pump = nullptr;          // no message processing when null
    // Lists the queued folders ahead on a worker thread when the file
    // system allows it; the walk and its events stay on the calling thread.
    bool listAhead = true;
};

// The traversal engine.
class FolderWalker {
public:
    FolderWalker();

    SearchOptions options = kAllSearchOptions & ~SearchOptions(SearchOption::IncludeSubfolders);
    EntryTests enabledTests;
    DateTestTime dateTestTime = DateTestTime::Any;
    DateComparison dateComparison = DateComparison::Before;
    SerialDateTime firstDate = 0;
    SerialDateTime secondDate = 0;
    SizeComparison sizeComparison = SizeComparison::AtMost;
    qint32 sizeLimit = 0;
    QStringList wantedMasks;
    QString rootFolder;
    QStringList excludedMasks;

    std::function<void(FoundEntry&)> onEntryFound;
    std::function<void(const QString&)> onFolderEntered;
    std::function<void(SearchStatistics&)> onStatistics;
    std::function<bool(FoundEntry&)> onAcceptEntry; // unset accepts

    SearchEnvironment environment;

    // Folders below the root that could not be listed in the last search,
    // as the change-folder callback named them. They are skipped: one locked
    // folder must not hide the rest of the tree.
    QStringList unlistedFolders;

    // False exactly when the root folder could not be listed. Throws
    // MaskError.
    bool search();

    // Stops listing ahead while the search waits for the user (a paused
    // scan), so nothing is read that the user may still change.
    void holdListingAhead(bool held);
    bool listingAheadHeld() const { return aheadHeld_; }

private:
    platform::ListingPrefetcher* ahead_ = nullptr; // during search() only
    bool aheadHeld_ = false;
};

// The component: settings with their defaults, and relayed events.
class FileSearch {
public:
    FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    QString version() const { return QStringLiteral("TEasyFileSearch v1.03"); }

    SearchOptions options = kAllSearchOptions;
    EntryTests enabledTests; // none
    DateTestTime dateTestTime = DateTestTime::Any;
    DateComparison dateComparison = DateComparison::SameDay;
    SerialDateTime firstDate;
    SerialDateTime secondDate; // only for Between
    SizeComparison sizeComparison = SizeComparison::AtMost;
    qint32 sizeLimit = 0; // bytes

    // Names never reported.
    const QStringList& excludedMasks() const { return excluded_; }
    void setExcludedMasks(const QStringList& masks) { excluded_ = masks; }
    QStringList& excludedMasksRef() { return excluded_; }
    // Names reported. Reading the list processes pending messages first;
    // callers fill it in place.
    QStringList& wantedMasks();
    void setWantedMasks(const QStringList& masks) { wanted_ = masks; }

    QString rootFolder() const;
    void setRootFolder(const QString& folder);

    EntryFoundHandler onEntryFound;
    AcceptEntryHandler onAcceptEntry;
    FolderEnteredHandler onFolderEntered;
    StatisticsHandler onStatistics;

    // The file system, clock and message hook the searches use.
    void setEnvironment(const SearchEnvironment& env);
    const SearchEnvironment& environment() const;

    // Copies the settings into the walker, processes pending messages once
    // and walks. False exactly when the root folder could not be listed.
    // Throws MaskError.
    bool search();
    // The folders below the root the last search skipped, in the order
    // they were entered.
    const QStringList& unlistedFolders() const;
    // See FolderWalker::holdListingAhead.
    void holdListingAhead(bool held);
    bool listingAheadHeld() const;

private:
    std::unique_ptr<FolderWalker> walker_;
    QStringList excluded_;
    QStringList wanted_{QStringLiteral("*.*")};
};

} // namespace pylomir::engine
