#include "engine/file_search.h"

#include "support/fake_file_system.h"

#include <gtest/gtest.h>

using namespace pylomir::engine;
using pylomir::platform::faArchive;
using pylomir::platform::faDirectory;
using pylomir::platform::faHidden;
using pylomir::platform::faNormal;
using pylomir::platform::faReadOnly;
using pylomir::testing::FakeFileSystem;

namespace {

class CountingPump : public MessagePump {
public:
    void processPendingMessages() override {
        ++calls;
        if (during)
            during();
    }
    int calls = 0;
    std::function<void()> during;
};

quint32 fixedTicks() {
    return 1000;
}

// Runs a component over the fake file system and records what it reports.
struct Harness {
    FakeFileSystem fs;
    CountingPump pump;
    TEasyFileSearch search;
    QStringList found;   // Path + Name of every reported entry
    QStringList folders; // change-folder callbacks
    std::optional<TStatistics> stats;
    std::vector<TFileInformations> records;

    Harness() {
        search.setEnvironment({&fs, &fixedTicks, &pump});
        search.setRootPath(QStringLiteral("/r"));
        search.OnFileFound = [this](TEasyFileSearch* sender, TFileInformations& r) {
            EXPECT_EQ(sender, &search);
            found << r.Path + r.Name;
            records.push_back(r);
        };
        search.OnChangeFolder = [this](TEasyFileSearch*, const QString& p) { folders << p; };
        search.OnStatistics = [this](TEasyFileSearch*, TStatistics& s) { stats = s; };
        fs.folders[QStringLiteral("/r/")];
    }
    void want(const QStringList& masks) { search.setFileNames(masks); }
};

TEST(FileSearchTest, ComponentDefaults) {
    TEasyFileSearch s;
    EXPECT_EQ(s.Version(), QStringLiteral("TEasyFileSearch v1.03"));
    s.setVersion(QStringLiteral("x"));
    EXPECT_EQ(s.Version(), QStringLiteral("TEasyFileSearch v1.03"));
    EXPECT_EQ(s.SearchOptions, allOptions);
    EXPECT_EQ(s.FilterKind, 0);
    EXPECT_EQ(s.DateFilterKind, TDateFilterKind::dfkSame);
    EXPECT_EQ(s.DateFilterFileAccess, TDateFilterAccessKind::dfakAnyFiles);
    EXPECT_EQ(std::trunc(s.DateFilterFirstDate), std::trunc(today()));
    EXPECT_EQ(s.FileNames(), QStringList{QStringLiteral("*.*")});
    EXPECT_TRUE(s.ExcludedFiles().isEmpty());
    EXPECT_EQ(s.RootPath(), QStringLiteral(".") + pylomir::platform::separator());
}

TEST(FileSearchTest, BreadthFirstWithRootFilesFirst) {
    Harness h;
    h.fs.add(QStringLiteral("/r/a.tmp"));
    h.fs.addFolder(QStringLiteral("/r/sub1"));
    h.fs.add(QStringLiteral("/r/sub1/b.tmp"));
    h.fs.addFolder(QStringLiteral("/r/sub1/deep"));
    h.fs.add(QStringLiteral("/r/sub1/deep/c.TMP"));
    h.fs.addFolder(QStringLiteral("/r/sub2"));
    h.fs.add(QStringLiteral("/r/sub2/d.tmp"));
    h.fs.add(QStringLiteral("/r/sub2/d.log"));
    h.fs.add(QStringLiteral("/r/e.tmp"));
    h.want({QStringLiteral("*.tmp")});

    EXPECT_TRUE(h.search.Search());
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/e.tmp", "/r/sub1/b.tmp", "/r/sub2/d.tmp",
                                    "/r/sub1/deep/c.TMP"}));
    EXPECT_EQ(h.folders, (QStringList{"/r", "/r/sub1", "/r/sub2", "/r/sub1/deep"}));
    ASSERT_TRUE(h.stats);
    EXPECT_EQ(h.stats->FilesFound, 5);
    EXPECT_EQ(h.stats->FoldersWithFiles, 4);
    EXPECT_EQ(h.stats->DirectoriesFound, 0);
    EXPECT_GT(h.pump.calls, 0);

    // Without sub-folders only the root is listed.
    Harness flat;
    flat.fs = h.fs;
    flat.want({QStringLiteral("*.tmp")});
    flat.search.SearchOptions = allOptions & ~okIncludeSubfolder;
    EXPECT_TRUE(flat.search.Search());
    EXPECT_EQ(flat.found, (QStringList{"/r/a.tmp", "/r/e.tmp"}));
}

