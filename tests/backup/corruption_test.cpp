// Damaged and hostile archives: never a crash, a hang or a write outside the
// chosen folder; always the error for the situation.
#include "backup_test_util.h"

namespace pylomir::backup::testing {
namespace {

QByteArray header(qint32 total = 5, qint32 count = 1) {
    return i32(1) + "T" + i32(total) + i32(count);
}

QByteArray storedMember(const QByteArray& name) {
    return member(name, 0x54A86000, i32(-5) + "hello");
}

struct Outcome {
    bool result = false;
    qint32 code = 0;
    QString raised;
    qint32 info = 0; // the code of reading the information list
};

Outcome restore(const QString& path, const QByteArray& bytes, const QString& out,
                TRestoreMode mode = rmAll) {
    writeFile(path, bytes);
    TBackupFile bf;
    bf.setRestoreMode(mode);
    bf.OnError = [](TBackupFile*, qint32, const QString&) {};
    Outcome o;
    try {
        o.result = bf.Restore(path, out);
        o.code = bf.ErrorCode();
    } catch (const BackupError& e) {
        o.raised = e.message();
    }
    EXPECT_FALSE(bf.Busy());
    QStringList list;
    QString title;
    bf.GetArchiveInfo(path, &list, title);
    o.info = bf.ErrorCode();
    return o;
}

// A list, an empty member, a compressed member of each kind of data and a stored block.
struct SmallArchive {
    QTemporaryDir dir;
    QByteArray bytes;
    qsizetype listEnd = 0;

