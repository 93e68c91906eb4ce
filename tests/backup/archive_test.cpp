// Writing archives: exact bytes, round trips, volumes and the work list.
#include "backup_test_util.h"

#include "support/fake_file_system.h"
#include "support/scripted_ui.h"

#include <QBuffer>

#include <functional>

namespace pylomir::backup::testing {
namespace {

// A compressed block as the fastest level writes it (qCompress puts a 4-byte length first).
QByteArray zlibBlock(const QByteArray& data) {
    const QByteArray stream = qCompress(data, 1).mid(4);
    return i32(stream.size()) + stream;
}

TEST(ArchiveBytes, SmallArchiveMatchesHandComputedLayout) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty"), hundred = dir.filePath("hundred.bin");
    const QByteArray data = testData(100, 7); // random: its stream grows, yet fits a block
    writeFile(empty, {}, QDateTime(QDate(2020, 2, 29), QTime(23, 59, 58)));
    writeFile(hundred, data, QDateTime(QDate(2021, 6, 15), QTime(10, 20, 31)));
    const QByteArray title = encodeText(QStringLiteral("Tytuł"));
    const QByteArray members = member(encodeText(empty), 0x505DBF7D, {}) +
                               member(encodeText(hundred), 0x52CF528F, zlibBlock(data)) + i32(0);
    for (const bool withList : {false, true}) {
        SCOPED_TRACE(withList);
        TBackupFile bf;
        configureForBackup(bf, withList);
        bf.setBackupTitle(QStringLiteral("Tytuł"));
        const QString archive = dir.filePath(withList ? "b.backup" : "a.backup");
        ASSERT_TRUE(bf.Backup({empty, hundred}, archive));
        const QByteArray bytes = readAll(archive);
        QByteArray list, listMember; // the list's date is the time of writing
        if (withList) {
            list = encodeText(empty + "\t1348321149=0\r\n" + hundred + "\t1389318799=100\r\n");
            const qint32 listDate = readI32(bytes, 4 + title.size() + 8 + 4 + 9);
            listMember = member("FILE:LIST", listDate, zlibBlock(list));
        }
        EXPECT_EQ(bytes, i32(title.size()) + title + i32(100 + list.size()) + i32(2) + listMember +
                             members);
    }
}

TEST(ArchiveBytes, BlockKindsFollowTheCompressedLength) {
    QTemporaryDir dir;
    const QString full = dir.filePath("full"), shortFile = dir.filePath("short");
    writeFile(full, testData(kBlockSize, 1));
    writeFile(shortFile, testData(500, 2, true));
    const std::tuple<TCompressionLevel, QString, int> cases[] = {
        // -2: an incompressible full block is stored; a short one gets a level-0 stream.
        {clFastest, full, -2},
        {clNone, full, -2},
        {clNone, shortFile, 0},
        {clDefault, shortFile, -1},
        {clMax, shortFile, 9}};
    for (const auto& [level, file, zlibLevel] : cases) {
        SCOPED_TRACE(int(level));
        TBackupFile bf;
        configureForBackup(bf);
        bf.setBackupTitle({});
        bf.setCompressionLevel(level);
        ASSERT_TRUE(bf.Backup({file}, dir.filePath("x.backup")));
        const QByteArray bytes = readAll(dir.filePath("x.backup"));
        const qsizetype blockAt = 12 + 4 + encodeText(file).size() + 4 + 4;
        const QByteArray payload =
            zlibLevel == -2 ? readAll(file) : qCompress(readAll(file), zlibLevel).mid(4);
        EXPECT_EQ(readI32(bytes, blockAt), zlibLevel == -2 ? -kBlockSize : payload.size());
        EXPECT_EQ(bytes.mid(blockAt + 4, payload.size()), payload);
    }
}

// Files of awkward sizes and kinds (text in .txt files) with distinct times.
struct Corpus {
    QStringList files;
    std::vector<std::pair<QByteArray, QDateTime>> stored;

    explicit Corpus(const QString& root) {
        const QStringList names =
            QString::fromUtf8("empty.dat one.dat sub/b16383.dat sub/b16384.dat "
                              "sub/deep/b16385.dat big-random.bin big-text.txt "
                              "zażółć_gęślą.txt 日本.bin")
                .split(' ');
        const qsizetype sizes[] = {0, 1, 16383, 16384, 16385, 2'000'000, 1'500'000, 20000, 3000};
        unsigned seed = 11;
        QDateTime t(QDate(2019, 3, 4), QTime(5, 6, 7));
        for (int i = 0; i < 9; ++i) {
            files << root + "/" + names[i];
            const QByteArray data = testData(sizes[i], ++seed, files.back().endsWith(".txt"));
            stored.emplace_back(data, fromDosDateTime(toDosDateTime(t)));
            writeFile(files.back(), stored.back().first, t);
            t = t.addSecs(86400 + 3601);
        }
    }