TEST(FileSearchTest, AttributeTest) {
    struct Case {
        const char* what;
        TOptions options;
        qint32 attributes;
        bool reported;
    };
    const TOptions noAny = allOptions & ~okLookForAnyFile;
    const Case cases[] = {
        {"plain file, any-file off", noAny, faNormal, false},
        {"plain file, any-file on", allOptions, faNormal, true},
        {"archive file", noAny, faArchive, true},
        {"archive file, archive off", TOptions(noAny & ~okLookForArchiveFile), faArchive, false},
        {"read-only file, only read-only on", okLookForReadOnlyFile, faReadOnly, true},
        {"folder, directory off", TOptions(allOptions & ~okLookForDirectory), faDirectory, false},
        {"hidden folder, directory off", TOptions(allOptions & ~okLookForDirectory),
         faDirectory | faHidden, true},
        {"read-only folder", okLookForReadOnlyFile, faDirectory | faReadOnly, true},
    };
    for (const Case& c : cases) {
        Harness h;
        h.fs.add(QStringLiteral("/r/x.tmp"), 0, c.attributes);
        h.want({QStringLiteral("*.tmp")});
        h.search.SearchOptions = c.options;
        h.search.Search();
        EXPECT_EQ(h.found.size(), c.reported ? 1 : 0) << c.what;
        if (c.reported) {
            const bool dir = c.attributes & faDirectory;
            EXPECT_EQ(h.stats->DirectoriesFound, dir ? 1 : 0) << c.what;
            EXPECT_EQ(h.stats->FilesFound, dir ? 0 : 1) << c.what;
            EXPECT_EQ(h.records[0].Attributes, c.attributes) << c.what;
        }
    }
}

TEST(FileSearchTest, WantedAndExcludedMasks) {
    Harness h;
    h.fs.add(QStringLiteral("/r/README"));
    h.fs.add(QStringLiteral("/r/A.TMP"));
    h.fs.add(QStringLiteral("/r/~WRL0001.tmp"));
    h.fs.add(QStringLiteral("/r/a.tmp.bak"));
    h.fs.addFolder(QStringLiteral("/r/folder"));
    h.fs.addFolder(QStringLiteral("/r/~keep"));
    h.fs.add(QStringLiteral("/r/~keep/inner.tmp"));
    // "*.*" listed after another mask, so a sorted-list look-up would miss it.
    h.want({QStringLiteral("*.tmp"), QStringLiteral("*.*")});
    h.search.setExcludedFiles({QStringLiteral("~*")});
    EXPECT_TRUE(h.search.Search());
    // README has no dot; the excluded mask never prunes a sub-tree.
    EXPECT_EQ(h.found,
              (QStringList{"/r/A.TMP", "/r/a.tmp.bak", "/r/folder", "/r/~keep/inner.tmp"}));
    EXPECT_EQ(h.stats->DirectoriesFound, 1);

    // An empty wanted list reports nothing, folders included.
    Harness none;
    none.fs = h.fs;
    none.want({});
    EXPECT_TRUE(none.search.Search());
    EXPECT_TRUE(none.found.isEmpty());
    EXPECT_EQ(none.folders.size(), 3);
}

