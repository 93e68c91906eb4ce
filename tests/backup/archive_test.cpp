// Writing archives: exact bytes, round trips, volumes and the work list.
#include "backup_test_util.h"

#include "support/fake_file_system.h"
#include "support/scripted_ui.h"

#include <QBuffer>

#include <zlib.h>

namespace pylomir::backup::testing {
namespace {

QByteArray zlibStream(const QByteArray& data, int level) {
    uLongf length = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(length), Qt::Uninitialized);
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &length,
                        reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()),
                        level),
              Z_OK);
    out.resize(qsizetype(length));
    return out;
}

QByteArray member(const QString& name, qint32 date, const QByteArray& blocks) {
    const QByteArray n = encodeText(name);
    return i32(qint32(n.size())) + n + i32(date) + QByteArray("EC2\0", 4) + blocks + i32(0);
}

TEST(ArchiveBytes, SmallArchiveMatchesHandComputedLayout) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty");
    const QString hundred = dir.filePath("hundred.bin");
    const QByteArray data = randomBytes(100, 7);
    writeFile(empty, {}, QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58)));
    writeFile(hundred, data, QDateTime(QDate(2021, 6, 15), QTime(10, 20, 31)));
    const QByteArray block = zlibStream(data, 1);
    // Random data grows, but a stream that fits a block is still used.
    ASSERT_GT(block.size(), 100);
    const QByteArray title = encodeText(QStringLiteral("Tytuł"));
    const QByteArray members = member(empty, 0x505DBF7D, {}) +
                               member(hundred, 0x52CF528F, i32(qint32(block.size())) + block) +
                               i32(0);

    for (const bool withList : {false, true}) {
        SCOPED_TRACE(withList);
        TBackupFile bf;
        configureForBackup(bf);
        bf.setBackupTitle(QStringLiteral("Tytuł"));
        bf.setSaveFileID(withList);
        const QString archive = dir.filePath(withList ? "b.backup" : "a.backup");
        ASSERT_TRUE(bf.Backup({empty, hundred}, archive));
        const QByteArray bytes = readAll(archive);
        EXPECT_EQ(bf.FileCount(), 2);
        EXPECT_EQ(bf.FilesDone(), 2);
        if (!withList) {
            EXPECT_EQ(bytes, i32(qint32(title.size())) + title + i32(100) + i32(2) + members);
            continue;
        }
        const QByteArray list =
            encodeText(empty + "\t1348321149=0\r\n" + hundred + "\t1389318799=100\r\n");
        const QByteArray listBlock = zlibStream(list, 1);
        const qsizetype dateAt = 4 + title.size() + 8 + 4 + 9;
        const qint32 listDate = readI32(bytes, dateAt);
        EXPECT_TRUE(fromDosDateTime(listDate).isValid());
        EXPECT_EQ(bytes, i32(qint32(title.size())) + title + i32(qint32(100 + list.size())) +
                             i32(2) + i32(9) + "FILE:LIST" + i32(listDate) + "EC2" + char(0) +
                             i32(qint32(listBlock.size())) + listBlock + i32(0) + members);
    }
}

TEST(ArchiveBytes, BlockKindsFollowTheCompressedLength) {
    QTemporaryDir dir;
    const QString full = dir.filePath("full");
    const QString shortFile = dir.filePath("short");
    writeFile(full, randomBytes(kBlockSize, 1));
    writeFile(shortFile, compressibleBytes(500, 2));
    struct Case {
        TCompressionLevel level;
        QString file;
        qint32 expectedLength; // 0: positive, compared with zlib's own stream
        int zlibLevel;
    } cases[] = {
        {clFastest, full, -kBlockSize, 1}, // incompressible full block is stored
        {clNone, full, -kBlockSize, 0},
        {clNone, shortFile, 0, 0}, // a short block still gets a level-0 stream
        {clDefault, shortFile, 0, Z_DEFAULT_COMPRESSION},
        {clMax, shortFile, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.level));
        TBackupFile bf;
        configureForBackup(bf);
        bf.setBackupTitle({});
        bf.setCompressionLevel(c.level);
        const QString archive = dir.filePath("x.backup");
        ASSERT_TRUE(bf.Backup({c.file}, archive));
        const QByteArray bytes = readAll(archive);
        const qsizetype blockAt = 12 + 4 + encodeText(c.file).size() + 4 + 4;
        const qint32 length = readI32(bytes, blockAt);
        if (c.expectedLength < 0) {
            EXPECT_EQ(length, c.expectedLength);
            EXPECT_EQ(bytes.mid(blockAt + 4, kBlockSize), readAll(c.file));
        } else {
            const QByteArray stream = zlibStream(readAll(c.file), c.zlibLevel);
            EXPECT_EQ(length, stream.size());
            EXPECT_EQ(bytes.mid(blockAt + 4, length), stream);
        }
    }
}

