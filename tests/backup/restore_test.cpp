// Restore rules, events, cancelling and the coded failures.
#include "backup_test_util.h"

#include "core/message_pump.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"

#include <functional>

namespace pylomir::backup::testing {
namespace {

const QDateTime kStored(QDate(2022, 5, 10), QTime(12, 0, 0));

// One archive of a.txt and b.txt, both stored at kStored.
struct Fixture {
    QTemporaryDir dir;
    QString a = dir.filePath("src/a.txt"), b = dir.filePath("src/b.txt");
    QString archive = dir.filePath("x.backup"), out = dir.filePath("out");

    explicit Fixture(qsizetype size = 100) {
        writeFile(a, testData(size, 1, true), kStored);
        writeFile(b, testData(size, 2), kStored);
        Archiver archiver;
        configureForBackup(archiver);
        EXPECT_TRUE(archiver.backup({a, b}, archive));
    }
};

TEST(RestoreRules, ExistingMissingOlderNewer) {
    // Whether a.txt replaces a target that is missing, older, as old or newer.
    const std::pair<RestoreRule, const char*> cases[] = {{RestoreRule::Always, "1111"},
                                                         {RestoreRule::IfMissing, "1000"},
                                                         {RestoreRule::IfMissingOrOlder, "1100"},
                                                         {RestoreRule::IfExists, "0111"},
                                                         {RestoreRule::IfExistsAndOlder, "0100"}};
    Fixture fx;
    for (const auto& [rule, expected] : cases) {
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(::testing::Message() << "rule " << int(rule) << " target " << t);
            QDir(fx.out).removeRecursively();
            if (t > 0)
                writeFile(fx.out + "/a.txt", "OLD", kStored.addSecs(2 * t - 4));
            Archiver archiver;
            archiver.setRestoreRule(rule);
            ASSERT_TRUE(archiver.restore(fx.archive, fx.out));
            const bool restored = readAll(fx.out + "/a.txt") == readAll(fx.a);
            EXPECT_EQ(restored, expected[t] == '1');
            // b.txt never exists beforehand; the data of skipped members is read past.
            const bool bRestored = rule <= RestoreRule::IfMissingOrOlder;
            EXPECT_EQ(QFileInfo::exists(fx.out + "/b.txt"), bRestored);
            EXPECT_EQ(archiver.filesDone(), int(restored) + int(bRestored));
        }
    }
}

// A member that goes on in the next volume is skipped there too when its
// target was refused.
TEST(RestoreRules, ARefusedMemberStaysRefusedAcrossVolumes) {
    QTemporaryDir dir;
    const QString a = dir.filePath("src/a.bin"), b = dir.filePath("src/b.txt");
    const QString archive = dir.filePath("v.backup"), out = dir.filePath("out");
    writeFile(a, testData(5 * kBlockSize, 3), kStored);
    writeFile(b, "b", kStored);
    Archiver writer;
    configureForBackup(writer);
    writer.setMaxVolumeSize(kVolumeSlack + 2 * kBlockSize);
    writer.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
    ASSERT_TRUE(writer.backup({a, b}, archive));
    ASSERT_TRUE(QFileInfo::exists(volumeName(archive, "002")));

    writeFile(out + "/a.bin", "OLD");
    Archiver archiver;
    archiver.setRestoreRule(RestoreRule::IfMissing);
    archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
    ASSERT_TRUE(archiver.restore(archive, out));
    EXPECT_EQ(readAll(out + "/a.bin"), "OLD");
    EXPECT_EQ(readAll(out + "/b.txt"), "b");
}

TEST(RestoreEvents, RenameVetoAndRestoredFile) {
    Fixture fx;
    const QString renamed = fx.out + "/renamed/a2.txt";
    Archiver archiver;
    std::vector<qint32> dates;
    archiver.onRestoringFile = [&](Archiver*, QString& target, qint32 date, bool& shouldRestore) {
        dates.push_back(date);
        if (target.endsWith("a.txt"))
            target = renamed;
        else
            shouldRestore = false;
    };
    QStringList finished;
    archiver.onFileRestored = [&](Archiver*, QString& target, QIODevice*& file) {
        finished << target;
        ASSERT_TRUE(file && file->isWritable());
        file->write("+tail"); // still open: the owner may add to it
    };
    ASSERT_TRUE(archiver.restore(fx.archive, fx.out));
    EXPECT_EQ(dates, std::vector<qint32>(2, toDosDateTime(kStored)));
    EXPECT_EQ(finished, QStringList{renamed});
    EXPECT_EQ(readAll(renamed), readAll(fx.a) + "+tail");
    EXPECT_EQ(QFileInfo(renamed).lastModified(), kStored); // set after the handler wrote
    EXPECT_FALSE(QFileInfo::exists(fx.out + "/b.txt"));
    EXPECT_EQ(archiver.filesDone(), 1);
}

// A member holding data in one stored block.
QByteArray plain(const QByteArray& name, const QByteArray& data, const QDateTime& time = kStored) {
    return member(name, toDosDateTime(time), i32(-data.size()) + data);
}
QByteArray archiveOf(const QByteArray& members, qint32 total = 0, qint32 count = 0) {
    return i32(1) + "T" + i32(total) + i32(count) + members + i32(0);
}

// Skipped members are named once, at the end: the rest is restored and the
// result is false.
void expectSkipped(const Errors& errors, qint32 code, const QStringList& named) {
    const Errors expected{{code, namingFile(archiveErrorMessage(code), namingFiles(named))}};
    EXPECT_EQ(errors, named.isEmpty() ? Errors() : expected);
}

// Into a folder, a target this restore wrote already is never written again.
TEST(RestoreSkips, ATargetIsWrittenOnceIntoAFolder) {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    const QDateTime older = kStored.addDays(-1), newer = kStored.addDays(1);
    const QString archive = dir.filePath("x.backup");
    writeFile(archive, archiveOf(plain("/a/f.txt", "1", older) + plain("/a/f.txt", "2", newer) +
                                 plain("/b/f.txt", "3", newer) + plain("/b/g.txt", "g", newer)));
    const struct {
        bool tree;
        RestoreRule rule;
        bool existing; // out/f.txt holds "OLD" from kStored
        const char* files;
        int done;
        QStringList skipped;
    } cases[] = {
        {false, RestoreRule::Always, false, "f.txt=1 g.txt=g", 2, {"/a/f.txt", "/b/f.txt"}},
        {true, RestoreRule::Always, false, "a/f.txt=1 b/f.txt=3 b/g.txt=g", 3, {"/a/f.txt"}},
        // The rule would skip them only because this restore made the file.
        {false, RestoreRule::IfMissing, false, "f.txt=1 g.txt=g", 2, {"/a/f.txt", "/b/f.txt"}},
        // A member the rule skipped wrote nothing.
        {false, RestoreRule::IfExistsAndOlder, true, "f.txt=2", 1, {"/b/f.txt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.files << " rule " << int(c.rule));
        QDir(out).removeRecursively();
        if (c.existing)
            writeFile(out + "/f.txt", "OLD", kStored);
        Archiver archiver;
        archiver.setRestoreRule(c.rule);
        archiver.setRestoreFolderTree(c.tree);
        Errors errors;
        collectErrors(archiver, errors);
        EXPECT_EQ(archiver.restore(archive, out), c.skipped.isEmpty());
        expectSkipped(errors, ecSameTarget, c.skipped);
        EXPECT_EQ(archiver.filesDone(), c.done);
        const QStringList files = QString(c.files).split(' ');
        for (const QString& file : files)
            EXPECT_EQ(readAll(out + "/" + file.section('=', 0, 0)), file.section('=', 1).toUtf8());
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size() +
                      QDir(out + "/a").entryList(QDir::Files).size() +
                      QDir(out + "/b").entryList(QDir::Files).size(),
                  files.size());
    }
}

// To the stored paths, a name that is not absolute and normalised would
// land where it does not say; one path twice is one file, as stored.
TEST(RestoreSkips, StoredNamesMustBeAbsoluteAndNormalised) {
    QTemporaryDir dir;
    const QString home = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path())); // where a relative name would land
    const auto at = [&](const char* relative) { return encodeText(dir.filePath(relative)); };
    const QString archive = dir.filePath("x.backup");
    writeFile(archive, archiveOf(plain("rel.txt", "r") + plain(at("s.txt"), "1") +
                                 plain(at("sub/../dd.txt"), "d") + plain(at("s.txt"), "2")));
    Archiver archiver;
    Errors errors;
    collectErrors(archiver, errors);
    EXPECT_FALSE(archiver.restore(archive, QString()));
    expectSkipped(errors, ecIrregularName, {"rel.txt", dir.filePath("sub/../dd.txt")});
    EXPECT_EQ(archiver.filesDone(), 2);
    EXPECT_EQ(readAll(dir.filePath("s.txt")), "2");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"s.txt", "x.backup"}));
    ASSERT_TRUE(QDir::setCurrent(home));
}

