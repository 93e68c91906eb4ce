// Restore rules, events, cancelling and the coded failures.
#include "backup_test_util.h"

#include "core/message_pump.h"
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
