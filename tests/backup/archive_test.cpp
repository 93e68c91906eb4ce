// Writing archives: exact bytes, round trips, volumes and the work list.
#include "backup_test_util.h"

#include "backup/backup_sources.h"
#include "support/fake_file_system.h"
#include "support/scripted_ui.h"

#include <QBuffer>
#include <QHash>

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
        Archiver archiver;
        configureForBackup(archiver, withList);
        archiver.setTitle(QStringLiteral("Tytuł"));
        const QString archive = dir.filePath(withList ? "b.backup" : "a.backup");
        ASSERT_TRUE(archiver.backup({empty, hundred}, archive));
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

class ArchiveRoundTrip : public ::testing::TestWithParam<std::tuple<CompressionLevel, qint32>> {};

TEST_P(ArchiveRoundTrip, EveryByteAndTimeComesBack) {
    const auto [level, maxSize] = GetParam();
    QTemporaryDir dir;
    const QString source = dir.filePath("src"), arch = dir.filePath("arch/");
    const Corpus corpus(source);
    QDir().mkpath(arch);
    Archiver archiver;
    configureForBackup(archiver, true);
    archiver.setCompressionLevel(level);
    archiver.setMaxVolumeSize(maxSize);
    int prompts = 0;
    archiver.onVolumeNeeded = [&](Archiver*, quint16 volume, bool& go) {
        EXPECT_EQ(volume, ++prompts + 1);
        go = true;
    };
    Errors errors;
    collectErrors(archiver, errors);
    ASSERT_TRUE(archiver.backup(corpus.files, arch + "a.backup"));
    EXPECT_EQ(archiver.filesDone(), corpus.files.size());

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

    const auto restoreTo = [&](const QString& folder, bool folderTree,
                               const std::function<QString(const QString&)>& where) {
        prompts = 0; // the reader asks for the same volumes
        archiver.setRestoreFolderTree(folderTree);
        ASSERT_TRUE(archiver.restore(arch + "a.backup", folder));
        EXPECT_EQ(archiver.filesDone(), corpus.files.size());
        corpus.expectAt(where);
    };
    const QString flat = dir.filePath("flat"), tree = dir.filePath("tree");
    restoreTo(flat, false, [&](const QString& p) { return flat + "/" + QFileInfo(p).fileName(); });
    EXPECT_FALSE(QFileInfo::exists(flat + "/FILE:LIST"));
    restoreTo(tree + "/", true, [&](const QString& p) { return tree + p; });
    ASSERT_TRUE(QDir(source).removeRecursively()); // to the stored paths
    restoreTo(QString(), true, [](const QString& p) { return p; });
    EXPECT_EQ(archiver.errorCode(), 0);
    EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    LevelsAndVolumes, ArchiveRoundTrip,
    ::testing::Combine(::testing::Values(CompressionLevel::Fastest, CompressionLevel::None,
                                         CompressionLevel::Default, CompressionLevel::Max),
                       ::testing::Values(0, 60000)),
    [](const auto& info) {
        return "level" + std::to_string(int(std::get<0>(info.param))) + "_volumes" +
               std::to_string(std::get<1>(info.param));
    });