TEST(FileSearchTest, SizeFilterComparesSigned32Bits) {
    struct Case {
        TSizeFilterKind kind;
        qint64 size;
        bool reported;
    };
    const qint64 threeGiB = 3LL << 30;
    const Case cases[] = {
        {TSizeFilterKind::sfkBiggerOrEqualTo, 999, false},
        {TSizeFilterKind::sfkBiggerOrEqualTo, 1000, true},
        {TSizeFilterKind::sfkBiggerOrEqualTo, threeGiB, false},
        {TSizeFilterKind::sfkSmallerOrEqualTo, 1000, true},
        {TSizeFilterKind::sfkSmallerOrEqualTo, threeGiB, true},
        {TSizeFilterKind::sfkSmallerOrEqualTo, (1LL << 32) + 5, true},
    };
    for (const Case& c : cases) {
        Harness h;
        h.fs.add(QStringLiteral("/r/f.tmp"), c.size);
        h.search.FilterKind = fkFilterOnSize;
        h.search.SizeFilterKind = c.kind;
        h.search.SizeFilterSize = 1000;
        h.search.Search();
        ASSERT_EQ(h.found.size(), c.reported ? 1 : 0) << c.size;
        if (c.reported) {
            EXPECT_EQ(h.records[0].Size, qint32(quint32(quint64(c.size))));
        }
    }
}

pylomir::platform::SystemTime day(int y, int m, int d, int hour = 12) {
    pylomir::platform::SystemTime t;
    t.year = quint16(y);
    t.month = quint16(m);
    t.day = quint16(d);
    t.hour = quint16(hour);
    return t;
}

