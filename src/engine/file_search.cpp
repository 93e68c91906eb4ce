#include "engine/file_search.h"

#include "platform/clock.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <deque>

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

quint32 systemTicks() {
    return platform::systemClock().tickCount();
}

} // namespace

TDateTime dateTimeFromQt(const QDateTime& dt) {
    const double days = double(dt.date().toJulianDay() - dayZero);
    const double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
    // Before day zero the fraction still counts forward from midnight.
    return days < 0 ? days - fraction : days + fraction;
}

TDateTime today() {
    return dateTimeFromQt(platform::systemClock().now());
}

TFileSearch::TFileSearch()
    : FirstDate(today()), SecondDate(FirstDate), FileNames{QStringLiteral("*.*")},
      RootPath(QLatin1Char('.') + platform::separator()) {}

TFileSearch::~TFileSearch() = default;

bool TFileSearch::Search() {
    platform::FileSystem& fs =
        environment.fileSystem ? *environment.fileSystem : platform::realFileSystem();
    quint32 (*const ticks)() = environment.tickCount ? environment.tickCount : &systemTicks;
    MessagePump* const pump = environment.pump;
    const auto breathe = [pump] {
        if (pump)
            pump->processPendingMessages();
    };
    const QChar sep = platform::separator();

    // Compiled once per search; an invalid mask still raises its error only
    // when an entry's test reaches it.
    const MaskList wanted(FileNames);
    const MaskList excluded(ExcludedFiles);
    const bool wantedHoldsAll = wanted.holdsStarDotStar();

    const qint32 wantedAttributes =
        (LookForReadOnly ? platform::faReadOnly : 0) | (LookForHidden ? platform::faHidden : 0) |
        (LookForSystem ? platform::faSysFile : 0) | (LookForDirectory ? platform::faDirectory : 0) |
        (LookForArchive ? platform::faArchive : 0);
    if (FilterOnDate) {
        FirstDate = std::trunc(FirstDate);
        SecondDate = std::trunc(SecondDate);
    }
    const auto dateMark = [this](const SystemTime& t) {
        const std::optional<double> d = dateOf(t);
        if (!d)
            return false;
        switch (DateKind) {
        case TDateFilterKind::dfkBetween:
            return FirstDate <= *d && *d <= SecondDate;
        case TDateFilterKind::dfkBefore:
            return *d < FirstDate;
        case TDateFilterKind::dfkAfter:
            return *d > FirstDate;
        case TDateFilterKind::dfkSame:
            return *d == FirstDate;
        }
        return false;
    };
    const auto datePasses = [&](const platform::FileTimes& t) {
        switch (DateAccess) {
        case TDateFilterAccessKind::dfakCreatedFiles:
            return dateMark(t.creation);
        case TDateFilterAccessKind::dfakModifiedFiles:
            return dateMark(t.lastWrite);
        case TDateFilterAccessKind::dfakOpenedFiles:
            return dateMark(t.lastAccess);
        case TDateFilterAccessKind::dfakAnyFiles:
            return dateMark(t.creation) || dateMark(t.lastWrite) || dateMark(t.lastAccess);
        }
        return false;
    };

    std::deque<QString> queue;
    TStatistics stats;
    bool result = true;
    const quint32 start = ticks();
    QString folder = RootPath;
    bool isRoot = true;
    TFileInformations record;

    for (;;) {
        if (!isRoot) {
            if (queue.empty())
                break;
            folder = std::move(queue.front());
            queue.pop_front();
            breathe();
        }
        isRoot = false;
        if (onChangeFolder)
            onChangeFolder(folder);
        // An empty path would become the file-system root; treat it as a
        // folder that cannot be listed instead.
        std::unique_ptr<platform::DirListing> listing;
        if (!folder.isEmpty()) {
            if (!folder.endsWith(sep))
                folder += sep;
            listing = fs.list(folder);
        }
        if (!listing) {
            result = false;
            break;
        }
        breathe();
        bool firstFile = true;
        while (listing->next()) {
            const QStringView name = listing->name();
            if (name == u"." || name == u"..")
                continue;
            const bool isDir = listing->isDirectory();
            if (isDir && IncludeSubfolder) {
                QString sub = folder;
                sub.append(name);
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
            bool accepted = (attributes & wantedAttributes) != 0 || (LookForAnyFile && !isDir);
            const qint32 size = isDir ? 0 : qint32(quint32(quint64(listing->size())));
            if (accepted && FilterOnSize) {
                accepted = SizeKind == TSizeFilterKind::sfkSmallerOrEqualTo
                               ? size <= SizeFilterSize
                               : size >= SizeFilterSize;
            }
            if (!accepted)
                continue;
            const platform::FileTimes times = listing->times();
            if (FilterOnDate && !datePasses(times))
                continue;

            record.Name = name.toString();
            record.Path = folder;
            record.Attributes = attributes;
            record.Size = size;
            record.CreationTime = times.creation;
            record.LastAccessTime = times.lastAccess;
            record.LastWriteTime = times.lastWrite;
            if (onAccept && !onAccept(record))
                continue;
            if (isDir) {
                ++stats.DirectoriesFound;
            } else {
                ++stats.FilesFound;
                if (firstFile) {
                    firstFile = false;
                    ++stats.FoldersWithFiles;
                }
            }
            if (onFound)
                onFound(record);
        }
        listing.reset();
        breathe();
    }

    stats.ElapsedMs = qint32(quint32(ticks() - start));
    if (onStatistics)
        onStatistics(stats);
    return result;
}

TEasyFileSearch::TEasyFileSearch(void* /*owner*/)
    : DateFilterFirstDate(today()), DateFilterSecondDate(DateFilterFirstDate),
      engine_(new TFileSearch) {
    // The engine's events go out with the component as sender, each with
    // its own copy of the record.
    engine_->onFound = [this](TFileInformations& r) {
        if (OnFileFound) {
            TFileInformations copy = r;
            OnFileFound(this, copy);
        }
    };
    engine_->onAccept = [this](TFileInformations& r) {
        if (!OnAcceptFile)
            return true;
        TFileInformations copy = r;
        return OnAcceptFile(this, copy);
    };
    engine_->onChangeFolder = [this](const QString& path) {
        if (OnChangeFolder)
            OnChangeFolder(this, path);
    };
    engine_->onStatistics = [this](TStatistics& s) {
        if (OnStatistics) {
            TStatistics copy = s;
            OnStatistics(this, copy);
        }
    };
}

TEasyFileSearch::~TEasyFileSearch() {
    delete engine_;
}

QStringList& TEasyFileSearch::FileNames() {
    if (MessagePump* pump = engine_->environment.pump)
        pump->processPendingMessages();
    return fileNames_;
}

QString TEasyFileSearch::RootPath() const {
    return engine_->RootPath;
}

void TEasyFileSearch::setRootPath(const QString& path) {
    engine_->RootPath = path;
}

void TEasyFileSearch::setEnvironment(const SearchEnvironment& env) {
    engine_->environment = env;
}

const SearchEnvironment& TEasyFileSearch::environment() const {
    return engine_->environment;
}

bool TEasyFileSearch::Search() {
    TFileSearch& e = *engine_;
    e.IncludeSubfolder = SearchOptions & okIncludeSubfolder;
    e.LookForReadOnly = SearchOptions & okLookForReadOnlyFile;
    e.LookForHidden = SearchOptions & okLookForHiddenFile;
    e.LookForSystem = SearchOptions & okLookForSystemFile;
    e.LookForDirectory = SearchOptions & okLookForDirectory;
    e.LookForArchive = SearchOptions & okLookForArchiveFile;
    e.LookForAnyFile = SearchOptions & okLookForAnyFile;
    e.FilterOnDate = FilterKind & fkFilterOnDate;
    e.FilterOnSize = FilterKind & fkFilterOnSize;
    e.DateAccess = DateFilterFileAccess;
    e.DateKind = DateFilterKind;
    e.FirstDate = DateFilterFirstDate;
    e.SecondDate = DateFilterSecondDate;
    e.SizeKind = SizeFilterKind;
    e.SizeFilterSize = SizeFilterSize;
    e.ExcludedFiles = excluded_;
    e.FileNames = fileNames_;
    if (MessagePump* pump = e.environment.pump)
        pump->processPendingMessages();
    return e.Search();
}

} // namespace pylomir::engine
