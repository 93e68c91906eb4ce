// Damaged and hostile archives: never a crash, a hang or a write outside the
// chosen folder; always the error for the situation.
#include "backup_test_util.h"

namespace pylomir::backup::testing {
namespace {

QByteArray header(qint32 total = 5, qint32 count = 1) {
    return i32(1) + "T" + i32(total) + i32(count);
}

const QByteArray kHelloBlock = i32(-5) + "hello";

QByteArray storedMember(const QByteArray& name) {
    return member(name, 0x54A86000, i32(-5) + "hello");
}

struct Outcome {
    bool result = false;
    qint32 code = 0;
    QString raised;  // the first line; the second must name the archive
    qint32 info = 0; // the code of reading the information list
};

Outcome restore(const QString& path, const QByteArray& bytes, const QString& out,
                RestoreRule rule = RestoreRule::Always) {
    writeFile(path, bytes);
    Archiver archiver;
    archiver.setRestoreRule(rule);
    archiver.onError = [](Archiver*, qint32, const QString&) {};
    Outcome o;
    try {
        o.result = archiver.restore(path, out);
        o.code = archiver.errorCode();
    } catch (const ArchiveError& e) {
        o.raised = e.message().section('\n', 0, 0);
        EXPECT_EQ(e.message().section('\n', 1), path);
    }
    EXPECT_FALSE(archiver.isBusy());
    QStringList list;
    QString title;
    archiver.readArchiveInfo(path, &list, title);
    o.info = archiver.errorCode();
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
        Archiver archiver;
        configureForBackup(archiver, true);
        EXPECT_TRUE(
            archiver.backup({src + "empty", src + "text", src + "rand"}, dir.filePath("a.backup")));
        bytes = readAll(dir.filePath("a.backup"));
        bytes.chop(4);
        bytes += storedMember(encodeText(src + "stored")) + i32(0);
        const qsizetype listBlock = 16 + 4 + 9 + 4 + 4;
        listEnd = listBlock + 4 + readI32(bytes, listBlock) + 4;
    }
};

TEST(ArchiveCorruption, TruncatedAtEveryOffset) {
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

TEST(ArchiveCorruption, FlippedBytesNeverEscapeOrCrash) {
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

TEST(ArchiveCorruption, DamagedFieldsGiveTheErrorOfTheSituation) {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.backup"), out = dir.filePath("out");
    const QByteArray good = storedMember("/x/a.txt");
    QByteArray badSignature = good, badSignatureEnd = good, hugeBlock = good;
    badSignature[4 + 8 + 4 + 2] = '3';
    badSignatureEnd[4 + 8 + 4 + 3] = 'x';
    hugeBlock.replace(4 + 8 + 4 + 4, 4, i32(kBlockSize + 1));
    const auto all = RestoreRule::Always, exists = RestoreRule::IfExists;
    const std::tuple<const char*, QByteArray, RestoreRule, qint32, const char*> cases[] = {
        {"signature, restored", header() + badSignature + i32(0), all, ecReadData, ""},
        {"signature, skipped", header() + badSignature + i32(0), exists, 0, kNotAnArchive},
        {"signature's last byte, skipped", header() + badSignatureEnd + i32(0), exists, 0,
         kNotAnArchive},
        {"block length, restored", header() + hugeBlock + i32(0), all, ecReadData, ""},
        {"block length, skipped", header() + hugeBlock + i32(0), exists, 0, kNotAnArchive},
        {"negative name length", header() + i32(-5) + "abcde", all, 0, kNotAnArchive},
        {"name past the end", header() + i32(1000) + "abc", all, 0, kNotAnArchive},
        {"title past the end", i32(1 << 20) + "T", all, 0, kCannotReadArchive},
        {"bad volume record", header() + i32(12) + "NEXT:DISKx02", all, 0, kNotAnArchive},
        {"header ends in a member", header() + i32(8) + "/x/a.txt", all, 0, kArchiveReadError},
    };
    for (const auto& [what, bytes, rule, code, raised] : cases) {
        SCOPED_TRACE(what);
        QDir(out).removeRecursively();
        const Outcome o = restore(path, bytes, out, rule);
        EXPECT_FALSE(o.result);
        EXPECT_EQ(o.code, code);
        EXPECT_EQ(o.raised, QString::fromUtf8(raised));
    }
    // A total of zero or below the data that follows: no division by zero,
    // and the percentage stops at 100.
    for (const qint32 total : {0, 1}) {
        writeFile(path, header(total) + good + i32(0));
        Archiver archiver;
        std::vector<int> percents;
        archiver.onProgress = [&](Archiver*, const QString&, Percent p, bool&) {
            percents.push_back(p);
        };
        EXPECT_TRUE(archiver.restore(path, out));
        EXPECT_EQ(percents, std::vector<int>({total ? 100 : 0, 100}));
        EXPECT_EQ(readAll(out + "/a.txt"), "hello");
    }
}

// A compressed block is one whole zlib stream of 1 to kBlockSize bytes; a
// member never grows past its limit.
TEST(ArchiveCorruption, LooseBlocksAndOverlongMembersAreRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("b.backup"), out = dir.filePath("out");
    const QByteArray stream = qCompress(QByteArray("hello"), 1).mid(4);
    const QByteArray empty = QByteArray::fromHex("7801030000000001"); // zlib's stream of nothing
    const std::tuple<const char*, QByteArray, qint64, qint32> cases[] = {
        {"bytes after the stream", i32(stream.size() + 3) + stream + "xyz", kMaxMemberSize,
         ecCompression},
        {"a stream of nothing", i32(empty.size()) + empty, kMaxMemberSize, ecCompression},
        {"past the member limit", kHelloBlock + kHelloBlock, 9, ecReadData},
        {"up to the member limit", kHelloBlock + kHelloBlock, 10, ecNone},
    };
    for (const auto& [what, blocks, limit, code] : cases) {
        SCOPED_TRACE(what);
        writeFile(out + "/a.txt", "OLD");
        writeFile(path, header() + member("/x/a.txt", 0, blocks) + i32(0));
        Archiver archiver;
        archiver.setReadLimits({limit, kMaxListLines});
        archiver.onError = [](Archiver*, qint32, const QString&) {};
        EXPECT_EQ(archiver.restore(path, out), code == ecNone);
        EXPECT_EQ(archiver.errorCode(), code);
        EXPECT_EQ(readAll(out + "/a.txt"), code ? "OLD" : "hellohello");
    }
}

// A list of more lines than the limit shows its first lines and says so.
TEST(ArchiveCorruption, InfoListLinesPastTheLimitAreLeftOut) {
    QTemporaryDir dir;
    const QString path = dir.filePath("l.backup");
    const auto stored = [](const QByteArray& text) { return i32(-text.size()) + text; };
    const std::tuple<QByteArray, QStringList, qint32> cases[] = {
        {stored("a\r\nb\r\nc\r\n"), {"a", "b", "c"}, ecNone},
        {stored("a\r\nb\r\nc"), {"a", "b", "c"}, ecNone},
        {stored("a\r\nb\r\nc\r\n\r\n"), {"a", "b", "c"}, ecListTooLong},
        {stored("\n\r\r\nd\n"), {"", "", ""}, ecListTooLong},
        // Nothing past the limit is read, a damaged block there included.
        {stored("a\nb\nc\nd\n") + i32(3) + "bad", {"a", "b", "c"}, ecListTooLong},
    };
    for (const auto& [blocks, shown, code] : cases) {
        SCOPED_TRACE(blocks.toStdString());
        writeFile(path, header() + member(kListMemberName, 0, blocks) + i32(0));
        Archiver archiver;
        archiver.setReadLimits({kMaxMemberSize, 3});
        Errors errors;
        collectErrors(archiver, errors);
        QStringList list;
        QString title;
        archiver.readArchiveInfo(path, &list, title);
        EXPECT_EQ(list, shown);
        EXPECT_EQ(errors.size(), code ? 1u : 0u);
        EXPECT_EQ(archiver.errorCode(), code);
    }
}

TEST(ArchiveCorruption, InfoListBeyondItsCapIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath("l.backup");
    const QByteArray zeros = qCompress(QByteArray(kBlockSize, '\0'), 1).mid(4);
    QByteArray blocks;
    for (qint64 n = 0; n <= kMaxListBytes / kBlockSize; ++n)
        blocks += i32(zeros.size()) + zeros;
    writeFile(path, header() + member(kListMemberName, 0, blocks) + i32(0));
    Archiver archiver;
    archiver.onError = [](Archiver*, qint32, const QString&) {};
    QStringList list{"untouched"};
    QString title;
    archiver.readArchiveInfo(path, &list, title);
    EXPECT_EQ(archiver.errorCode(), ecNotArchive);
    EXPECT_EQ(list, QStringList{"untouched"});
}

TEST(ArchiveCorruption, NamesThatWouldLeaveTheRestoreFolderAreSkipped) {
    QTemporaryDir dir;
    const QString path = dir.filePath("h.backup"), out = dir.filePath("a/b/out");
    writeFile(path, header(15, 3) + storedMember("/x/../../../../evil1") + storedMember("/x/..") +
                        storedMember("/x/ok.txt") + i32(0));
    for (const bool folderTree : {false, true}) {
        SCOPED_TRACE(folderTree);
        Archiver archiver;
        archiver.setRestoreFolderTree(folderTree);
        Errors errors;
        collectErrors(archiver, errors);
        EXPECT_FALSE(archiver.restore(path, out));
        EXPECT_EQ(archiver.filesDone(), folderTree ? 1 : 2); // evil1 is a plain name when flat
        ASSERT_EQ(errors.size(), 1u);                        // once per operation
        EXPECT_EQ(errors[0].second,
                  "Pominięto pliki, które znalazłyby się poza wybranym folderem !");
        EXPECT_EQ(archiver.errorCode(), ecOutsideFolder);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("evil1")));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("a/evil1")));
        EXPECT_EQ(readAll(folderTree ? out + "/x/ok.txt" : out + "/ok.txt"), "hello");
    }

    // A link planted in the restore folder does not lead out of it.
    QDir(out).removeRecursively();
    QDir().mkpath(dir.filePath("elsewhere"));
    QDir().mkpath(out);
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), out + "/x"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/victim"), out + "/ok.txt"));
    writeFile(path, header() + storedMember("/x/ok.txt") + i32(0));
    for (const bool folderTree : {false, true}) {
        Archiver archiver;
        archiver.setRestoreFolderTree(folderTree);
        archiver.onError = [](Archiver*, qint32, const QString&) {};
        EXPECT_FALSE(archiver.restore(path, out));
        EXPECT_EQ(archiver.errorCode(), ecOutsideFolder);
        EXPECT_TRUE(QDir(dir.filePath("elsewhere")).isEmpty());
    }
}

} // namespace
} // namespace pylomir::backup::testing