TEST(ArchiveVolumes, PromptCancelAndTinyMaxSize) {
    QTemporaryDir dir;
    writeFile(dir.filePath("data.bin"), testData(200'000, 3));
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setMaxVolumeSize(40000);
    pylomir::testing::ScriptedUi ui;
    ui.answers = {core::MsgAnswer::Ok, core::MsgAnswer::Cancel};
    archiver.setUiPort(&ui);
    EXPECT_FALSE(archiver.backup({dir.filePath("data.bin")}, dir.filePath("c.backup")));
    EXPECT_EQ(archiver.errorCode(), 0);
    EXPECT_EQ(archiver.filesDone(), 0);
    ASSERT_EQ(ui.texts(), QStringList({"Please insert disk 2 and click OK to continue.",
                                       "Please insert disk 3 and click OK to continue."}));
    EXPECT_EQ(ui.boxes[1].icon, core::MsgIcon::Information);
    EXPECT_EQ(ui.boxes[1].buttons, core::MsgButtons::OkCancel);
    EXPECT_TRUE(readAll(dir.filePath("c.002")).endsWith(i32(12) + "NEXT:DISK003"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("c.003")));

    // Reading it back stops at the same prompt.
    archiver.onVolumeNeeded = [](Archiver*, quint16 volume, bool& go) { go = volume < 3; };
    EXPECT_FALSE(archiver.restore(dir.filePath("c.backup"), dir.filePath("out")));
    EXPECT_EQ(archiver.errorCode(), 0);

    // A volume size below the slack still makes progress: one block per volume.
    const QString file = dir.filePath("d.bin");
    writeFile(file, testData(3 * kBlockSize, 4));
    archiver.setMaxVolumeSize(100);
    archiver.onVolumeNeeded = nullptr; // the UI answers OK
    ASSERT_TRUE(archiver.backup({file}, dir.filePath("t.backup")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("t.004")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("t.005")));
    ASSERT_TRUE(archiver.restore(dir.filePath("t.backup"), dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/d.bin")), readAll(file));
}

// A folder tree in memory for either path style, keyed by folder path with
// its separator; entries come in the order they were added.
class TreeFileSystem : public pylomir::testing::ForwardingFileSystem {
public:
    using Entry = std::pair<QString, qint32>; // name, attributes
    QHash<QString, std::vector<Entry>> folders;

    std::unique_ptr<platform::DirListing> list(const QString& folder) override {
        const auto it = folders.constFind(folder);
        return it == folders.constEnd() ? nullptr : std::make_unique<Listing>(*it);
    }
    std::optional<platform::FindData> findFirst(const QString& path) override {
        const qsizetype cut = qMax(path.lastIndexOf('/'), path.lastIndexOf('\\'));
        for (const auto& [name, attributes] : folders.value(path.left(cut + 1))) {
            if (name == path.mid(cut + 1))
                return platform::FindData{name, attributes, 0, {}};
        }
        return std::nullopt;
    }

private:
    struct Listing : platform::DirListing {
        explicit Listing(std::vector<Entry> e) : entries(std::move(e)) {}
        bool next() override { return ++at < entries.size(); }
        QStringView name() const override { return entries[at].first; }
        bool isDirectory() override { return entries[at].second & platform::faDirectory; }
        qint32 attributes() override { return entries[at].second; }
        qint64 size() override { return 0; }
        platform::FileTimes times() override { return {}; }
        std::vector<Entry> entries;
        size_t at = size_t(-1);
    };
};

TEST(ArchiveWorkList, MasksSwitchCaseDuplicatesScopeAndTheArchive) {
    constexpr qint32 kFile = platform::faArchive, kDir = platform::faDirectory;
    TreeFileSystem fs;
    fs.folders["c:\\temp\\"] = {{"A.TMP", kFile},   {"b.txt", kFile}, {"x[1].tmp", kFile},
                                {"old.tmp", 0},     {"Sub", kDir},    {"Hid", kDir | 2},
                                {"arch.tmp", kFile}};
    fs.folders["c:\\temp\\sub\\"] = {{"c.tmp", kFile}, {"Deep", kDir}};
    fs.folders["c:\\temp\\sub\\deep\\"] = {{"d.tmp", kFile}};
    fs.folders["c:\\temp\\hid\\"] = {{"e.tmp", kFile}};
    fs.folders["/srv/"] = {{"A.tmp", kFile}, {"b.txt", kFile}, {"Sub", kDir}};
    fs.folders["/srv/Sub/"] = {{"c.tmp", kFile}};
    fs.folders["/"] = {{"s", kFile}};
    const auto W = PathStyle::Windows, P = PathStyle::Posix;
    const auto all = BackupScope::All;
    const struct {
        PathStyle style;
        BackupScope scope;
        QStringList entries;
        QString archive;
        QStringList expected;
    } cases[] = {
        // Lower-cased; sub-folders first, depth first, hidden ones not entered;
        // each file once; never the archive.
        {W,
         all,
         {"C:\\Temp\\*.TMP /S", "c:\\temp\\a.tmp"},
         "c:\\temp\\arch.tmp",
         {"c:\\temp\\sub\\deep\\d.tmp", "c:\\temp\\sub\\c.tmp", "c:\\temp\\a.tmp",
          "c:\\temp\\x[1].tmp", "c:\\temp\\old.tmp"}},
        // Only archive-flagged files; a stream archive excludes nothing.
        {W,
         BackupScope::Incremental,
         {"c:\\temp\\*.tmp"},
         "",
         {"c:\\temp\\a.tmp", "c:\\temp\\x[1].tmp", "c:\\temp\\arch.tmp"}},
        // A plain name is literal: its brackets are no set.
        {W, all, {"c:\\temp\\X[1].tmp", "c:\\temp\\none.txt"}, "", {"c:\\temp\\x[1].tmp"}},
        // The switch counts anywhere: "/s" alone expands the current folder for no name.
        {W, all, {"/s"}, "", {}},
        // POSIX: case kept; only a separate trailing switch.
        {P, all, {"/srv/*.tmp /S"}, "", {"/srv/Sub/c.tmp", "/srv/A.tmp"}},
        {P, all, {"/srv/*.tmp/s", "/s", " /s "}, "", {"/s"}},
        {P, all, {"/srv/b.txt"}, "/srv/b.txt", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entries.join(" | ").toStdString());
        EXPECT_EQ(expand(fs, c.style, c.scope, c.entries, c.archive), c.expected);
    }
}

// Find-first wildcards: '*' and '?' only, a final ".*" may match nothing (so
// "*.*" takes every name), '[' is a character, letters match in any case.
TEST(ArchiveWorkList, MasksAreFindFirstWildcards) {
    TreeFileSystem fs;
    fs.folders["/m/"] = {{"README", platform::faArchive},   {"a.txt", platform::faArchive},
                         {"x[1].tmp", platform::faArchive}, {"x1.tmp", platform::faArchive},
                         {"Żółw.TXT", platform::faArchive}, {"Sub", platform::faDirectory}};
    fs.folders["/m/Sub/"] = {{"c.LOG", platform::faArchive}, {"NOTES", platform::faArchive}};
    const std::pair<QString, QStringList> cases[] = {
        {"/m/*.*", {"/m/README", "/m/a.txt", "/m/x[1].tmp", "/m/x1.tmp", "/m/Żółw.TXT"}},
        {"/m/*.* /s",
         {"/m/Sub/c.LOG", "/m/Sub/NOTES", "/m/README", "/m/a.txt", "/m/x[1].tmp", "/m/x1.tmp",
          "/m/Żółw.TXT"}},
        {"/m/*.log /s", {"/m/Sub/c.LOG"}},
        {"/m/x[1].*", {"/m/x[1].tmp"}},
        {"/m/[ax]*", {}},
        {"/m/x?.tmp", {"/m/x1.tmp"}},
        {"/m/readme.*", {"/m/README"}},
        {"/m/ŻÓŁW.*", {"/m/Żółw.TXT"}},
    };
    for (const auto& [entry, expected] : cases)
        EXPECT_EQ(expand(fs, PathStyle::Posix, BackupScope::All, {entry}, {}), expected)
            << entry.toStdString();
}

TEST(ArchiveWorkList, IncrementalTakesArchiveFlagAndClearsIt) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a.log"), b = dir.filePath("b.log");
    writeFile(a, "aaa");
    writeFile(b, "bbb");
    pylomir::testing::FakeFileSystem fs;
    fs.add(a, 3, platform::faArchive);
    fs.add(b, 3, 0);
    Archiver archiver;
    archiver.setFileSystem(&fs);
    configureForBackup(archiver);
    archiver.setBackupScope(BackupScope::Incremental); // switching to it turns clearing on
    ASSERT_TRUE(archiver.backup({dir.filePath("*.log")}, dir.filePath("i.backup")));
    EXPECT_EQ(archiver.fileCount(), 1);
    EXPECT_EQ(fs.attributeCalls, (std::vector<std::pair<QString, qint32>>{{a, 0}}));
}

TEST(ArchiveStreams, CallerStreamsAreUsedFromTheirPositionAndLeftOpen) {
    QTemporaryDir dir;
    const QString file = dir.filePath("s.txt");
    writeFile(file, testData(40000, 9, true));
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    out.write("PREFIX");
    Archiver archiver;
    configureForBackup(archiver);
    archiver.setTargetStream(&out);
    ASSERT_TRUE(archiver.backup({file}, ":STREAM"));
    ASSERT_TRUE(out.isOpen());
    out.write("TRAILER");
    out.seek(6);
    archiver.setSourceStream(&out);
    ASSERT_TRUE(archiver.restore(":STREAM", dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/s.txt")), readAll(file));
    EXPECT_EQ(out.read(7), QByteArray("TRAILER")); // left just after the archive
}

} // namespace
} // namespace pylomir::backup::testing