// A folder of files of awkward sizes and kinds with distinct times.
struct Corpus {
    QStringList files;
    std::vector<QByteArray> contents;
    std::vector<QDateTime> times;

    explicit Corpus(const QString& root) {
        const struct {
            const char* name;
            qsizetype size;
            bool compressible;
        } specs[] = {
            {"empty.dat", 0, false},
            {"one.dat", 1, false},
            {"sub/b16383.dat", 16383, false},
            {"sub/b16384.dat", 16384, false},
            {"sub/deep/b16385.dat", 16385, false},
            {"big-random.bin", 2'000'000, false},
            {"big-text.txt", 1'500'000, true},
            {"zażółć gęślą.txt", 20000, true},
            {"日本.bin", 3000, false},
        };
        unsigned seed = 11;
        QDateTime t(QDate(2019, 3, 4), QTime(5, 6, 7));
        for (const auto& s : specs) {
            const QString path = root + "/" + QString::fromUtf8(s.name);
            const QByteArray data =
                s.compressible ? compressibleBytes(s.size, seed) : randomBytes(s.size, seed);
            writeFile(path, data, t);
            files << path;
            contents.push_back(data);
            times.push_back(fromDosDateTime(toDosDateTime(t)));
            ++seed;
            t = t.addSecs(86400 + 3601);
        }
    }

    void expectAt(const std::function<QString(const QString&)>& where) const {
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString path = where(files[i]);
            SCOPED_TRACE(path.toStdString());
            EXPECT_TRUE(readAll(path) == contents[size_t(i)]);
            EXPECT_EQ(QFileInfo(path).lastModified(), times[size_t(i)]);
        }
    }
};

class RoundTrip : public ::testing::TestWithParam<std::tuple<TCompressionLevel, qint32>> {};

