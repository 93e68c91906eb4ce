#include "engine/file_search.h"

#include "support/fake_file_system.h"
#include "support/fake_services.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::engine;
using namespace pylomir::platform;
using pylomir::testing::FakeFileSystem;

namespace {

struct Pump : pylomir::core::MessagePump {
    std::function<void()> during = [] {};
    void processPendingMessages() override { during(); }
};

// Runs a component over a fake tree under "/r/" and records what it reports.
struct Harness {
    FakeFileSystem fs;
    Pump pump;
    pylomir::testing::FakeClock clock;
    FileSearch search;
    QStringList found;   // Path + Name of every reported entry
    QStringList folders; // change-folder callbacks
    std::vector<FoundEntry> records;
    std::vector<int> stats; // files, folders with files, directories, elapsed ms

    // Entries relative to the root; a trailing '/' makes a folder.
    explicit Harness(std::initializer_list<const char*> entries = {}) {
        clock.ticks = 1000;
        search.setEnvironment({&fs, &clock, &pump});
        search.setRootFolder("/r");
        search.onEntryFound = [this](FileSearch* sender, FoundEntry& e) {
            EXPECT_EQ(sender, &search);
            found << e.fullPath();
            records.push_back(e);
        };
        search.onFolderEntered = [this](FileSearch*, const QString& f) { folders << f; };
        search.onStatistics = [this](FileSearch*, SearchStatistics& s) {
            stats = {s.filesFound, s.foldersWithFiles, s.foldersFound, s.elapsedMs};
        };
        fs.folders["/r/"];
        for (const char* e : entries) {
            const QString path = "/r/" + QString::fromUtf8(e);
            path.endsWith('/') ? fs.addFolder(path.chopped(1)) : fs.add(path);
        }
    }
    bool run(const QStringList& masks) {
        search.setWantedMasks(masks);
        return search.search();
    }
};

TEST(FileSearchTest, BreadthFirstWithRootFilesFirst) {
    Harness h{"a.tmp", "sub1/",      "sub1/b.tmp", "sub1/deep/", "sub1/deep/c.TMP",
              "sub2/", "sub2/d.tmp", "sub2/d.log", "e.tmp"};
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/e.tmp", "/r/sub1/b.tmp", "/r/sub2/d.tmp",
                                    "/r/sub1/deep/c.TMP"}));
    EXPECT_EQ(h.folders, (QStringList{"/r", "/r/sub1", "/r/sub2", "/r/sub1/deep"}));
    EXPECT_EQ(h.stats, (std::vector<int>{5, 4, 0, 0}));

    // Without sub-folders only the root is listed.
    h.found.clear();
    h.search.options = kAllSearchOptions & ~SearchOptions(SearchOption::IncludeSubfolders);
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/e.tmp"}));
}

TEST(FileSearchTest, AttributeTest) {
    const SearchOptions all = kAllSearchOptions;
    const SearchOptions noAny = all & ~SearchOptions(SearchOption::AnyFile);
    const SearchOptions noDir = all & ~SearchOptions(SearchOption::Folders);
    const SearchOptions ro = SearchOption::ReadOnly;
    const SearchOptions noArchive = noAny & ~SearchOptions(SearchOption::Archive);
    const SearchOptions noReadOnly = noAny & ~SearchOptions(SearchOption::ReadOnly);
    const qint32 hiddenDir = faDirectory | faHidden, roDir = faDirectory | faReadOnly;
    const struct {
        SearchOptions options;
        qint32 attributes;
        int files, dirs;
    } cases[] = {
        {noAny, faNormal, 0, 0},      {all, faNormal, 1, 0},    {noAny, faArchive, 1, 0},
        {noArchive, faArchive, 0, 0}, {ro, faReadOnly, 1, 0},   {noReadOnly, faReadOnly, 0, 0},
        {noDir, faDirectory, 0, 0},   {noDir, hiddenDir, 0, 1}, {ro, roDir, 0, 1},
    };
    for (const auto& c : cases) {
        Harness h;
        h.fs.add("/r/x.tmp", 0, c.attributes);
        h.search.options = c.options;
        h.run({"*.tmp"});
        EXPECT_EQ(h.stats, (std::vector<int>{c.files, c.files, c.dirs, 0}))
            << c.options.toInt() << "/" << c.attributes;
    }
}

