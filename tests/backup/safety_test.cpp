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

const QByteArray kHello = i32(-5) + "hello";

QByteArray header(qint32 total = 5, qint32 count = 1) {
    return i32(1) + "T" + i32(total) + i32(count);
}
QByteArray segment(const QByteArray& blocks) {
    return QByteArray("EC2\0", 4) + blocks + i32(0);
}
// A member's name and date; its segments follow.
QByteArray memberHead(const QByteArray& name) {
    return i32(name.size()) + name + i32(0x54A86000);
}
QByteArray volumeRecord(const char* digits) {
    return i32(12) + "NEXT:DISK" + digits;
}
QByteArray damagedBlock() {
    QByteArray stream = qCompress(QByteArray("hello"), 1).mid(4);
    stream[stream.size() - 1] = char(stream[stream.size() - 1] ^ 0x55); // its checksum
    return i32(stream.size()) + stream;
}

qint64 bytesUnder(const QString& folder) {
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

bool isLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

// A scratch folder with the archive at x.backup, its volumes beside it.
struct Scene {
    QTemporaryDir dir;
    QString root = dir.path();
    QString archive = root + "/x.backup";
    QString target; // the restore folder; empty for the stored paths
    bool folderTree = false;

    QString path(const QString& relative) const { return root + "/" + relative; }
    void put(const QString& relative, const QByteArray& bytes) { writeFile(path(relative), bytes); }
};

struct SafetyCase {
    const char* name;
    std::function<void(Scene&)> plant; // the archive and what waits at its targets
    bool result;
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
        if (clock.elapsed() > 5000 || bytesUnder(s.root) > (1 << 20))
            go = false;
    };
    EXPECT_EQ(archiver.restore(s.archive, s.target), c.result);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_LT(bytesUnder(s.root), 1 << 20);
    EXPECT_EQ(archiver.errorCode(), c.code);
    EXPECT_EQ(errors.size(), c.code ? 1u : 0u); // reported once
    c.verify(s);
}