// The header's 32-bit total would put the percentage far ahead when the
// data pass 4 GiB; the list, read before the files, holds the whole sizes.
TEST(RestoreProgress, PercentRestsOnTheListsSizesBeyond32Bits) {
    QTemporaryDir dir;
    const QByteArray data = testData(3 * kBlockSize, 4);
    const QByteArray list = "/big1\t1=2147483647\r\n/big2\t1=2147483647\r\n/h.bin\t1=" +
                            QByteArray::number(data.size()) + "\r\n";
    const qint64 whole = 2 * qint64(kMaxMemberSize) + data.size() + list.size();
    QByteArray blocks;
    for (qsizetype i = 0; i < data.size(); i += kBlockSize)
        blocks += i32(-kBlockSize) + data.mid(i, kBlockSize);
    // The list in two blocks, the second compressed: both are read.
    const QByteArray packed = qCompress(list.mid(10), 9).mid(4);
    const QByteArray listBlocks = i32(-10) + list.left(10) + i32(packed.size()) + packed;
    const QString archive = dir.filePath("big.backup");
    writeFile(archive,
              archiveOf(member(kListMemberName, 0, listBlocks) + member("/h.bin", 0, blocks),
                        qint32(quint32(quint64(whole))), 3));

    Archiver archiver;
    std::vector<int> percents;
    archiver.onProgress = [&](Archiver*, const QString&, Percent p, bool&) {
        percents.push_back(p);
    };
    ASSERT_TRUE(archiver.restore(archive, dir.filePath("out")));
    EXPECT_EQ(readAll(dir.filePath("out/h.bin")), data);
    EXPECT_EQ(percents, std::vector<int>({0, 0, 0, 100}));
    EXPECT_EQ(archiver.fullTotalSize(), whole);

    QStringList lines;
    QString title;
    archiver.readArchiveInfo(archive, &lines, title);
    EXPECT_EQ(lines.size(), 3);
    EXPECT_EQ(archiver.totalSize(), qint32(quint32(quint64(whole))));
    EXPECT_EQ(archiver.fullTotalSize(), whole);
    archiver.readArchiveInfo(archive, nullptr, title); // the list unread: the header's
    EXPECT_EQ(archiver.fullTotalSize(), qint64(quint32(quint64(whole))));
}

