// Damaged and hostile archives: never a crash, a hang or a write outside the
// chosen folder; always the error for the situation.
#include "backup_test_util.h"

namespace pylomir::backup::testing {
namespace {

QByteArray header(qint32 total = 5, qint32 count = 1) {
    return i32(1) + "T" + i32(total) + i32(count);
}

QByteArray storedMember(const QByteArray& name, const QByteArray& data = "hello") {
    return i32(qint32(name.size())) + name + i32(0x54A86000) + QByteArray("EC2\0", 4) +
           i32(-qint32(data.size())) + data + i32(0);
}

struct Outcome {
    bool result = false;
    qint32 code = 0;
    QString raised;
};

Outcome restore(const QByteArray& bytes, const QString& path, const QString& out,
                TRestoreMode mode = rmAll) {
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    f.close();
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
    return o;
}

qint32 infoCode(const QString& path) {
    TBackupFile bf;
    bf.OnError = [](TBackupFile*, qint32, const QString&) {};
    QStringList list;
    QString title;
    bf.GetArchiveInfo(path, &list, title);
    return bf.ErrorCode();
}

// A small archive with a list, an empty member, compressed blocks and a
// stored block.
struct SmallArchive {
    QTemporaryDir dir;
    QByteArray bytes;
    qsizetype headerEnd = 0;
    qsizetype listEnd = 0;