TEST(FileSearchTest, WantedAndExcludedMasks) {
    Harness h{"README", "A.TMP", "~WRL0001.tmp", "a.tmp.bak", "folder/", "~keep/", "~keep/in.tmp"};
    h.search.setExcludedMasks({"~*"});
    // "*.*" listed after another mask, so a sorted-list look-up would miss it.
    EXPECT_TRUE(h.run({"*.tmp", "*.*"}));
    // README has no dot; the excluded mask never prunes a sub-tree.
    EXPECT_EQ(h.found, (QStringList{"/r/A.TMP", "/r/a.tmp.bak", "/r/folder", "/r/~keep/in.tmp"}));

    // An empty wanted list reports nothing, folders included.
    h.found.clear();
    h.folders.clear();
    EXPECT_TRUE(h.run({}));
    EXPECT_TRUE(h.found.isEmpty());
    EXPECT_EQ(h.folders.size(), 3);
}

TEST(FileSearchTest, SizeTestComparesTheWholeSize) {
    using enum SizeComparison;
    const qint64 threeGiB = 3LL << 30, fourGiB = 1LL << 32;
    const struct {
        SizeComparison comparison;
        qint64 size;
        bool reported;
    } cases[] = {
        {AtLeast, 999, false},     {AtLeast, 1000, true},        {AtLeast, threeGiB, true},
        {AtLeast, fourGiB, true},  {AtMost, 1000, true},         {AtMost, 1001, false},
        {AtMost, threeGiB, false}, {AtMost, fourGiB + 5, false}, {AtMost, 5000000000, false},
    };
    for (const auto& c : cases) {
        Harness h;
        h.fs.add("/r/f.tmp", c.size);
        h.search.enabledTests = EntryTest::Size;
        h.search.sizeComparison = c.comparison;
        h.search.sizeLimit = 1000;
        h.run({"*.*"});
        ASSERT_EQ(h.found.size(), c.reported ? 1 : 0) << c.size;
        // The entry still carries the low 32 bits beside its whole size.
        for (const auto& r : h.records)
            EXPECT_EQ(r.size, qint32(quint32(quint64(c.size))));
    }
}