TEST(FileSearchTest, DateFilterComparesCalendarDays) {
    using K = TDateFilterKind;
    using A = TDateFilterAccessKind;
    struct Case {
        K kind;
        A access;
        int created, written, accessed; // days of May 2024
        bool reported;
    };
    // First date 10 May 15:30, second date 20 May 09:00.
    const Case cases[] = {
        {K::dfkSame, A::dfakCreatedFiles, 10, 1, 1, true}, // created at 08:00 that day
        {K::dfkSame, A::dfakCreatedFiles, 9, 10, 10, false},
        {K::dfkSame, A::dfakModifiedFiles, 9, 10, 9, true},
        {K::dfkSame, A::dfakAnyFiles, 1, 2, 10, true},
        {K::dfkBefore, A::dfakCreatedFiles, 9, 30, 30, true},
        {K::dfkBefore, A::dfakCreatedFiles, 10, 1, 1, false},
        {K::dfkAfter, A::dfakModifiedFiles, 1, 11, 1, true},
        {K::dfkBetween, A::dfakOpenedFiles, 1, 1, 20, true},
        {K::dfkBetween, A::dfakAnyFiles, 9, 21, 10, true},
    };
    for (const Case& c : cases) {
        Harness h;
        h.fs.add(QStringLiteral("/r/f.txt"));
        auto& times = h.fs.folders[QStringLiteral("/r/")][0].times;
        times.creation = day(2024, 5, c.created, 8);
        times.lastWrite = day(2024, 5, c.written);
        times.lastAccess = day(2024, 5, c.accessed);
        h.search.FilterKind = fkFilterOnDate;
        h.search.DateFilterKind = c.kind;
        h.search.DateFilterFileAccess = c.access;
        h.search.DateFilterFirstDate = dateTimeFromQt(QDateTime(QDate(2024, 5, 10), QTime(15, 30)));
        h.search.DateFilterSecondDate = dateTimeFromQt(QDateTime(QDate(2024, 5, 20), QTime(9, 0)));
        h.search.Search();
        EXPECT_EQ(h.found.size(), c.reported ? 1 : 0)
            << int(c.kind) << "/" << int(c.access) << " " << c.created << "," << c.written << ","
            << c.accessed;
    }
    EXPECT_EQ(dateTimeFromQt(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
    EXPECT_EQ(dateTimeFromQt(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(FileSearchTest, UnlistableFolderEndsTheSearch) {
    Harness h;
    h.fs.add(QStringLiteral("/r/a.tmp"));
    h.fs.addFolder(QStringLiteral("/r/sub1"));
    h.fs.addFolder(QStringLiteral("/r/sub2"));
    h.fs.add(QStringLiteral("/r/sub1/b.tmp"));
    h.fs.add(QStringLiteral("/r/sub2/c.tmp"));
    h.fs.unlistable[QStringLiteral("/r/sub1/")] = true;
    EXPECT_FALSE(h.search.Search());
    EXPECT_EQ(h.found, (QStringList{"/r/a.tmp", "/r/sub1", "/r/sub2"}));
    EXPECT_EQ(h.folders.last(), QStringLiteral("/r/sub1"));
    EXPECT_EQ(h.fs.listed, (std::vector<QString>{"/r/", "/r/sub1/"}));
    ASSERT_TRUE(h.stats);
    EXPECT_EQ(h.stats->FilesFound, 1);
    EXPECT_EQ(h.stats->DirectoriesFound, 2);
}

TEST(FileSearchTest, EmptyRootIsAFolderThatCannotBeListed) {
    Harness h;
    h.search.setRootPath(QString());
    EXPECT_FALSE(h.search.Search());
    EXPECT_EQ(h.folders, QStringList{QString()});
    EXPECT_TRUE(h.fs.listed.empty()); // never the file-system root
    ASSERT_TRUE(h.stats);
    EXPECT_EQ(h.stats->FilesFound, 0);
}

TEST(FileSearchTest, InvalidMaskErrorEndsTheSearchWithoutStatistics) {
    // Reached only by a name the first mask does not take.
    Harness h;
    h.fs.add(QStringLiteral("/r/a.tmp"));
    h.fs.add(QStringLiteral("/r/b.log"));
    h.want({QStringLiteral("*.tmp"), QStringLiteral("[x")});
    try {
        h.search.Search();
        ADD_FAILURE() << "no mask error";
    } catch (const MaskError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'[x' is an invalid mask at (3)"));
    }
    EXPECT_EQ(h.found, QStringList{"/r/a.tmp"});
    EXPECT_FALSE(h.stats);

    // The excluded list is tried even for names the wanted list rejects.
    Harness ex;
    ex.fs.add(QStringLiteral("/r/b.log"));
    ex.want({QStringLiteral("*.tmp")});
    ex.search.setExcludedFiles({QStringLiteral("[]")});
    EXPECT_THROW(ex.search.Search(), MaskError);
    EXPECT_FALSE(ex.stats);
}

TEST(FileSearchTest, AcceptVetoAndElapsedTicks) {
    static quint32 tick = 0xFFFFFFF0u;
    Harness h;
    h.search.setEnvironment({&h.fs, [] { return tick += 0x10; }, &h.pump});
    h.fs.add(QStringLiteral("/r/keep.tmp"));
    h.fs.add(QStringLiteral("/r/veto.tmp"));
    h.search.OnAcceptFile = [](TEasyFileSearch*, TFileInformations& r) {
        return r.Name != QStringLiteral("veto.tmp");
    };
    EXPECT_TRUE(h.search.Search());
    EXPECT_EQ(h.found, QStringList{"/r/keep.tmp"});
    EXPECT_EQ(h.stats->FilesFound, 1);
    EXPECT_EQ(h.stats->ElapsedMs, 0x10); // wraps through zero
}

TEST(FileSearchTest, ListsChangedDuringASearchApplyToTheNextOne) {
    Harness h;
    h.fs.add(QStringLiteral("/r/a.tmp"));
    h.fs.add(QStringLiteral("/r/b.tmp"));
    h.want({QStringLiteral("*.tmp")});
    h.pump.during = [&] { h.search.setFileNames({}); };
    EXPECT_TRUE(h.search.Search());
    EXPECT_EQ(h.found.size(), 2);
    h.pump.during = nullptr;
    EXPECT_TRUE(h.search.Search());
    EXPECT_EQ(h.found.size(), 2); // nothing more: the list is empty now
}

} // namespace