struct CallbackPump : core::MessagePump {
    std::function<void()> onPump;
    void processPendingMessages() override { onPump(); }
};

TEST(ArchiveCancelling, StopAndProgressHandlerEndBeforeTheNextBlock) {
    const struct {
        bool viaPump;
        qsizetype size;
        int blocks; // stop after this many
    } cases[] = {{false, 5 * kBlockSize, 2}, {true, 5 * kBlockSize, 2}, {false, kBlockSize + 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.viaPump << " " << c.size);
        Fixture fx(c.size);
        Archiver archiver;
        configureForBackup(archiver);
        int blocks = 0;
        CallbackPump pump;
        pump.onPump = [&] {
            EXPECT_TRUE(archiver.isBusy());
            EXPECT_FALSE(archiver.backup({fx.a}, fx.dir.filePath("nested.backup"))); // no re-entry
            if (c.viaPump && ++blocks == c.blocks)
                archiver.stop();
        };
        archiver.setMessagePump(&pump);
        std::vector<int> percents;
        archiver.onProgress = [&](Archiver*, const QString&, Percent p, bool& keepGoing) {
            percents.push_back(p);
            if (!c.viaPump && int(percents.size()) == c.blocks + 1) // after the start report
                keepGoing = false;
        };
        const QString archive = fx.dir.filePath("stopped.backup");
        EXPECT_FALSE(archiver.backup({fx.a, fx.b}, archive));
        EXPECT_FALSE(archiver.isBusy());
        EXPECT_EQ(archiver.errorCode(), 0);
        EXPECT_EQ(archiver.filesDone(), 0); // even with a single byte left
        EXPECT_EQ(archiver.bytesDone(), c.blocks * kBlockSize);
        EXPECT_EQ(percents.back(), 100);
        EXPECT_FALSE(QFileInfo::exists(archive)); // nothing that looks like an archive

        blocks = 0;
        percents.clear();
        EXPECT_FALSE(archiver.restore(fx.archive, fx.out));
        EXPECT_EQ(archiver.filesDone(), 0);
        // The pump runs before the progress report of each block; a restore
        // has no start report. The member cut short is not put in place.
        const qint64 blocksRead = c.viaPump ? c.blocks : c.blocks + 1;
        EXPECT_EQ(archiver.bytesDone(), qMin<qint64>(c.size, blocksRead * kBlockSize));
        EXPECT_FALSE(QFileInfo::exists(fx.out + "/a.txt"));
    }
}