TEST(FileSearchTest, DateTestComparesCalendarDays) {
    using enum DateComparison;
    using enum DateTestTime;
    // Days of May 2024 (created at 08:00); first date 10 May 15:30, second 20 May 09:00.
    const struct {
        DateComparison comparison;
        DateTestTime time;
        int created, written, accessed;
        bool reported;
    } cases[] = {
        {SameDay, Created, 10, 1, 1, true},  {SameDay, Created, 9, 10, 10, false},
        {SameDay, Modified, 9, 10, 9, true}, {SameDay, Any, 1, 2, 10, true},
        {Before, Created, 9, 30, 30, true},  {Before, Created, 10, 1, 1, false},
        {After, Modified, 1, 11, 1, true},   {After, Modified, 1, 10, 1, false},
        {Between, Accessed, 1, 1, 20, true}, {Between, Any, 9, 21, 10, true},
        {Between, Created, 9, 1, 1, false},  {Between, Created, 21, 30, 30, false},
        {SameDay, Any, 0, 0, 0, false},
    };
    const auto may = [](int d, int hour) {
        return SystemTime{.year = 2024, .month = 5, .day = quint16(d), .hour = quint16(hour)};
    };
    for (const auto& c : cases) {
        Harness h{"f.txt"};
        h.fs.folders["/r/"][0].times = {may(c.created, 8), may(c.accessed, 12), may(c.written, 12)};
        h.search.enabledTests = EntryTest::Date;
        h.search.dateComparison = c.comparison;
        h.search.dateTestTime = c.time;
        h.search.firstDate = serialDateTime(QDateTime(QDate(2024, 5, 10), QTime(15, 30)));
        h.search.secondDate = serialDateTime(QDateTime(QDate(2024, 5, 20), QTime(9, 0)));
        h.run({"*.*"});
        EXPECT_EQ(h.found.size(), c.reported ? 1 : 0) << int(c.comparison) << "/" << int(c.time);
    }
    EXPECT_EQ(serialDateTime(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
    EXPECT_EQ(serialDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(FileSearchTest, UnlistableSubfolderIsSkippedAndNamed) {
    Harness h{"a.tmp",      "sub1/",      "sub2/",           "sub3/",     "sub1/b.tmp",
              "sub2/c.tmp", "sub2/deep/", "sub2/deep/d.tmp", "sub3/e.tmp"};
    h.fs.unlistable["/r/sub1/"] = true;
    h.fs.unlistable["/r/sub2/deep/"] = true;
    h.fs.addFolder("/r/sub3/later");
    h.fs.add("/r/sub3/later/f.tmp");
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found,
              (QStringList{"/r/a.tmp", "/r/sub2/c.tmp", "/r/sub3/e.tmp", "/r/sub3/later/f.tmp"}));
    // The failed folders are still announced before their listing is tried.
    EXPECT_EQ(h.folders, (QStringList{"/r", "/r/sub1", "/r/sub2", "/r/sub3", "/r/sub2/deep",
                                      "/r/sub3/later"}));
    EXPECT_EQ(h.search.unlistedFolders(), (QStringList{"/r/sub1", "/r/sub2/deep"}));
    EXPECT_EQ(h.stats, (std::vector<int>{4, 4, 0, 0}));

    // Each search starts a fresh list.
    h.fs.unlistable.clear();
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_TRUE(h.search.unlistedFolders().isEmpty());
}

TEST(FileSearchTest, UnlistableRootFailsTheSearch) {
    Harness h{"a.tmp", "sub/"};
    h.fs.unlistable["/r/"] = true;
    EXPECT_FALSE(h.run({"*.*"}));
    EXPECT_EQ(h.folders, QStringList{"/r"});
    EXPECT_TRUE(h.found.isEmpty());
    EXPECT_TRUE(h.search.unlistedFolders().isEmpty());
    EXPECT_EQ(h.stats, (std::vector<int>{0, 0, 0, 0}));

    // An empty root is such a folder, never the file-system root.
    Harness empty;
    empty.search.setRootFolder(QString());
    EXPECT_FALSE(empty.run({"*.*"}));
    EXPECT_EQ(empty.folders, QStringList{QString()});
    EXPECT_TRUE(empty.fs.listed.empty());
    EXPECT_EQ(empty.stats, (std::vector<int>{0, 0, 0, 0}));
}

TEST(FileSearchTest, InvalidMaskErrorEndsTheSearchWithoutStatistics) {
    // Reached only by a name the first mask does not take.
    Harness h{"a.tmp", "b.log"};
    try {
        h.run({"*.tmp", "[x"});
        ADD_FAILURE() << "no mask error";
    } catch (const MaskError& e) {
        EXPECT_EQ(e.message(), "'[x' is an invalid mask at (3)");
    }
    EXPECT_EQ(h.found, QStringList{"/r/a.tmp"});
    EXPECT_TRUE(h.stats.empty());

    // The excluded list is tried even for names the wanted list rejects.
    Harness ex{"b.log"};
    ex.search.setExcludedMasks({"[]"});
    EXPECT_THROW(ex.run({"*.tmp"}), MaskError);
    EXPECT_TRUE(ex.stats.empty());
}

TEST(FileSearchTest, AcceptVetoAndElapsedTicks) {
    Harness h{"keep.tmp", "veto.tmp"};
    h.clock.ticks = 0xFFFFFFF0u;
    h.search.onAcceptEntry = [&h](FileSearch*, FoundEntry& e) {
        h.clock.ticks += 0x20; // the search reads the clock once before and once after
        return e.name != "veto.tmp";
    };
    EXPECT_TRUE(h.run({"*.*"}));
    EXPECT_EQ(h.found, QStringList{"/r/keep.tmp"});
    EXPECT_EQ(h.stats, (std::vector<int>{1, 1, 0, 0x40})); // the clock wraps through zero
}

TEST(FileSearchTest, ListsChangedDuringASearchApplyToTheNextOne) {
    Harness h{"a.tmp", "b.tmp"};
    h.pump.during = [&] { h.search.setWantedMasks({}); };
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found.size(), 2);
    h.pump.during = [] {};
    EXPECT_TRUE(h.search.search());
    EXPECT_EQ(h.found.size(), 2); // nothing more: the list is empty now
}

TEST(FileSearchTest, RealTreeBreadthFirstWithoutEnteringLinks) {
    QTemporaryDir tmp, outside;
    const QString root = tmp.path() + '/';
    QDir(root).mkpath("a/b");
    QDir(root).mkpath("c");
    for (const char* name : {"a/b/deep.tmp", "a/mid.tmp", "c/mid2.tmp", "top.tmp", "skip.txt"})
        ASSERT_TRUE(QFile(root + name).open(QIODevice::WriteOnly)) << name;
    // A loop back to the root, and a link out of the tree: both are files.
    ASSERT_TRUE(QFile::link(root, root + "c/loop.tmp"));
    ASSERT_TRUE(QFile::link(outside.path(), root + "away.tmp"));

    Harness h;
    h.search.setEnvironment({}); // the real file system and clock
    h.search.setRootFolder(root);
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.folders.size(), 4); // the root, a, c and a/b only
    h.found.replaceInStrings(root, "");
    ASSERT_FALSE(h.found.isEmpty());
    EXPECT_EQ(h.found.last(), "a/b/deep.tmp"); // the only file two levels down
    h.found.sort();
    EXPECT_EQ(h.found, (QStringList{"a/b/deep.tmp", "a/mid.tmp", "away.tmp", "c/loop.tmp",
                                    "c/mid2.tmp", "top.tmp"}));
}

} // namespace
