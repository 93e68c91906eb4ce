// Restores and backups where links, special files and hostile volumes wait:
// nothing is written outside the chosen folder or through a link, nothing
// the user had is lost, nothing runs without end, nothing is dropped unsaid.
#include "backup_test_util.h"

#include "support/forwarding_file_system.h"
#include "support/qt_printers.h"

#include <QDirIterator>
#include <QElapsedTimer>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace pylomir::backup::testing {
namespace {

const QByteArray kHeader = i32(1) + "T" + i32(5) + i32(1);
const QByteArray kHello = QByteArray("EC2\0", 4) + i32(-5) + "hello" + i32(0); // one segment

// A member's name and date; its segments follow.
QByteArray head(const QByteArray& name) {
    return i32(name.size()) + name + i32(0x54A86000);
}
QByteArray next(const char* digits) {
    return i32(12) + "NEXT:DISK" + digits;
}

qint64 bytesUnder(const QString& folder) {
    qint64 total = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        total += it.nextFileInfo().size();
    return total;
}

// A scratch folder with the archive at x.backup, its volumes beside it.
struct Scene {
    QTemporaryDir dir;
    QString target; // the restore folder; empty for the stored paths
    bool folderTree = false;

    QString path(const QString& relative) const { return dir.filePath(relative); }
    void put(const QString& relative, const QByteArray& bytes) { writeFile(path(relative), bytes); }
    void link(const QString& to, const QString& at) {
        ASSERT_TRUE(QFile::link(path(to), path(at)));
    }
};

struct SafetyCase {
    const char* name;
    std::function<void(Scene&)> plant; // the archive and what waits at its targets
    qint32 code;
    std::function<void(const Scene&)> verify;
};
void PrintTo(const SafetyCase& c, std::ostream* os) {
    *os << c.name;
}

class RestoreSafety : public ::testing::TestWithParam<SafetyCase> {};

TEST_P(RestoreSafety, NothingOutsideNothingLostNothingEndless) {
    const SafetyCase& c = GetParam();
    Scene s;
    QDir().mkpath(s.path("elsewhere/deep"));
    s.put("victim", "VICTIM");
    c.plant(s);
    Archiver archiver;
    archiver.setRestoreFolderTree(s.folderTree);
    Errors errors;
    collectErrors(archiver, errors);
    archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
    QElapsedTimer clock;
    clock.start();
    // A restore that ran away is stopped here rather than filling the disk.
    archiver.onProgress = [&](Archiver*, const QString&, Percent, bool& go) {
        go = go && clock.elapsed() < 5000 && bytesUnder(s.path(".")) < (1 << 20);
    };
    EXPECT_EQ(archiver.restore(s.path("x.backup"), s.target), c.code == ecNone);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(archiver.errorCode(), c.code);
    EXPECT_EQ(errors.size(), c.code ? 1u : 0u); // reported once
    EXPECT_EQ(readAll(s.path("victim")), "VICTIM");
    EXPECT_TRUE(QDir(s.path("elsewhere/deep")).isEmpty());
    c.verify(s);
}

const auto intoOut = [](Scene& s, bool tree) {
    s.target = s.path("out");
    s.folderTree = tree;
    QDir().mkpath(s.target);
};

const SafetyCase kRestoreCases[] = {
    {"LinkedSubfolderWithFullPaths",
     [](Scene& s) {
         intoOut(s, true);
         s.link("elsewhere/deep", "out/lnk");
         s.put("x.backup",
               kHeader + head("/lnk/newdir/deeper/f") + kHello + head("/ok.txt") + kHello + i32(0));
     },
     ecOutsideFolder, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/ok.txt")), "hello"); }},
    // "lnk/.." is the restore folder as text but elsewhere as the system
    // follows it: only the names' own check tells.
    {"ClimbingNameWithFullPaths",
     [](Scene& s) {
         intoOut(s, true);
         s.link("elsewhere/deep", "out/lnk");
         s.put("x.backup", kHeader + head("/lnk/../f") + kHello + i32(0));
     },
     ecOutsideFolder,
     [](const Scene& s) { EXPECT_FALSE(QFileInfo::exists(s.path("elsewhere/f"))); }},
    {"HardLinkedTarget",
     [](Scene& s) {
         intoOut(s, false);
         ASSERT_EQ(::link(QFile::encodeName(s.path("victim")).constData(),
                          QFile::encodeName(s.path("out/f.txt")).constData()),
                   0);
         s.put("x.backup", kHeader + head("/x/f.txt") + kHello + i32(0));
     },
     ecNone, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/f.txt")), "hello"); }},
    {"LinkAtStoredPathTarget",
     [](Scene& s) {
         s.link("victim", "t.txt");
         s.put("x.backup", kHeader + head(encodeText(s.path("t.txt"))) + kHello + i32(0));
     },
     ecNone,
     [](const Scene& s) {
         EXPECT_FALSE(QFileInfo(s.path("t.txt")).isSymLink()); // the link itself was replaced
         EXPECT_EQ(readAll(s.path("t.txt")), "hello");
     }},
    {"SelfReferencingVolume",
     [](Scene& s) {
         intoOut(s, false);
         s.put("x.backup", kHeader + head("/m.bin") + kHello + next("002"));
         s.put("x.002", kHello + next("002"));
     },
     ecReadArchive, [](const Scene& s) { EXPECT_FALSE(QFileInfo::exists(s.path("out/m.bin"))); }},
    {"VolumesNamingEachOther",
     [](Scene& s) {
         intoOut(s, false);
         s.put("x.backup", kHeader + head("/m.bin") + kHello + next("002"));
         s.put("x.002", kHello + next("003"));
         s.put("x.003", kHello + next("002"));
     },
     ecReadArchive, [](const Scene& s) { EXPECT_FALSE(QFileInfo::exists(s.path("out/m.bin"))); }},
    {"DamagedBlockKeepsTheOriginal",
     [](Scene& s) {
         intoOut(s, false);
         s.put("out/m.bin", "OLD");
         QByteArray bad = qCompress(QByteArray("hello"), 1).mid(4);
         bad[bad.size() - 1] = char(bad[bad.size() - 1] ^ 0x55); // its checksum
         s.put("x.backup", kHeader + head("/m.bin") + kHello.chopped(4) + i32(bad.size()) + bad +
                               i32(0) + i32(0));
     },
     ecCompression, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/m.bin")), "OLD"); }},
    {"DamageInTheNextVolumeKeepsTheOriginal",
     [](Scene& s) {
         intoOut(s, false);
         s.put("out/m.bin", "OLD");
         s.put("x.backup", kHeader + head("/m.bin") + kHello + next("002"));
         s.put("x.002", "EC3" + kHello.mid(3) + i32(0));
     },
     ecReadData, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/m.bin")), "OLD"); }},
};

INSTANTIATE_TEST_SUITE_P(Hostile, RestoreSafety, ::testing::ValuesIn(kRestoreCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackupSafety, AnArchiveThatIsOneOfItsInputsIsRefused) {
    const struct {
        const char* archive;
        const char* input;
        qint32 maxSize;
    } cases[] = {
        {"same.log", "same.log", 0},         // the same path
        {"link.backup", "same.log", 0},      // a link to the input
        {"linkdir/same.log", "same.log", 0}, // a link to the input's folder
        {"x.backup", "x.002", 100},          // a later volume
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        Scene s;
        const QByteArray data = testData(3 * kBlockSize, 5);
        s.put(c.input, data);
        s.link(c.input, "link.backup");
        s.link(".", "linkdir");
        Archiver archiver;
        configureForBackup(archiver, true);
        archiver.setMaxVolumeSize(c.maxSize);
        archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
        Errors errors;
        collectErrors(archiver, errors);
        EXPECT_FALSE(archiver.backup({s.path(c.input)}, s.path(c.archive)));
        EXPECT_EQ(errors, errorNaming(ecArchiveIsInput, s.path(c.input)));
        EXPECT_EQ(readAll(s.path(c.input)), data);
        EXPECT_TRUE(QFileInfo(s.path("link.backup")).isSymLink());
        EXPECT_FALSE(QFileInfo::exists(s.path("x.backup")));
    }
}

// The machine's file system with folders that cannot be listed.
struct WatchedFileSystem : pylomir::testing::ForwardingFileSystem {
    QSet<QString> unlistable;
    QStringList opened;

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        return unlistable.contains(folder) ? nullptr : ForwardingFileSystem::list(folder);
    }
    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        opened << path;
        return ForwardingFileSystem::openForReading(path, reason);
    }
};

TEST(BackupSafety, SpecialFilesAndUnlistableFoldersAreReportedNotDropped) {
    Scene s;
    s.put("a.txt", "a");
    s.put("sub/locked/c.txt", "c");
    ASSERT_EQ(::mkfifo(QFile::encodeName(s.path("fifo.txt")).constData(), 0644), 0);
    WatchedFileSystem fs;
    fs.unlistable << s.path("sub/locked/");
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setFileSystem(&fs);
    Errors errors;
    collectErrors(archiver, errors);
    EXPECT_FALSE(archiver.backup({s.path("*.txt /s"), s.path("fifo.txt")}, s.path("x.backup")));
    EXPECT_EQ(archiver.skippedInputs(), QStringList({s.path("sub/locked/"), s.path("fifo.txt")}));
    EXPECT_EQ(errors,
              errorNaming(ecSkippedInput, s.path("sub/locked/") + "\n" + s.path("fifo.txt")));
    EXPECT_FALSE(fs.opened.contains(s.path("fifo.txt"))); // it would block
    EXPECT_EQ(archiver.fileCount(), 1);
    // The rest is a whole archive.
    ASSERT_TRUE(Archiver().restore(s.path("x.backup"), s.path("out")));
    EXPECT_EQ(QDir(s.path("out")).entryList(QDir::Files), QStringList{"a.txt"});
}

} // namespace
} // namespace pylomir::backup::testing