    SmallArchive() {
        const QString src = dir.filePath("src/");
        writeFile(src + "empty", {});
        writeFile(src + "text", testData(100, 1, true));
        writeFile(src + "rand", testData(50, 2));
        TBackupFile bf;
        configureForBackup(bf, true);
        EXPECT_TRUE(
            bf.Backup({src + "empty", src + "text", src + "rand"}, dir.filePath("a.backup")));
        bytes = readAll(dir.filePath("a.backup"));
        bytes.chop(4);
        bytes += storedMember(encodeText(src + "stored")) + i32(0);
        const qsizetype listBlock = 16 + 4 + 9 + 4 + 4;
        listEnd = listBlock + 4 + readI32(bytes, listBlock) + 4;
    }
};

TEST(Corruption, TruncatedAtEveryOffset) {
    SmallArchive a;
    const QString path = a.dir.filePath("t.backup"), out = a.dir.filePath("out");
    ASSERT_TRUE(restore(path, a.bytes, out).result);
    for (qsizetype length = 0; length < a.bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const Outcome o = restore(path, a.bytes.left(length), out);
        EXPECT_FALSE(o.result); // a cut archive is never a success
        if (length < 16)
            EXPECT_EQ(o.raised, kCannotReadArchive);
        else if (o.raised.isEmpty())
            EXPECT_EQ(o.code, ecReadData);
        else
            EXPECT_TRUE(o.raised == kArchiveReadError || o.raised == kNotAnArchive);
        EXPECT_EQ(o.info, length < a.listEnd ? ecNotArchive : ecNone);
    }
}

TEST(Corruption, FlippedBytesNeverEscapeOrCrash) {
    SmallArchive a;
    const QString path = a.dir.filePath("f.backup"), out = a.dir.filePath("out/");
    const QList<qint32> codes = {ecNone, ecReadData, ecCompression, ecOutsideFolder};
    const QStringList raised = {kCannotReadArchive, kArchiveReadError, kNotAnArchive};
    for (qsizetype at = 0; at < a.bytes.size(); ++at) {
        for (const char value : {'\x00', '\xFF', '\x80'}) {
            QByteArray bytes = a.bytes;
            if (bytes[at] == value)
                continue;
            bytes[at] = value;
            SCOPED_TRACE(::testing::Message() << at << "=" << int(value));
            const Outcome o = restore(path, bytes, out);
            EXPECT_TRUE(o.raised.isEmpty() ? codes.contains(o.code) && (!o.result || !o.code)
                                           : raised.contains(o.raised));
            EXPECT_TRUE(o.info == ecNone || o.info == ecNotArchive || o.info == ecCompression);
        }
    }
    // Only the restore folder ever received files.
    EXPECT_EQ(QDir(a.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.backup", "f.backup", "out", "src"}));
}

TEST(Corruption, DamagedFieldsGiveTheErrorOfTheSituation) {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.backup"), out = dir.filePath("out");
    const QByteArray good = storedMember("/x/a.txt");
    QByteArray badSignature = good, hugeBlock = good;
    badSignature[4 + 8 + 4 + 2] = '3';
    hugeBlock.replace(4 + 8 + 4 + 4, 4, i32(kBlockSize + 1));
    const std::tuple<const char*, QByteArray, TRestoreMode, qint32, const char*> cases[] = {
        {"signature, restored", header() + badSignature + i32(0), rmAll, ecReadData, ""},
        {"signature, skipped", header() + badSignature + i32(0), rmExisting, 0, kNotAnArchive},
        {"block length, restored", header() + hugeBlock + i32(0), rmAll, ecReadData, ""},
        {"block length, skipped", header() + hugeBlock + i32(0), rmExisting, 0, kNotAnArchive},
        {"negative name length", header() + i32(-5) + "abcde", rmAll, 0, kNotAnArchive},
        {"name past the end", header() + i32(1000) + "abc", rmAll, 0, kNotAnArchive},
        {"title past the end", i32(1 << 20) + "T", rmAll, 0, kCannotReadArchive},
        {"bad volume record", header() + i32(12) + "NEXT:DISKx02", rmAll, 0, kNotAnArchive},
        {"header ends in a member", header() + i32(8) + "/x/a.txt", rmAll, 0, kArchiveReadError},
    };
    for (const auto& [what, bytes, mode, code, raised] : cases) {
        SCOPED_TRACE(what);
        QDir(out).removeRecursively();
        const Outcome o = restore(path, bytes, out, mode);
        EXPECT_FALSE(o.result);
        EXPECT_EQ(o.code, code);
        EXPECT_EQ(o.raised, QString::fromUtf8(raised));
    }
    // A zero total with data following: no division by zero, percentages bounded.
    writeFile(path, header(0) + good + i32(0));
    TBackupFile bf;
    bf.OnProgress = [](TBackupFile*, const QString&, TPercentage p, bool&) { EXPECT_LE(p, 100); };
    EXPECT_TRUE(bf.Restore(path, out));
    EXPECT_EQ(readAll(out + "/a.txt"), "hello");
}

TEST(Corruption, NamesThatWouldLeaveTheRestoreFolderAreSkipped) {
    QTemporaryDir dir;
    const QString path = dir.filePath("h.backup"), out = dir.filePath("a/b/out");
    writeFile(path, header(15, 3) + storedMember("/x/../../../../evil1") + storedMember("/x/..") +
                        storedMember("/x/ok.txt") + i32(0));
    for (const bool fullPath : {false, true}) {
        SCOPED_TRACE(fullPath);
        TBackupFile bf;
        bf.setRestoreFullPath(fullPath);
        Errors errors;
        collectErrors(bf, errors);
        EXPECT_FALSE(bf.Restore(path, out));
        EXPECT_EQ(bf.FilesDone(), fullPath ? 1 : 2); // evil1 is a plain name when flat
        EXPECT_EQ(errors.size(), 1u);                // once per operation
        EXPECT_EQ(bf.ErrorCode(), ecOutsideFolder);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("evil1")));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("a/evil1")));
        EXPECT_EQ(readAll(fullPath ? out + "/x/ok.txt" : out + "/ok.txt"), "hello");
    }

    // A link planted in the restore folder does not lead out of it.
    QDir(out).removeRecursively();
    QDir().mkpath(dir.filePath("elsewhere"));
    QDir().mkpath(out);
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), out + "/x"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/victim"), out + "/ok.txt"));
    writeFile(path, header() + storedMember("/x/ok.txt") + i32(0));
    for (const bool fullPath : {false, true}) {
        TBackupFile bf;
        bf.setRestoreFullPath(fullPath);
        bf.OnError = [](TBackupFile*, qint32, const QString&) {};
        EXPECT_FALSE(bf.Restore(path, out));
        EXPECT_EQ(bf.ErrorCode(), ecOutsideFolder);
        EXPECT_TRUE(QDir(dir.filePath("elsewhere")).isEmpty());
    }
}

} // namespace
} // namespace pylomir::backup::testing