    void expectAt(const std::function<QString(const QString&)>& where) const {
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString path = where(files[i]);
            EXPECT_TRUE(readAll(path) == stored[i].first) << path.toStdString();
            EXPECT_EQ(QFileInfo(path).lastModified(), stored[i].second) << path.toStdString();
        }
    }
};

class RoundTrip : public ::testing::TestWithParam<std::tuple<TCompressionLevel, qint32>> {};

TEST_P(RoundTrip, EveryByteAndTimeComesBack) {
    const auto [level, maxSize] = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath("src"), arch = dir.filePath("arch/");
    const Corpus corpus(source);
    QDir().mkpath(arch);
    TBackupFile bf;
    configureForBackup(bf, true);
    bf.setCompressionLevel(level);
    bf.setMaxSize(maxSize);
    int prompts = 0;
    bf.OnNeedDisk = [&](TBackupFile*, quint16 disk, bool& go) {
        EXPECT_EQ(disk, ++prompts + 1);
        go = true;
    };
    Errors errors;
    collectErrors(bf, errors);
    ASSERT_TRUE(bf.Backup(corpus.files, arch + "a.backup"));
    EXPECT_EQ(bf.FilesDone(), corpus.files.size());

    const QStringList volumes = QDir(arch).entryList(QDir::Files);
    EXPECT_EQ(volumes.size() > 20, maxSize > 0);
    EXPECT_EQ(prompts, volumes.size() - 1);
    for (int v = 1; v < volumes.size(); ++v) {
        // Every volume but the last ends with the record naming the next.
        const QString next = "a." + volumeDigits(v + 1);
        const QByteArray prev = readAll(arch + (v == 1 ? "a.backup" : "a." + volumeDigits(v)));
        EXPECT_LE(prev.size(), maxSize);
        EXPECT_EQ(prev.right(16), i32(12) + "NEXT:DISK" + next.right(3).toLatin1());
        EXPECT_TRUE(readAll(arch + next).startsWith(QByteArray("EC2\0", 4))) << v;
    }

    const auto restoreTo = [&](const QString& folder, bool fullPath,
                               const std::function<QString(const QString&)>& where) {
        prompts = 0; // the reader asks for the same volumes
        bf.setRestoreFullPath(fullPath);
        ASSERT_TRUE(bf.Restore(arch + "a.backup", folder));
        EXPECT_EQ(bf.FilesDone(), corpus.files.size());
        corpus.expectAt(where);
    };
    const QString flat = dir.filePath("flat"), tree = dir.filePath("tree");
    restoreTo(flat, false, [&](const QString& p) { return flat + "/" + QFileInfo(p).fileName(); });
    EXPECT_FALSE(QFileInfo::exists(flat + "/FILE:LIST"));
    restoreTo(tree + "/", true, [&](const QString& p) { return tree + p; });
    ASSERT_TRUE(QDir(source).removeRecursively()); // to the stored paths
    restoreTo(QString(), true, [](const QString& p) { return p; });
    EXPECT_EQ(bf.ErrorCode(), 0);
    EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(LevelsAndVolumes, RoundTrip,
                         ::testing::Combine(::testing::Values(clFastest, clNone, clDefault, clMax),
                                            ::testing::Values(0, 60000)));

TEST(Volumes, PromptCancelAndTinyMaxSize) {
    QTemporaryDir dir;
    writeFile(dir.filePath("data.bin"), testData(200'000, 3));
    TBackupFile bf;
    configureForBackup(bf);
    bf.setMaxSize(40000);
    pylomir::testing::ScriptedUi ui;
    ui.answers = {core::MsgAnswer::Ok, core::MsgAnswer::Cancel};
    bf.setUiPort(&ui);
    EXPECT_FALSE(bf.Backup({dir.filePath("data.bin")}, dir.filePath("c.backup")));
    EXPECT_EQ(bf.ErrorCode(), 0);
    EXPECT_EQ(bf.FilesDone(), 0);
    ASSERT_EQ(ui.texts(), QStringList({"Please insert disk 2 and click OK to continue.",
                                       "Please insert disk 3 and click OK to continue."}));
    EXPECT_EQ(ui.boxes[1].icon, core::MsgIcon::Information);
    EXPECT_EQ(ui.boxes[1].buttons, core::MsgButtons::OkCancel);
    EXPECT_TRUE(readAll(dir.filePath("c.002")).endsWith(i32(12) + "NEXT:DISK003"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("c.003")));

    // Reading it back stops at the same prompt.
    bf.OnNeedDisk = [](TBackupFile*, quint16 disk, bool& go) { go = disk < 3; };
    EXPECT_FALSE(bf.Restore(dir.filePath("c.backup"), dir.filePath("out")));
    EXPECT_EQ(bf.ErrorCode(), 0);

    // A MaxSize below the slack still makes progress: one block per volume.
    const QString file = dir.filePath("d.bin");
    writeFile(file, testData(3 * kBlockSize, 4));
    bf.setMaxSize(100);
    bf.OnNeedDisk = nullptr; // the UI answers OK
    ASSERT_TRUE(bf.Backup({file}, dir.filePath("t.backup")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("t.004")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("t.005")));
    ASSERT_TRUE(bf.Restore(dir.filePath("t.backup"), dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/d.bin")), readAll(file));
}

TEST(WorkList, MaskExpansionOrderDuplicatesAndExclusions) {
    QTemporaryDir dir;
    const QString root = dir.filePath("srv") + "/"; // "/s" inside a path is no switch
    for (const char* name : {"a.tmp", "b.txt", "x[1].tmp", "sub1/c.tmp", "sub1/deep/d.tmp",
                             ".hidden/e.tmp", "sub2/f.TMP", "arch.tmp"})
        writeFile(root + name, name);
    TBackupFile bf; // the archive matches the mask but is never stored
    configureForBackup(bf, true);
    ASSERT_TRUE(bf.Backup({root + "*.tmp /s", root + "a.tmp", root + "x[1].tmp", root + "b.txt",
                           root + "missing.txt"},
                          root + "arch.tmp"));
    QStringList list, stored;
    QString title;
    bf.GetArchiveInfo(root + "arch.tmp", &list, title);
    for (const QString& line : list)
        stored << line.section('\t', 0, 0).mid(root.size());
    // Sub-folders (depth first) before the folder's own files; duplicates once.
    ASSERT_EQ(stored.size(), 6) << stored.join(' ').toStdString();
    const auto at = [&](const char* n) { return stored.indexOf(QString::fromUtf8(n)); };
    EXPECT_LT(at("sub1/deep/d.tmp"), at("sub1/c.tmp"));
    EXPECT_LT(at("sub1/c.tmp"), at("a.tmp"));
    EXPECT_LT(at("sub2/f.TMP"), at("a.tmp"));
    EXPECT_GE(at("x[1].tmp"), 0);
    EXPECT_EQ(at("b.txt"), 5);
    EXPECT_EQ(bf.FileCount(), 6); // a name that matches nothing adds nothing
}

TEST(WorkList, IncrementalTakesArchiveFlagAndClearsIt) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.log"), b = dir.filePath("b.log");
    writeFile(a, "aaa");
    writeFile(b, "bbb");
    pylomir::testing::FakeFileSystem fs;
    fs.add(a, 3, platform::faArchive);
    fs.add(b, 3, 0);
    TBackupFile bf;
    bf.setFileSystem(&fs);
    configureForBackup(bf);
    bf.setBackupMode(bmIncremental); // switching to incremental turns the flag on
    ASSERT_TRUE(bf.Backup({dir.filePath("*.log")}, dir.filePath("i.backup")));
    EXPECT_EQ(bf.FileCount(), 1);
    EXPECT_EQ(fs.attributeCalls, (std::vector<std::pair<QString, qint32>>{{a, 0}}));
}

TEST(Streams, CallerStreamsAreUsedFromTheirPositionAndLeftOpen) {
    QTemporaryDir dir;
    const QString file = dir.filePath("s.txt");
    writeFile(file, testData(40000, 9, true));
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("PREFIX");
    TBackupFile bf;
    configureForBackup(bf);
    bf.setTargetStream(&out);
    ASSERT_TRUE(bf.Backup({file}, ":STREAM"));
    ASSERT_TRUE(out.isOpen());
    out.write("TRAILER");
    out.seek(6);
    bf.setSourceStream(&out);
    ASSERT_TRUE(bf.Restore(":STREAM", dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/s.txt")), readAll(file));
    EXPECT_EQ(out.read(7), QByteArray("TRAILER")); // left just after the archive
}

} // namespace
} // namespace pylomir::backup::testing