// Runs an operation twice: with onError attached, and with the message box.
void expectReported(const std::function<void(Archiver&)>& run, qint32 code,
                    const QString& file = QString()) {
    const QString message = namingFile(archiveErrorMessage(code), file);
    EXPECT_FALSE(archiveErrorMessage(code).isEmpty()) << code;
    {
        Archiver archiver;
        Errors errors;
        collectErrors(archiver, errors);
        run(archiver);
        EXPECT_EQ(archiver.errorCode(), code);
        EXPECT_EQ(errors, Errors({{code, message}}));
    }
    Archiver archiver;
    pylomir::testing::ScriptedUi ui;
    archiver.setUiPort(&ui);
    run(archiver);
    ASSERT_EQ(ui.texts(), QStringList{message});
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Error);
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::Ok);
}

TEST(ArchiveErrors, EachFailureReportsItsCodeAndTheFile) {
    Fixture fx;
    QString title;
    {
        // A missing archive is no error: nothing is shown or reported.
        Archiver archiver;
        pylomir::testing::ScriptedUi ui;
        archiver.setUiPort(&ui);
        archiver.onProgress = [](Archiver*, const QString&, Percent, bool&) { FAIL(); };
        EXPECT_FALSE(archiver.restore("/nonexistent/x.backup", QString()));
        QString stale = "stale";
        archiver.readArchiveInfo("/nonexistent/x.backup", nullptr, stale);
        EXPECT_EQ(stale, QString()); // nothing read, nothing kept from before
        EXPECT_TRUE(ui.boxes.empty());
    }
    // 1: the target cannot be created.
    QDir().mkpath(fx.out + "/a.txt");
    expectReported([&](Archiver& a) { EXPECT_FALSE(a.restore(fx.archive, fx.out)); }, ecReadData,
                   fx.out + "/a.txt");
    QDir(fx.out).removeRecursively();
    // 3: the archive exists but cannot be opened.
    const QString folder = fx.dir.filePath("src");
    expectReported([&](Archiver& a) { a.readArchiveInfo(folder, {}, title); }, ecReadArchive,
                   folder);

    // 5: the information list is cut short inside its block.
    const QString cut = fx.dir.filePath("cut.backup");
    {
        Archiver archiver;
        configureForBackup(archiver, true);
        ASSERT_TRUE(archiver.backup({fx.a}, cut));
        ASSERT_TRUE(QFile(cut).resize(4 + 4 + 8 + 4 + 9 + 4 + 4 + 4 + 5));
    }
    expectReported(
        [&](Archiver& a) {
            QStringList list{"untouched"};
            a.readArchiveInfo(cut, &list, title);
            EXPECT_EQ(list, QStringList{"untouched"});
            EXPECT_EQ(title, "test");
        },
        ecNotArchive, cut);

    // 6: a damaged compressed block.
    const QString bad = fx.dir.filePath("bad.backup");
    QByteArray bytes = readAll(fx.archive);
    const qsizetype firstBlock = 12 + 4 + encodeText(fx.a).size() + 4 + 4;
    ASSERT_GT(readI32(bytes, firstBlock), 0);
    bytes[firstBlock + 4 + 10] = char(bytes[firstBlock + 4 + 10] ^ 0x55);
    writeFile(bad, bytes);
    expectReported([&](Archiver& a) { EXPECT_FALSE(a.restore(bad, fx.out)); }, ecCompression, bad);
}

TEST(ArchiveErrors, FileTooLargeForTheFormatIsRefusedWhole) {
    QTemporaryDir dir;
    QFile big(dir.filePath("big.img"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(qint64(1) << 31)); // sparse
    big.close();
    writeFile(dir.filePath("small.txt"), "small");
    Archiver archiver;
    configureForBackup(archiver);
    Errors errors;
    collectErrors(archiver, errors);
    EXPECT_FALSE(
        archiver.backup({big.fileName(), dir.filePath("small.txt")}, dir.filePath("l.backup")));
    EXPECT_EQ(errors, errorNaming(ecCreateArchive, big.fileName()));
    EXPECT_EQ(archiver.fileCount(), 1);
    EXPECT_EQ(archiver.totalSize(), 5);
    // The rest is a complete archive.
    ASSERT_TRUE(archiver.restore(dir.filePath("l.backup"), dir.filePath("out")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/big.img")));
    EXPECT_EQ(readAll(dir.filePath("out/small.txt")), "small");
}

} // namespace
} // namespace pylomir::backup::testing