const SafetyCase kRestoreCases[] = {
    {"LinkedSubfolderWithFullPaths",
     [](Scene& s) {
         QDir().mkpath(s.path("elsewhere"));
         QDir().mkpath(s.path("out"));
         ASSERT_TRUE(QFile::link(s.path("elsewhere"), s.path("out/lnk")));
         s.put("x.backup", header(10, 2) + memberHead("/lnk/newdir/deeper/f") + segment(kHello) +
                               memberHead("/ok.txt") + segment(kHello) + i32(0));
         s.target = s.path("out");
         s.folderTree = true;
     },
     false, ecOutsideFolder,
     [](const Scene& s) {
         EXPECT_TRUE(QDir(s.path("elsewhere")).isEmpty()); // no folder made there either
         EXPECT_EQ(readAll(s.path("out/ok.txt")), "hello");
     }},
    // "lnk/.." names the folder itself as text, but elsewhere as the system
    // follows it: only the names' own check can tell.
    {"ClimbingNameWithFullPaths",
     [](Scene& s) {
         QDir().mkpath(s.path("elsewhere/deep"));
         QDir().mkpath(s.path("out"));
         ASSERT_TRUE(QFile::link(s.path("elsewhere/deep"), s.path("out/lnk")));
         s.put("x.backup", header() + memberHead("/lnk/../f") + segment(kHello) + i32(0));
         s.target = s.path("out");
         s.folderTree = true;
     },
     false, ecOutsideFolder,
     [](const Scene& s) {
         EXPECT_TRUE(QDir(s.path("elsewhere")).entryList(QDir::Files).isEmpty());
         EXPECT_FALSE(QFileInfo::exists(s.path("out/f")));
     }},
    {"HardLinkedTarget",
     [](Scene& s) {
         s.put("victim", "VICTIM");
         QDir().mkpath(s.path("out"));
         ASSERT_EQ(::link(QFile::encodeName(s.path("victim")).constData(),
                          QFile::encodeName(s.path("out/f.txt")).constData()),
                   0);
         s.put("x.backup", header() + memberHead("/x/f.txt") + segment(kHello) + i32(0));
         s.target = s.path("out");
     },
     true, ecNone,
     [](const Scene& s) {
         EXPECT_EQ(readAll(s.path("out/f.txt")), "hello");
         EXPECT_EQ(readAll(s.path("victim")), "VICTIM");
     }},
    {"LinkAtStoredPathTarget",
     [](Scene& s) {
         s.put("victim", "VICTIM");
         ASSERT_TRUE(QFile::link(s.path("victim"), s.path("t.txt")));
         const QByteArray name = encodeText(s.path("t.txt"));
         s.put("x.backup", header() + memberHead(name) + segment(kHello) + i32(0));
     },
     true, ecNone,
     [](const Scene& s) {
         EXPECT_FALSE(isLink(s.path("t.txt"))); // the link itself was replaced
         EXPECT_EQ(readAll(s.path("t.txt")), "hello");
         EXPECT_EQ(readAll(s.path("victim")), "VICTIM");
     }},
    {"SelfReferencingVolume",
     [](Scene& s) {
         s.put("x.backup", header() + memberHead("/m.bin") + segment(kHello) + volumeRecord("002"));
         s.put("x.002", segment(kHello) + volumeRecord("002"));
         s.target = s.path("out");
     },
     false, ecReadArchive,
     [](const Scene& s) { EXPECT_FALSE(QFileInfo::exists(s.path("out/m.bin"))); }},
    {"VolumesNamingEachOther",
     [](Scene& s) {
         s.put("x.backup", header() + memberHead("/m.bin") + segment(kHello) + volumeRecord("002"));
         s.put("x.002", segment(kHello) + volumeRecord("003"));
         s.put("x.003", segment(kHello) + volumeRecord("002"));
         s.target = s.path("out");
     },
     false, ecReadArchive,
     [](const Scene& s) { EXPECT_FALSE(QFileInfo::exists(s.path("out/m.bin"))); }},
    {"DamagedBlockKeepsTheOriginal",
     [](Scene& s) {
         s.put("out/m.bin", "OLD");
         s.put("x.backup",
               header() + memberHead("/m.bin") + segment(kHello + damagedBlock()) + i32(0));
         s.target = s.path("out");
     },
     false, ecCompression, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/m.bin")), "OLD"); }},
    {"DamageInTheNextVolumeKeepsTheOriginal",
     [](Scene& s) {
         s.put("out/m.bin", "OLD");
         s.put("x.backup", header() + memberHead("/m.bin") + segment(kHello) + volumeRecord("002"));
         s.put("x.002", "EC3" + QByteArray(1, '\0') + kHello + i32(0) + i32(0));
         s.target = s.path("out");
     },
     false, ecReadData, [](const Scene& s) { EXPECT_EQ(readAll(s.path("out/m.bin")), "OLD"); }},
};

INSTANTIATE_TEST_SUITE_P(Hostile, RestoreSafety, ::testing::ValuesIn(kRestoreCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the restore cannot make a folder it needs, it says so and names it.
TEST(RestoreSafety, FoldersThatCannotBeMadeAreReported) {
    Scene s;
    s.put("file", "FILE");
    s.put("out/sub", "BLOCKS THE FOLDER");
    s.put("x.backup", header() + memberHead("/sub/f.txt") + segment(kHello) + i32(0));
    const struct {
        QString target;
        QString named;
    } cases[] = {{s.path("file"), s.path("file")}, {s.path("out"), s.path("out/sub")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        Archiver archiver;
        archiver.setRestoreFolderTree(true);
        Errors errors;
        collectErrors(archiver, errors);
        EXPECT_FALSE(archiver.restore(s.archive, c.target));
        EXPECT_EQ(errors, errorNaming(ecCreateFolder, c.named));
        EXPECT_EQ(archiver.filesDone(), 0);
    }
    EXPECT_EQ(readAll(s.path("file")), "FILE");
    EXPECT_EQ(readAll(s.path("out/sub")), "BLOCKS THE FOLDER");
}

// The machine's file system, with folders that cannot be listed, and a log
// of what was opened.
class WatchedFileSystem : public pylomir::testing::ForwardingFileSystem {
public:
    QSet<QString> unlistable;
    QStringList readOpened;
    std::vector<platform::WriteMode> writeModes;

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        return unlistable.contains(folder) ? nullptr : ForwardingFileSystem::list(folder);
    }
    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        readOpened << path;
        return ForwardingFileSystem::openForReading(path, reason);
    }
    std::unique_ptr<platform::OutputFile>
    openForWriting(const QString& path, platform::WriteMode mode, QString* reason) override {
        writeModes.push_back(mode);
        return ForwardingFileSystem::openForWriting(path, mode, reason);
    }
};

TEST(BackupSafety, AnArchiveThatIsOneOfItsInputsIsRefused) {
    const struct {
        const char* what;
        const char* archive;
        const char* input;
        qint32 maxSize;
    } cases[] = {
        {"the same path", "same.log", "same.log", 0},
        {"a link to the input", "link.backup", "same.log", 0},
        {"a link to a folder of the input", "linkdir/same.log", "same.log", 0},
        {"a later volume", "x.backup", "x.002", 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        const QByteArray data = testData(3 * kBlockSize, 5);
        s.put("same.log", data);
        s.put("x.002", data);
        ASSERT_TRUE(QFile::link(s.path("same.log"), s.path("link.backup")));
        ASSERT_TRUE(QFile::link(s.root, s.path("linkdir")));
        Archiver archiver;
        configureForBackup(archiver, true);
        archiver.setMaxVolumeSize(c.maxSize);
        archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
        Errors errors;
        collectErrors(archiver, errors);
        EXPECT_FALSE(archiver.backup({s.path(c.input)}, s.path(c.archive)));
        EXPECT_EQ(errors, errorNaming(ecArchiveIsInput, s.path(c.input)));
        EXPECT_EQ(readAll(s.path(c.input)), data);
        EXPECT_TRUE(isLink(s.path("link.backup")));
        EXPECT_FALSE(QFileInfo::exists(s.path("x.backup")));
    }
}

TEST(BackupSafety, SpecialFilesAndUnlistableFoldersAreReportedNotDropped) {
    Scene s;
    s.put("a.txt", "a");
    s.put("sub/b.txt", "b");
    s.put("sub/locked/c.txt", "c");
    ASSERT_EQ(::mkfifo(QFile::encodeName(s.path("fifo.txt")).constData(), 0644), 0);
    WatchedFileSystem fs;
    fs.unlistable << s.path("sub/locked/");
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setFileSystem(&fs);
    Errors errors;
    collectErrors(archiver, errors);
    EXPECT_FALSE(archiver.backup({s.path("*.txt /s"), s.path("fifo.txt")}, s.archive));
    EXPECT_EQ(archiver.skippedInputs(), QStringList({s.path("sub/locked/"), s.path("fifo.txt")}));
    EXPECT_EQ(errors,
              errorNaming(ecSkippedInput, s.path("sub/locked/") + "\n" + s.path("fifo.txt")));
    EXPECT_FALSE(fs.readOpened.contains(s.path("fifo.txt"))); // it would block
    EXPECT_EQ(archiver.fileCount(), 2);

    // The rest is a whole archive.
    Archiver reader;
    ASSERT_TRUE(reader.restore(s.archive, s.path("out")));
    EXPECT_EQ(readAll(s.path("out/a.txt")), "a");
    EXPECT_EQ(readAll(s.path("out/b.txt")), "b");
    EXPECT_EQ(QDir(s.path("out")).entryList(QDir::Files), QStringList({"a.txt", "b.txt"}));
}

TEST(BackupSafety, ManySkippedInputsAreNamedUpToTenThenCounted) {
    Scene s;
    WatchedFileSystem fs;
    QStringList entries;
    for (int i = 0; i < 12; ++i) {
        QDir().mkpath(s.path(QString("d%1").arg(i, 2, 10, QChar('0'))));
        fs.unlistable << s.path(QString("d%1/").arg(i, 2, 10, QChar('0')));
        entries << s.path(QString("d%1/*").arg(i, 2, 10, QChar('0')));
    }
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setFileSystem(&fs);
    Errors errors;
    collectErrors(archiver, errors);
    EXPECT_FALSE(archiver.backup(entries, s.archive));
    ASSERT_EQ(errors.size(), 1u);
    const QStringList lines = errors[0].second.split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[10], s.path("d09/"));
    EXPECT_EQ(lines[11], "(i 2 innych)");
}

// Every volume goes in place under its name only when it is whole.
TEST(BackupSafety, EveryVolumeIsWrittenAsAReplacement) {
    Scene s;
    s.put("data.bin", testData(5 * kBlockSize, 6));
    WatchedFileSystem fs;
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setFileSystem(&fs);
    archiver.setMaxVolumeSize(100);
    archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
    ASSERT_TRUE(archiver.backup({s.path("data.bin")}, s.archive));
    const qsizetype volumes = QDir(s.root).entryList({"x.*"}).size();
    ASSERT_GE(volumes, 5);
    EXPECT_EQ(fs.writeModes,
              std::vector<platform::WriteMode>(size_t(volumes), platform::WriteMode::Replace));
}

} // namespace
} // namespace pylomir::backup::testing