TEST_P(RoundTrip, EveryByteAndTimeComesBack) {
    const auto [level, maxSize] = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath("src");
    const Corpus corpus(source);
    const QString archive = dir.filePath("arch/a.backup");
    QDir().mkpath(dir.filePath("arch"));

    TBackupFile bf;
    configureForBackup(bf);
    bf.setSaveFileID(true);
    bf.setCompressionLevel(level);
    bf.setMaxSize(maxSize);
    int prompts = 0;
    bf.OnNeedDisk = [&](TBackupFile*, quint16 disk, bool& go) {
        EXPECT_EQ(disk, prompts + 2);
        ++prompts;
        go = true;
    };
    Reports reports;
    reports.attach(bf);
    ASSERT_TRUE(bf.Backup(corpus.files, archive));
    EXPECT_EQ(bf.FilesDone(), corpus.files.size());
    EXPECT_TRUE(reports.errors.empty());

    const QStringList volumes = QDir(dir.filePath("arch")).entryList(QDir::Files, QDir::Name);
    if (maxSize == 0) {
        EXPECT_EQ(volumes, QStringList{"a.backup"});
    } else {
        ASSERT_GT(volumes.size(), 20);
        EXPECT_EQ(prompts, volumes.size() - 1);
        for (int v = 1; v < volumes.size(); ++v) {
            const QString name = QStringLiteral("a.") + volumeDigits(v + 1);
            EXPECT_TRUE(volumes.contains(name)) << name.toStdString();
            // Every volume but the last ends with the record naming the next.
            const QByteArray prev = readAll(dir.filePath(
                "arch/" + (v == 1 ? QStringLiteral("a.backup") : "a." + volumeDigits(v))));
            EXPECT_LE(prev.size(), maxSize);
            EXPECT_EQ(prev.right(16), i32(12) + "NEXT:DISK" + volumeDigits(v + 1).toLatin1());
            EXPECT_TRUE(readAll(dir.filePath("arch/" + name)).startsWith(QByteArray("EC2\0", 4)));
        }
    }

    // Into another folder, flat and with the stored tree.
    const QString flat = dir.filePath("flat");
    prompts = 0;                            // the reader asks for the same volumes
    ASSERT_TRUE(bf.Restore(archive, flat)); // no trailing separator
    EXPECT_EQ(bf.FilesDone(), corpus.files.size());
    corpus.expectAt([&](const QString& p) { return flat + "/" + QFileInfo(p).fileName(); });
    EXPECT_FALSE(QFileInfo::exists(flat + "/FILE:LIST"));

    const QString tree = dir.filePath("tree");
    bf.setRestoreFullPath(true);
    prompts = 0;
    ASSERT_TRUE(bf.Restore(archive, tree + "/"));
    corpus.expectAt([&](const QString& p) { return tree + p; });

    // To the stored paths, after the originals are gone.
    ASSERT_TRUE(QDir(source).removeRecursively());
    prompts = 0;
    ASSERT_TRUE(bf.Restore(archive, QString()));
    corpus.expectAt([](const QString& p) { return p; });
    EXPECT_EQ(bf.ErrorCode(), 0);
    EXPECT_TRUE(reports.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(LevelsAndVolumes, RoundTrip,
                         ::testing::Combine(::testing::Values(clFastest, clNone, clDefault, clMax),
                                            ::testing::Values(0, 60000)));

TEST(Volumes, PromptThroughUiAndCancelEndsWithoutEndMarker) {
    QTemporaryDir dir;
    const QString file = dir.filePath("data.bin");
    writeFile(file, randomBytes(200'000, 3));
    TBackupFile bf;
    configureForBackup(bf);
    bf.setMaxSize(40000);
    pylomir::testing::ScriptedUi ui;
    ui.answers = {scan::MsgAnswer::Ok, scan::MsgAnswer::Cancel};
    bf.setUiPort(&ui);
    const QString archive = dir.filePath("c.backup");
    EXPECT_FALSE(bf.Backup({file}, archive));
    EXPECT_EQ(bf.ErrorCode(), 0);
    EXPECT_EQ(bf.FilesDone(), 0);
    ASSERT_EQ(ui.boxes.size(), 2u); // two prompts, no error box
    EXPECT_EQ(ui.boxes[0].text, "Please insert disk 2 and click OK to continue.");
    EXPECT_EQ(ui.boxes[1].text, "Please insert disk 3 and click OK to continue.");
    EXPECT_EQ(ui.boxes[1].icon, scan::MsgIcon::Information);
    EXPECT_EQ(ui.boxes[1].buttons, scan::MsgButtons::OkCancel);
    EXPECT_TRUE(readAll(dir.filePath("c.002")).endsWith(i32(12) + "NEXT:DISK003"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("c.003")));

    // Reading it back stops at the same prompt.
    bf.OnNeedDisk = [](TBackupFile*, quint16 disk, bool& go) { go = disk < 3; };
    EXPECT_FALSE(bf.Restore(archive, dir.filePath("out")));
    EXPECT_EQ(bf.ErrorCode(), 0);
}

TEST(Volumes, TinyMaxSizeStillMakesProgress) {
    QTemporaryDir dir;
    const QString file = dir.filePath("d.bin");
    writeFile(file, randomBytes(3 * kBlockSize, 4));
    TBackupFile bf;
    configureForBackup(bf);
    bf.setMaxSize(100); // below the slack: one block per volume
    ASSERT_TRUE(bf.Backup({file}, dir.filePath("t.backup")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("t.004")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("t.005")));
    ASSERT_TRUE(bf.Restore(dir.filePath("t.backup"), dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/d.bin")), readAll(file));
}

TEST(WorkList, MaskExpansionOrderDuplicatesAndExclusions) {
    QTemporaryDir dir;
    const QString root = dir.filePath("srv"); // "/s" inside a path is no switch
    for (const char* name : {"a.tmp", "b.txt", "x[1].tmp", "sub1/c.tmp", "sub1/deep/d.tmp",
                             ".hidden/e.tmp", "sub2/f.TMP"})
        writeFile(root + "/" + name, name);
    const QString archive = root + "/arch.tmp"; // matches the mask: never stored
    writeFile(archive, "old archive");
    TBackupFile bf;
    configureForBackup(bf);
    bf.setSaveFileID(true);
    ASSERT_TRUE(bf.Backup({root + "/*.tmp /s", root + "/a.tmp", root + "/x[1].tmp", root + "/b.txt",
                           root + "/missing.txt"},
                          archive));
    QStringList list;
    QString title;
    bf.GetArchiveInfo(archive, &list, title);
    QStringList stored;
    for (const QString& line : list)
        stored << line.section('\t', 0, 0).mid(root.size() + 1);
    // Sub-folders (depth first) before the folder's own files.
    ASSERT_EQ(stored.size(), 6) << stored.join(' ').toStdString();
    const auto at = [&](const char* n) { return stored.indexOf(QString::fromUtf8(n)); };
    EXPECT_LT(at("sub1/deep/d.tmp"), at("sub1/c.tmp"));
    EXPECT_LT(at("sub1/c.tmp"), at("a.tmp"));
    EXPECT_LT(at("sub2/f.TMP"), at("a.tmp"));
    EXPECT_GE(at("x[1].tmp"), 0);
    EXPECT_EQ(at("b.txt"), 5);
    EXPECT_EQ(bf.FileCount(), 6); // a name that matches nothing adds nothing
    EXPECT_EQ(bf.FilesDone(), 0); // the information read resets it
}

TEST(WorkList, IncrementalTakesArchiveFlagAndClearsIt) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.log");
    const QString b = dir.filePath("b.log");
    writeFile(a, "aaa");
    writeFile(b, "bbb");
    pylomir::testing::FakeFileSystem fs;
    fs.add(a, 3, platform::faArchive);
    fs.add(b, 3, 0);
    TBackupFile bf;
    bf.setFileSystem(&fs);
    bf.setBackupMode(bmAll);
    bf.setSetArchiveFlag(false);
    bf.setBackupMode(bmIncremental); // switching to incremental turns the flag on
    EXPECT_TRUE(bf.SetArchiveFlag());
    ASSERT_TRUE(bf.Backup({dir.filePath("*.log")}, dir.filePath("i.backup")));
    EXPECT_EQ(bf.FileCount(), 1);
    ASSERT_EQ(fs.attributeCalls.size(), 1u);
    EXPECT_EQ(fs.attributeCalls[0], std::make_pair(a, qint32(0)));
}

TEST(Streams, CallerStreamsAreUsedFromTheirPositionAndLeftOpen) {
    QTemporaryDir dir;
    const QString file = dir.filePath("s.txt");
    writeFile(file, compressibleBytes(40000, 9));
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("PREFIX");
    TBackupFile bf;
    configureForBackup(bf);
    bf.setTargetStream(&out);
    ASSERT_TRUE(bf.Backup({file}, ":STREAM"));
    EXPECT_TRUE(out.isOpen());
    out.write("TRAILER");
    out.seek(6);
    bf.setSourceStream(&out);
    ASSERT_TRUE(bf.Restore(":STREAM", dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/s.txt")), readAll(file));
    EXPECT_EQ(out.read(7), QByteArray("TRAILER")); // left just after the archive
}

} // namespace
} // namespace pylomir::backup::testing