    SmallArchive() {
        const QString src = dir.filePath("src");
        writeFile(src + "/empty", {});
        writeFile(src + "/text", compressibleBytes(100, 1));
        writeFile(src + "/rand", randomBytes(50, 2));
        TBackupFile bf;
        configureForBackup(bf);
        bf.setSaveFileID(true);
        EXPECT_TRUE(
            bf.Backup({src + "/empty", src + "/text", src + "/rand"}, dir.filePath("a.backup")));
        bytes = readAll(dir.filePath("a.backup"));
        bytes.chop(4);
        bytes += storedMember(encodeText(src + "/stored")) + i32(0);
        headerEnd = 4 + 4 + 8;
        const qsizetype listBlock = headerEnd + 4 + 9 + 4 + 4;
        listEnd = listBlock + 4 + readI32(bytes, listBlock) + 4;
    }
};

TEST(Corruption, TruncatedAtEveryOffset) {
    SmallArchive a;
    const QString path = a.dir.filePath("t.backup");
    const QString out = a.dir.filePath("out");
    const QStringList raisedAllowed = {kArchiveReadError, kNotAnArchive};
    ASSERT_TRUE(restore(a.bytes, path, out).result);
    for (qsizetype length = 0; length < a.bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const Outcome o = restore(a.bytes.left(length), path, out);
        EXPECT_FALSE(o.result); // a cut archive is never a success
        if (length < a.headerEnd) {
            EXPECT_EQ(o.raised, kCannotReadArchive);
        } else if (o.raised.isEmpty()) {
            EXPECT_EQ(o.code, ecReadData);
        } else {
            EXPECT_TRUE(raisedAllowed.contains(o.raised)) << o.raised.toStdString();
        }
        EXPECT_EQ(infoCode(path), length < a.listEnd ? ecNotArchive : ecNone);
    }
}

TEST(Corruption, FlippedBytesNeverEscapeOrCrash) {
    SmallArchive a;
    const QString path = a.dir.filePath("f.backup");
    const QString out = a.dir.filePath("out/");
    const QStringList raisedAllowed = {kCannotReadArchive, kArchiveReadError, kNotAnArchive};
    for (qsizetype at = 0; at < a.bytes.size(); ++at) {
        for (const char value : {'\x00', '\xFF', '\x80'}) {
            QByteArray bytes = a.bytes;
            if (bytes[at] == value)
                continue;
            bytes[at] = value;
            SCOPED_TRACE(::testing::Message() << at << "=" << int(value));
            const Outcome o = restore(bytes, path, out);
            if (o.result) {
                EXPECT_EQ(o.code, 0);
            } else if (o.raised.isEmpty()) {
                EXPECT_TRUE(o.code == ecReadData || o.code == ecCompression ||
                            o.code == ecOutsideFolder || o.code == 0)
                    << o.code;
            } else {
                EXPECT_TRUE(raisedAllowed.contains(o.raised)) << o.raised.toStdString();
            }
            const qint32 info = infoCode(path);
            EXPECT_TRUE(info == ecNone || info == ecNotArchive || info == ecCompression) << info;
        }
    }
    // Only the restore folder ever received files.
    EXPECT_EQ(QDir(a.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"a.backup", "f.backup", "out", "src"}));
}

TEST(Corruption, DamagedFieldsGiveTheErrorOfTheSituation) {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.backup");
    const QString out = dir.filePath("out");
    const QByteArray good = storedMember("/x/a.txt");
    QByteArray badSignature = good;
    badSignature[4 + 8 + 4 + 2] = '3';
    QByteArray hugeBlock = good;
    hugeBlock.replace(4 + 8 + 4 + 4, 4, i32(kBlockSize + 1));
    struct Case {
        const char* what;
        QByteArray bytes;
        TRestoreMode mode;
        qint32 code;
        const char* raised;
    } cases[] = {
        {"signature, restored", header() + badSignature + i32(0), rmAll, ecReadData, ""},
        {"signature, skipped", header() + badSignature + i32(0), rmExisting, 0, kNotAnArchive},
        {"block length, restored", header() + hugeBlock + i32(0), rmAll, ecReadData, ""},
        {"block length, skipped", header() + hugeBlock + i32(0), rmExisting, 0, kNotAnArchive},
        {"negative name length", header() + i32(-5) + "abcde", rmAll, 0, kNotAnArchive},
        {"name past the end", header() + i32(1000) + "abc", rmAll, 0, kNotAnArchive},
        {"title past the end", i32(1 << 20) + "T", rmAll, 0, kCannotReadArchive},
        {"volume record in a bad form", header() + i32(12) + "NEXT:DISKx02", rmAll, 0,
         kNotAnArchive},
        {"header ends in a member", header() + i32(8) + "/x/a.txt", rmAll, 0, kArchiveReadError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(out).removeRecursively();
        const Outcome o = restore(c.bytes, path, out, c.mode);
        EXPECT_FALSE(o.result);
        EXPECT_EQ(o.code, c.code);
        EXPECT_EQ(o.raised, QString::fromUtf8(c.raised));
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
    const QString path = dir.filePath("h.backup");
    const QString out = dir.filePath("a/b/out");
    const QByteArray bytes = header(15, 3) + storedMember("/x/../../../../evil1") +
                             storedMember("/x/..") + storedMember("/x/ok.txt") + i32(0);
    for (const bool fullPath : {false, true}) {
        SCOPED_TRACE(fullPath);
        writeFile(path, bytes);
        TBackupFile bf;
        bf.setRestoreFullPath(fullPath);
        Reports reports;
        reports.attach(bf);
        EXPECT_FALSE(bf.Restore(path, out));
        EXPECT_EQ(bf.FilesDone(), fullPath ? 1 : 2); // evil1 is a plain name when flat
        EXPECT_EQ(reports.errors.size(), 1u);        // once per operation
        EXPECT_EQ(bf.ErrorCode(), ecOutsideFolder);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("evil1")));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("a/evil1")));
        EXPECT_EQ(readAll(fullPath ? out + "/x/ok.txt" : out + "/ok.txt"), "hello");
    }

    // A link planted in the restore folder does not lead out of it.
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    QDir().mkpath(dir.filePath("elsewhere"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), out + "/x"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/victim"), out + "/ok.txt"));
    for (const bool fullPath : {false, true}) {
        writeFile(path, header(5, 1) + storedMember("/x/ok.txt") + i32(0));
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
