// The walk gives the same events whether folders are listed ahead on a
// worker thread or one by one as it reaches them.
#include "engine/file_search.h"

#include "support/forwarding_file_system.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace pylomir::engine;
using namespace pylomir::platform;

namespace {

// The machine's file system, with folders whose name holds "locked" that
// cannot be listed, and a count of the folders listed ahead.
class LockingFileSystem : public pylomir::testing::ForwardingFileSystem {
public:
    std::unique_ptr<DirListing> list(const QString& folder) override {
        return locked(folder) ? nullptr : ForwardingFileSystem::list(folder);
    }
    bool listsAhead() const override { return true; }
    std::unique_ptr<DirListing> listAhead(const QString& folder) override {
        ++listedAhead;
        if (std::this_thread::get_id() != owner_)
            ++listedByWorker;
        return locked(folder) ? nullptr : realFileSystem().listAhead(folder);
    }
    std::atomic<int> listedAhead{0};
    std::atomic<int> listedByWorker{0};

private:
    static bool locked(const QString& folder) { return folder.contains(QLatin1String("locked")); }
    const std::thread::id owner_ = std::this_thread::get_id();
};

int threadCount() {
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

void makeFile(const QString& path, const QByteArray& bytes = {}) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// A tree of files, hidden and read-only entries and locked folders, some
// of them nested below others.
void makeTree(const QString& root) {
    QDir dir(root);
    for (const char* folder : {"a/b/c", "a/locked/d", "e", "f/g", "locked2", ".hidden/h"})
        ASSERT_TRUE(dir.mkpath(QString::fromUtf8(folder)));
    for (const char* file : {"x.tmp", "a/y.bak", "a/b/z.tmp", "a/b/c/q.log", "a/locked/w.tmp",
                             "e/keep.txt", "f/g/one.tmp", ".hidden/h/two.tmp", "e/.dot.tmp"})
        makeFile(root + QLatin1Char('/') + QString::fromUtf8(file), QByteArray(17, 'x'));
    for (int i = 0; i < 40; ++i)
        makeFile(root + QStringLiteral("/e/many%1.tmp").arg(i), QByteArray(i, 'y'));
    QFile::setPermissions(root + QStringLiteral("/a/y.bak"), QFile::ReadOwner);
}

QString describe(const FoundEntry& e) {
    const auto time = [](const SystemTime& t) {
        return QStringLiteral("%1-%2-%3 %4:%5:%6.%7")
            .arg(t.year)
            .arg(t.month)
            .arg(t.day)
            .arg(t.hour)
            .arg(t.minute)
            .arg(t.second)
            .arg(t.milliseconds);
    };
    return QStringLiteral("entry %1 attr=%2 size=%3 bytes=%4 %5 %6 %7")
        .arg(e.fullPath())
        .arg(e.attributes)
        .arg(e.size)
        .arg(e.byteSize ? QString::number(*e.byteSize) : QStringLiteral("none"))
        .arg(time(e.created), time(e.lastAccessed), time(e.lastModified));
}

struct Walk {
    QStringList events;
    bool result = false;
    std::string text() const { return events.join(QLatin1Char('\n')).toStdString(); }
};

Walk walk(FileSystem& fs, const QString& root, bool ahead, const QStringList& masks,
          SearchOptions options, const std::function<void(const FoundEntry&)>& onFound = {}) {
    Walk run;
    FileSearch search;
    SearchEnvironment env;
    env.fileSystem = &fs;
    env.listAhead = ahead;
    search.setEnvironment(env);
    search.setRootFolder(root);
    search.options = options;
    search.setWantedMasks(masks);
    search.onFolderEntered = [&](FileSearch*, const QString& f) { run.events << "folder " + f; };
    search.onEntryFound = [&](FileSearch*, FoundEntry& e) {
        run.events << describe(e);
        if (onFound)
            onFound(e);
    };
    search.onStatistics = [&](FileSearch*, SearchStatistics& s) {
        run.events << QStringLiteral("stats %1 %2 %3")
                          .arg(s.filesFound)
                          .arg(s.foldersWithFiles)
                          .arg(s.foldersFound);
    };
    run.result = search.search();
    run.events << "unlisted " + search.unlistedFolders().join(QLatin1Char('|'));
    return run;
}

TEST(ListingAheadTest, SameEventsWithAndWithoutListingAhead) {
    pylomir::testing::TempDir tmp;
    makeTree(tmp.path());
    LockingFileSystem fs;
    const SearchOptions all = kAllSearchOptions;
    // The first reading of a new folder moves its access time.
    walk(fs, tmp.path(), false, {"*.*"}, all);
    struct Case {
        const char* name;
        QString root;
        QStringList masks;
        SearchOptions options;
        bool result;
    } cases[] = {
        {"every entry", tmp.path(), {"*.*"}, all, true},
        {"masks", tmp.path() + '/', {"*.tmp", "*.bak"}, all, true},
        {"files only", tmp.path(), {"*.*"}, all & ~SearchOptions(SearchOption::Folders), true},
        {"no subfolders",
         tmp.path(),
         {"*.*"},
         all & ~SearchOptions(SearchOption::IncludeSubfolders),
         true},
        {"locked root", tmp.path() + "/locked2", {"*.*"}, all, false},
        {"missing root", tmp.path() + "/nothing", {"*.*"}, all, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Walk one = walk(fs, c.root, false, c.masks, c.options);
        const Walk ahead = walk(fs, c.root, true, c.masks, c.options);
        EXPECT_EQ(one.result, c.result);
        EXPECT_EQ(ahead.result, one.result);
        EXPECT_EQ(ahead.text(), one.text());
    }
    // The locked folders were reached and skipped in both walks.
    const Walk full = walk(fs, tmp.path(), true, {"*.*"}, all);
    QStringList unlisted = full.events.last().mid(9).split(QLatin1Char('|'));
    unlisted.sort();
    EXPECT_EQ(unlisted.join('|').toStdString(),
              (tmp.path() + "/a/locked|" + tmp.path() + "/locked2").toStdString());
    EXPECT_TRUE(full.events.contains(QStringLiteral("stats 48 7 10")))
        << full.events.join('\n').toStdString();
}

TEST(ListingAheadTest, FolderRemovedDuringTheWalkIsSkippedAlike) {
    LockingFileSystem fs;
    const auto runOnce = [&](bool ahead) {
        pylomir::testing::TempDir tmp;
        makeTree(tmp.path());
        walk(fs, tmp.path(), false, {"*.*"}, kAllSearchOptions);
        // The folder goes as soon as the walk reports it, after it was
        // queued and before it is listed.
        Walk run = walk(fs, tmp.path(), ahead, {"*.*"}, kAllSearchOptions, [](const FoundEntry& e) {
            if (e.name == QLatin1String("b"))
                QDir(e.fullPath()).removeRecursively();
        });
        // Two trees: their times differ, the rest must not.
        run.events.replaceInStrings(tmp.path(), QStringLiteral("ROOT"));
        run.events.replaceInStrings(QRegularExpression(QStringLiteral(" \\d{4}-.*$")), QString());
        return run;
    };
    const Walk one = runOnce(false);
    const Walk ahead = runOnce(true);
    EXPECT_EQ(ahead.text(), one.text());
    EXPECT_TRUE(one.events.last().contains(QStringLiteral("ROOT/a/b|")))
        << one.events.last().toStdString();
}

TEST(ListingAheadTest, MaskErrorMidWalkLeavesNoThreadBehind) {
    pylomir::testing::TempDir tmp;
    makeTree(tmp.path());
    LockingFileSystem fs;
    const int before = threadCount();
    // Every name in the root matches before the broken mask; the first
    // subfolder's names reach it while its siblings wait to be listed.
    EXPECT_THROW(walk(fs, tmp.path(), true, {"x.tmp", "a", "e", "f", "locked2", ".hidden", "[z"},
                      kAllSearchOptions),
                 MaskError);
    EXPECT_EQ(threadCount(), before);
}

// A search over `count` folders d<i>, each holding one subfolder.
struct FolderRows {
    explicit FolderRows(int count) {
        for (int i = 0; i < count; ++i)
            QDir(tmp.path()).mkpath(QStringLiteral("d%1/sub").arg(i));
        SearchEnvironment env;
        env.fileSystem = &fs;
        search.setEnvironment(env);
        search.setRootFolder(tmp.path());
    }
    pylomir::testing::TempDir tmp;
    LockingFileSystem fs;
    FileSearch search;
};

TEST(ListingAheadTest, HeldWalkListsOnlyABoundedNumberAhead) {
    FolderRows rows(100);
    LockingFileSystem& fs = rows.fs;
    FileSearch& search = rows.search;
    int entered = 0;
    int listedWhileHeld = -1;
    search.onFolderEntered = [&](FileSearch*, const QString&) {
        // Held (as a pause would hold it) in the first subfolder.
        if (++entered == 2) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            listedWhileHeld = fs.listedAhead.load();
        }
    };
    ASSERT_TRUE(search.search());
    EXPECT_EQ(entered, 201);
    EXPECT_GE(listedWhileHeld, 1);
    EXPECT_LE(listedWhileHeld, 18);
    // A folder the walk reached while the worker still read it was read
    // twice.
    EXPECT_GE(fs.listedAhead.load(), 200);
}

TEST(ListingAheadTest, PausedWalkStartsNoListingAheadUntilReleased) {
    FolderRows rows(40);
    LockingFileSystem& fs = rows.fs;
    FileSearch& search = rows.search;
    int entered = 0;
    int listedAtHold = -1;
    int listedWhileHeld = -1;
    search.onFolderEntered = [&](FileSearch*, const QString&) {
        ++entered;
        if (entered == 2) {
            search.holdListingAhead(true);
            listedAtHold = fs.listedByWorker.load();
        } else if (entered == 12) {
            // Ten folders on, the walk listed them itself; the worker may
            // only have finished the one it held when the pause came.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            listedWhileHeld = fs.listedByWorker.load() - listedAtHold;
            search.holdListingAhead(false);
        }
    };
    ASSERT_TRUE(search.search());
    EXPECT_EQ(entered, 81);
    EXPECT_GE(listedWhileHeld, 0);
    EXPECT_LE(listedWhileHeld, 1);
    EXPECT_FALSE(search.listingAheadHeld());
    // Held before the walk starts: the walk lists everything itself.
    search.holdListingAhead(true);
    const int before = fs.listedByWorker.load();
    ASSERT_TRUE(search.search());
    EXPECT_EQ(fs.listedByWorker.load(), before);
}

} // namespace
