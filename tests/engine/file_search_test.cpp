#include "engine/file_search.h"

#include "support/fake_file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::engine;
using namespace pylomir::platform;
using pylomir::testing::FakeFileSystem;

namespace {

struct Pump : MessagePump {
    std::function<void()> during = [] {};
    void processPendingMessages() override { during(); }
};

// Runs a component over a fake tree under "/r/" and records what it reports.
struct Harness {
    FakeFileSystem fs;
    Pump pump;
    TEasyFileSearch search;
    QStringList found;   // Path + Name of every reported entry
    QStringList folders; // change-folder callbacks
    std::vector<TFileInformations> records;
    std::vector<int> stats; // files, folders with files, directories, elapsed ms

    // Entries relative to the root; a trailing '/' makes a folder.
    explicit Harness(std::initializer_list<const char*> entries = {}) {
        search.setEnvironment({&fs, [] { return quint32(1000); }, &pump});
        search.setRootPath("/r");
        search.OnFileFound = [this](TEasyFileSearch* sender, TFileInformations& r) {
            EXPECT_EQ(sender, &search);
            found << r.Path + r.Name;
            records.push_back(r);
        };
        search.OnChangeFolder = [this](TEasyFileSearch*, const QString& p) { folders << p; };
        search.OnStatistics = [this](TEasyFileSearch*, TStatistics& s) {
            stats = {s.FilesFound, s.FoldersWithFiles, s.DirectoriesFound, s.ElapsedMs};
        };
        fs.folders["/r/"];
        for (const char* e : entries) {
            const QString path = "/r/" + QString::fromUtf8(e);
            path.endsWith('/') ? fs.addFolder(path.chopped(1)) : fs.add(path);
        }
    }
    bool run(const QStringList& masks) {
        search.setFileNames(masks);
        return search.Search();
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
    h.search.SearchOptions = allOptions & ~okIncludeSubfolder;
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/e.tmp"}));
}

TEST(FileSearchTest, AttributeTest) {
    const TOptions noAny = allOptions & ~okLookForAnyFile, noDir = allOptions & ~okLookForDirectory;
    const TOptions ro = okLookForReadOnlyFile, noArchive = noAny & ~okLookForArchiveFile;
    const qint32 hiddenDir = faDirectory | faHidden, roDir = faDirectory | faReadOnly;
    const struct {
        TOptions options;
        qint32 attributes;
        int files, dirs;
    } cases[] = {
        {noAny, faNormal, 0, 0},  {allOptions, faNormal, 1, 0},
        {noAny, faArchive, 1, 0}, {noArchive, faArchive, 0, 0},
        {ro, faReadOnly, 1, 0},   {noDir, faDirectory, 0, 0},
        {noDir, hiddenDir, 0, 1}, {ro, roDir, 0, 1},
    };
    for (const auto& c : cases) {
        Harness h;
        h.fs.add("/r/x.tmp", 0, c.attributes);
        h.search.SearchOptions = c.options;
        h.run({"*.tmp"});
        EXPECT_EQ(h.stats, (std::vector<int>{c.files, c.files, c.dirs, 0}))
            << int(c.options) << "/" << c.attributes;
    }
}

TEST(FileSearchTest, WantedAndExcludedMasks) {
    Harness h{"README", "A.TMP", "~WRL0001.tmp", "a.tmp.bak", "folder/", "~keep/", "~keep/in.tmp"};
    h.search.setExcludedFiles({"~*"});
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

TEST(FileSearchTest, SizeFilterComparesSigned32Bits) {
    using enum TSizeFilterKind;
    const qint64 threeGiB = 3LL << 30, fourGiB = 1LL << 32;
    const struct {
        TSizeFilterKind kind;
        qint64 size;
        bool reported;
    } cases[] = {
        {sfkBiggerOrEqualTo, 999, false},      {sfkBiggerOrEqualTo, 1000, true},
        {sfkBiggerOrEqualTo, threeGiB, false}, {sfkSmallerOrEqualTo, 1000, true},
        {sfkSmallerOrEqualTo, threeGiB, true}, {sfkSmallerOrEqualTo, fourGiB + 5, true},
    };
    for (const auto& c : cases) {
        Harness h;
        h.fs.add("/r/f.tmp", c.size);
        h.search.FilterKind = fkFilterOnSize;
        h.search.SizeFilterKind = c.kind;
        h.search.SizeFilterSize = 1000;
        h.run({"*.*"});
        ASSERT_EQ(h.found.size(), c.reported ? 1 : 0) << c.size;
        for (const auto& r : h.records)
            EXPECT_EQ(r.Size, qint32(quint32(quint64(c.size))));
    }
}

TEST(FileSearchTest, DateFilterComparesCalendarDays) {
    using enum TDateFilterKind;
    using enum TDateFilterAccessKind;
    // Days of May 2024 (created at 08:00); first date 10 May 15:30, second 20 May 09:00.
    const struct {
        TDateFilterKind kind;
        TDateFilterAccessKind access;
        int created, written, accessed;
        bool reported;
    } cases[] = {
        {dfkSame, dfakCreatedFiles, 10, 1, 1, true},
        {dfkSame, dfakCreatedFiles, 9, 10, 10, false},
        {dfkSame, dfakModifiedFiles, 9, 10, 9, true},
        {dfkSame, dfakAnyFiles, 1, 2, 10, true},
        {dfkBefore, dfakCreatedFiles, 9, 30, 30, true},
        {dfkBefore, dfakCreatedFiles, 10, 1, 1, false},
        {dfkAfter, dfakModifiedFiles, 1, 11, 1, true},
        {dfkBetween, dfakOpenedFiles, 1, 1, 20, true},
        {dfkBetween, dfakAnyFiles, 9, 21, 10, true},
    };
    const auto may = [](int d, int hour) {
        return SystemTime{.year = 2024, .month = 5, .day = quint16(d), .hour = quint16(hour)};
    };
    for (const auto& c : cases) {
        Harness h{"f.txt"};
        h.fs.folders["/r/"][0].times = {may(c.created, 8), may(c.accessed, 12), may(c.written, 12)};
        h.search.FilterKind = fkFilterOnDate;
        h.search.DateFilterKind = c.kind;
        h.search.DateFilterFileAccess = c.access;
        h.search.DateFilterFirstDate = dateTimeFromQt(QDateTime(QDate(2024, 5, 10), QTime(15, 30)));
        h.search.DateFilterSecondDate = dateTimeFromQt(QDateTime(QDate(2024, 5, 20), QTime(9, 0)));
        h.run({"*.*"});
        EXPECT_EQ(h.found.size(), c.reported ? 1 : 0) << int(c.kind) << "/" << int(c.access);
    }
    EXPECT_EQ(dateTimeFromQt(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
    EXPECT_EQ(dateTimeFromQt(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(FileSearchTest, UnlistableFolderEndsTheSearch) {
    Harness h{"a.tmp", "sub1/", "sub2/", "sub1/b.tmp", "sub2/c.tmp"};
    h.fs.unlistable["/r/sub1/"] = true;
    EXPECT_FALSE(h.run({"*.*"}));
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/sub1", "/r/sub2"}));
    EXPECT_EQ(h.fs.listed, (std::vector<QString>{"/r/", "/r/sub1/"}));
    EXPECT_EQ(h.stats, (std::vector<int>{1, 1, 2, 0}));

    // An empty root is such a folder, never the file-system root.
    Harness empty;
    empty.search.setRootPath(QString());
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
    ex.search.setExcludedFiles({"[]"});
    EXPECT_THROW(ex.run({"*.tmp"}), MaskError);
    EXPECT_TRUE(ex.stats.empty());
}

TEST(FileSearchTest, AcceptVetoAndElapsedTicks) {
    static quint32 tick = 0xFFFFFFF0u;
    Harness h{"keep.tmp", "veto.tmp"};
    h.search.setEnvironment({&h.fs, [] { return tick += 0x10; }, &h.pump});
    h.search.OnAcceptFile = [](TEasyFileSearch*, TFileInformations& r) {
        return r.Name != "veto.tmp";
    };
    EXPECT_TRUE(h.run({"*.*"}));
    EXPECT_EQ(h.found, QStringList{"/r/keep.tmp"});
    EXPECT_EQ(h.stats, (std::vector<int>{1, 1, 0, 0x10})); // the clock wraps through zero
}

TEST(FileSearchTest, ListsChangedDuringASearchApplyToTheNextOne) {
    Harness h{"a.tmp", "b.tmp"};
    h.pump.during = [&] { h.search.setFileNames({}); };
    EXPECT_TRUE(h.run({"*.tmp"}));
    EXPECT_EQ(h.found.size(), 2);
    h.pump.during = [] {};
    EXPECT_TRUE(h.search.Search());
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
    h.search.setRootPath(root);
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
