#include "engine/file_search.h"

#include "platform/clock.h"
#include "platform/listing_prefetcher.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <deque>
#include <optional>
#include <vector>

namespace pylomir::engine {

namespace {

const qint64 dayZero = QDate(1899, 12, 30).toJulianDay();

// The date part of a calendar time, or nothing when the time is not a date.
std::optional<double> dateOf(const SystemTime& t) {
    const QDate d(t.year, t.month, t.day);
    if (!d.isValid())
        return std::nullopt;
    return double(d.toJulianDay() - dayZero);
}

} // namespace

SerialDateTime serialDateTime(const QDateTime& dt) {
    const double days = double(dt.date().toJulianDay() - dayZero);
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Before day zero the fraction still counts forward from midnight.
    return days < 0 ? days - fraction : days + fraction;
}

SerialDateTime today() {
    return serialDateTime(platform::systemClock().now());
}

FolderWalker::FolderWalker()
    : firstDate(today()), secondDate(firstDate), wantedMasks{QStringLiteral("*.*")},
      rootFolder(QLatin1Char('.') + platform::separator()) {}

bool FolderWalker::search() {
    platform::FileSystem& fs =
        environment.fileSystem ? *environment.fileSystem : platform::realFileSystem();
    platform::Clock& clock = environment.clock ? *environment.clock : platform::systemClock();
    core::MessagePump* const pump = environment.pump;
    const auto breathe = [pump] {
        if (pump)
            pump->processPendingMessages();
    };
    const QChar sep = platform::separator();

    // Compiled once per search; an invalid mask still raises its error only
    // when an entry's test reaches it.
    const MaskList wanted(wantedMasks);
    const MaskList excluded(excludedMasks);
    const bool wantedHoldsAll = wanted.holdsStarDotStar();

    const bool includeSubfolders = options.testFlag(SearchOption::IncludeSubfolders);
    const bool anyFile = options.testFlag(SearchOption::AnyFile);
    const bool testDate = enabledTests.testFlag(EntryTest::Date);
    const bool testSize = enabledTests.testFlag(EntryTest::Size);
    const qint32 wantedAttributes =
        (options.testFlag(SearchOption::ReadOnly) ? platform::faReadOnly : 0) |
        (options.testFlag(SearchOption::Hidden) ? platform::faHidden : 0) |
        (options.testFlag(SearchOption::System) ? platform::faSysFile : 0) |
        (options.testFlag(SearchOption::Folders) ? platform::faDirectory : 0) |
        (options.testFlag(SearchOption::Archive) ? platform::faArchive : 0);
    if (testDate) {
        firstDate = std::trunc(firstDate);
        secondDate = std::trunc(secondDate);
    }
    const auto dateMark = [this](const SystemTime& t) {
        const std::optional<double> d = dateOf(t);
        if (!d)
            return false;
        switch (dateComparison) {
        case DateComparison::Between:
            return firstDate <= *d && *d <= secondDate;
        case DateComparison::Before:
            return *d < firstDate;
        case DateComparison::After:
            return *d > firstDate;
        case DateComparison::SameDay:
            return *d == firstDate;
        }
        return false;
    };
    const auto datePasses = [&](const platform::FileTimes& t) {
        switch (dateTestTime) {
        case DateTestTime::Created:
            return dateMark(t.creation);
        case DateTestTime::Modified:
            return dateMark(t.lastWrite);
        case DateTestTime::Accessed:
            return dateMark(t.lastAccess);
        case DateTestTime::Any:
            return dateMark(t.creation) || dateMark(t.lastWrite) || dateMark(t.lastAccess);
        }
        return false;
    };

    std::deque<QString> queue;
    unlistedFolders.clear();
    SearchStatistics stats;
    bool result = true;
    const quint32 start = clock.tickCount();
    QString folder = rootFolder;
    bool isRoot = true;
    FoundEntry entry;
    // Every folder queued goes to the lister once its parent's listing is
    // done, so a change made while the parent is read still shows.
    std::optional<platform::ListingPrefetcher> ahead;
    if (includeSubfolders && environment.listAhead && fs.listsAhead()) {
        ahead.emplace(fs);
        ahead->hold(aheadHeld_);
        ahead_ = &*ahead;
    }
    // A mask error leaves by exception: the pointer must not outlive the lister.
    struct ForgetAhead {
        FolderWalker* walker;
        ~ForgetAhead() { walker->ahead_ = nullptr; }
    } forgetAhead{this};
    std::vector<QString> queuedHere;

    for (;;) {
        if (!isRoot) {
            if (queue.empty())
                break;
            folder = std::move(queue.front());
            queue.pop_front();
            breathe();
        }
        const bool listingRoot = isRoot;
        isRoot = false;
        if (onFolderEntered)
            onFolderEntered(folder);
        // An empty path would become the file-system root; treat it as a
        // folder that cannot be listed instead.
        std::unique_ptr<platform::DirListing> listing;
        bool sepAdded = false;
        if (!folder.isEmpty()) {
            if (!folder.endsWith(sep)) {
                folder += sep;
                sepAdded = true;
            }
            listing = ahead && !listingRoot ? ahead->takeNext() : fs.list(folder);
        }
        if (!listing) {
            if (listingRoot) {
                result = false;
                break;
            }
            if (sepAdded)
                folder.chop(1);
            unlistedFolders.append(std::move(folder));
            continue;
        }
        breathe();
        bool firstFile = true;
        while (listing->next()) {
            const QStringView name = listing->name();
            if (name == u"." || name == u"..")
                continue;
            const bool isDir = listing->isDirectory();
            if (isDir && includeSubfolders) {
                QString sub = folder;
                sub.append(name);
                if (ahead)
                    queuedHere.push_back(sub + sep);
                queue.push_back(std::move(sub));
            }
            breathe();

            // Both name tests always run, since either may raise a mask
            // error; the other tests have no side effects and are only
            // needed when the name passes.
            bool nameExcluded = false;
            if (!excluded.isEmpty()) {
                breathe();
                nameExcluded = excluded.matchesAny(name);
            }
            bool nameWanted = false;
            if (!wanted.isEmpty()) {
                breathe();
                nameWanted = wanted.matchesAny(name);
            }
            if (isDir && wantedHoldsAll)
                nameWanted = true;
            if (nameExcluded || !nameWanted)
                continue;

            const qint32 attributes = listing->attributes();
            bool accepted = (attributes & wantedAttributes) != 0 || (anyFile && !isDir);
            const qint64 wholeSize = isDir ? 0 : listing->size();
            const qint32 size = qint32(quint32(quint64(wholeSize)));
            // The whole size is compared: its low 32 bits would let a file of
            // 4 GiB and more pass for a small one.
            if (accepted && testSize) {
                accepted = sizeComparison == SizeComparison::AtMost ? wholeSize <= sizeLimit
                                                                    : wholeSize >= sizeLimit;
            }
            if (!accepted)
                continue;
            const platform::FileTimes times = listing->times();
            if (testDate && !datePasses(times))
                continue;

            entry.name = name.toString();
            entry.folder = folder;
            entry.attributes = attributes;
            entry.size = size;
            entry.byteSize.reset();
            if (listing->detailsKnown())
                entry.byteSize = isDir ? 0 : listing->size();
            entry.created = times.creation;
            entry.lastAccessed = times.lastAccess;
            entry.lastModified = times.lastWrite;
            if (onAcceptEntry && !onAcceptEntry(entry))
                continue;
            if (isDir) {
                ++stats.foldersFound;
            } else {
                ++stats.filesFound;
                if (firstFile) {
                    firstFile = false;
                    ++stats.foldersWithFiles;
                }
            }
            if (onEntryFound)
                onEntryFound(entry);
        }
        listing.reset();
        if (!queuedHere.empty()) {
            ahead->enqueue(queuedHere.data(), queuedHere.data() + queuedHere.size());
            queuedHere.clear();
        }
        breathe();
    }

    stats.elapsedMs = qint32(quint32(clock.tickCount() - start));
    if (onStatistics)
        onStatistics(stats);
    return result;
}

void FolderWalker::holdListingAhead(bool held) {
    aheadHeld_ = held;
    if (ahead_)
        ahead_->hold(held);
}

FileSearch::FileSearch()
    : firstDate(today()), secondDate(firstDate), walker_(std::make_unique<FolderWalker>()) {
    // The walker's events go out with the component as sender, each with
    // its own copy of the entry.
    walker_->onEntryFound = [this](FoundEntry& e) {
        if (onEntryFound) {
            FoundEntry copy = e;
            onEntryFound(this, copy);
        }
    };
    walker_->onAcceptEntry = [this](FoundEntry& e) {
        if (!onAcceptEntry)
            return true;
        FoundEntry copy = e;
        return onAcceptEntry(this, copy);
    };
    walker_->onFolderEntered = [this](const QString& folder) {
        if (onFolderEntered)
            onFolderEntered(this, folder);
    };
    walker_->onStatistics = [this](SearchStatistics& s) {
        if (onStatistics) {
            SearchStatistics copy = s;
            onStatistics(this, copy);
        }
    };
}

QStringList& FileSearch::wantedMasks() {
    if (core::MessagePump* pump = walker_->environment.pump)
        pump->processPendingMessages();
    return wanted_;
}

QString FileSearch::rootFolder() const {
    return walker_->rootFolder;
}

void FileSearch::setRootFolder(const QString& folder) {
    walker_->rootFolder = folder;
}

void FileSearch::setEnvironment(const SearchEnvironment& env) {
    walker_->environment = env;
}

const SearchEnvironment& FileSearch::environment() const {
    return walker_->environment;
}

const QStringList& FileSearch::unlistedFolders() const {
    return walker_->unlistedFolders;
}

void FileSearch::holdListingAhead(bool held) {
    walker_->holdListingAhead(held);
}

bool FileSearch::listingAheadHeld() const {
    return walker_->listingAheadHeld();
}

bool FileSearch::search() {
    FolderWalker& w = *walker_;
    w.options = options;
    w.enabledTests = enabledTests;
    w.dateTestTime = dateTestTime;
    w.dateComparison = dateComparison;
    w.firstDate = firstDate;
    w.secondDate = secondDate;
    w.sizeComparison = sizeComparison;
    w.sizeLimit = sizeLimit;
    w.excludedMasks = excluded_;
    w.wantedMasks = wanted_;
    if (core::MessagePump* pump = w.environment.pump)
        pump->processPendingMessages();
    return w.search();
}

} // namespace pylomir::engine
