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
        TBackupFile bf;
        configureForBackup(bf);
        EXPECT_TRUE(bf.Backup({a, b}, archive));
    }
};

TEST(RestoreRules, ExistingMissingOlderNewer) {
    // Whether a.txt replaces a target that is missing, older, as old or newer.
    const std::pair<TRestoreMode, const char*> cases[] = {{rmAll, "1111"},
                                                          {rmNoOverwrite, "1000"},
                                                          {rmNewer, "1100"},
                                                          {rmExisting, "0111"},
                                                          {rmExistingNewer, "0100"}};
    Fixture fx;
    for (const auto& [mode, expected] : cases) {
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << " target " << t);
            QDir(fx.out).removeRecursively();
            if (t > 0)
                writeFile(fx.out + "/a.txt", "OLD", kStored.addSecs(2 * t - 4));
            TBackupFile bf;
            bf.setRestoreMode(mode);
            ASSERT_TRUE(bf.Restore(fx.archive, fx.out));
            const bool restored = readAll(fx.out + "/a.txt") == readAll(fx.a);
            EXPECT_EQ(restored, expected[t] == '1');
            // b.txt never exists beforehand; the data of skipped members is read past.
            const bool bRestored = mode <= rmNewer;
            EXPECT_EQ(QFileInfo::exists(fx.out + "/b.txt"), bRestored);
            EXPECT_EQ(bf.FilesDone(), int(restored) + int(bRestored));
        }
    }
}

TEST(RestoreEvents, RenameVetoAndRestoredFile) {
    Fixture fx;
    const QString renamed = fx.out + "/renamed/a2.txt";
    TBackupFile bf;
    std::vector<qint32> dates;
    bf.OnRestoreFile = [&](TBackupFile*, QString& name, qint32 fa, bool& doRestore) {
        dates.push_back(fa);
        if (name.endsWith("a.txt"))
            name = renamed;
        else
            doRestore = false;
    };
    QStringList finished;
    bf.OnFileRestored = [&](TBackupFile*, QString& name, QIODevice*& stream) {
        finished << name;
        ASSERT_TRUE(stream && stream->isWritable());
        stream->write("+tail"); // still open: the owner may add to it
    };
    ASSERT_TRUE(bf.Restore(fx.archive, fx.out));
    EXPECT_EQ(dates, std::vector<qint32>(2, toDosDateTime(kStored)));
    EXPECT_EQ(finished, QStringList{renamed});
    EXPECT_EQ(readAll(renamed), readAll(fx.a) + "+tail");
    EXPECT_EQ(QFileInfo(renamed).lastModified(), kStored); // set after the handler wrote
    EXPECT_FALSE(QFileInfo::exists(fx.out + "/b.txt"));
    EXPECT_EQ(bf.FilesDone(), 1);
}

struct CallbackPump : core::MessagePump {
    std::function<void()> onPump;
    void processPendingMessages() override { onPump(); }
};

TEST(Cancelling, StopAndProgressHandlerEndBeforeTheNextBlock) {
    Fixture fx(5 * kBlockSize);
    for (const bool viaPump : {false, true}) {
        SCOPED_TRACE(viaPump);
        TBackupFile bf;
        configureForBackup(bf);
        int blocks = 0;
        CallbackPump pump;
        pump.onPump = [&] {
            EXPECT_TRUE(bf.Busy());
            EXPECT_FALSE(bf.Backup({fx.a}, fx.dir.filePath("nested.backup"))); // no re-entry
            if (viaPump && ++blocks == 2)
                bf.Stop();
        };
        bf.setMessagePump(&pump);
        std::vector<int> percents;
        bf.OnProgress = [&](TBackupFile*, const QString&, TPercentage p, bool& go) {
            percents.push_back(p);
            if (!viaPump && percents.size() == 3) // the start report, then two blocks
                go = false;
        };
        const QString archive = fx.dir.filePath("stopped.backup");
        EXPECT_FALSE(bf.Backup({fx.a, fx.b}, archive));
        EXPECT_FALSE(bf.Busy());
        EXPECT_EQ(bf.ErrorCode(), 0);
        EXPECT_EQ(bf.FilesDone(), 0);
        EXPECT_EQ(bf.BytesDone(), 2 * kBlockSize);
        EXPECT_EQ(percents.back(), 100);
        TBackupFile reader; // no end marker: reading it runs off the end
        EXPECT_THROW(reader.Restore(archive, fx.out), BackupError);
        EXPECT_FALSE(reader.Busy());

        blocks = 0;
        percents.clear();
        EXPECT_FALSE(bf.Restore(fx.archive, fx.out));
        EXPECT_EQ(bf.FilesDone(), 0);
        // The pump runs before the progress report of each block.
        EXPECT_EQ(QFileInfo(fx.out + "/a.txt").size(), (viaPump ? 2 : 3) * kBlockSize);
    }
}

// Runs an operation twice: with OnError attached, and with the message box.
void expectReported(const std::function<void(TBackupFile&)>& run, qint32 code) {
    const QString message = backupErrorMessage(code);
    {
        TBackupFile bf;
        Errors errors;
        collectErrors(bf, errors);
        run(bf);
        EXPECT_EQ(bf.ErrorCode(), code);
        EXPECT_EQ(errors, Errors({{code, message}}));
    }
    TBackupFile bf;
    pylomir::testing::ScriptedUi ui;
    bf.setUiPort(&ui);
    run(bf);
    ASSERT_EQ(ui.texts(), QStringList{message});
    EXPECT_EQ(ui.boxes[0].icon, core::MsgIcon::Error);
    EXPECT_EQ(ui.boxes[0].buttons, core::MsgButtons::Ok);
}

TEST(ErrorCodes, EachFailureReportsItsCodeAndMessage) {
    EXPECT_EQ(backupErrorMessage(1), "Nie można odczytać danych z pliku kopii zapasowej !");
    EXPECT_EQ(backupErrorMessage(6), "Błąd przy kompresji pliku kopii zapasowej !");
    Fixture fx;
    QString title;
    {
        // A missing archive is no error: nothing is shown or reported.
        TBackupFile bf;
        pylomir::testing::ScriptedUi ui;
        bf.setUiPort(&ui);
        bf.OnProgress = [](TBackupFile*, const QString&, TPercentage, bool&) { FAIL(); };
        EXPECT_FALSE(bf.Restore("/nonexistent/x.backup", QString()));
        EXPECT_TRUE(ui.boxes.empty());
    }
    // 1: the target cannot be created.
    QDir().mkpath(fx.out + "/a.txt");
    expectReported([&](TBackupFile& bf) { EXPECT_FALSE(bf.Restore(fx.archive, fx.out)); },
                   ecReadData);
    QDir(fx.out).removeRecursively();
    // 3: the archive exists but cannot be opened.
    expectReported([&](TBackupFile& bf) { bf.GetArchiveInfo(fx.dir.filePath("src"), {}, title); },
                   ecReadArchive);
    // 4: the archive cannot be written.
    expectReported([&](TBackupFile& bf) { EXPECT_FALSE(bf.Backup({fx.a}, "/dev/full")); },
                   ecCreateArchive);

    // 5: the information list is cut short inside its block.
    const QString cut = fx.dir.filePath("cut.backup");
    {
        TBackupFile bf;
        configureForBackup(bf, true);
        ASSERT_TRUE(bf.Backup({fx.a}, cut));
        ASSERT_TRUE(QFile(cut).resize(4 + 4 + 8 + 4 + 9 + 4 + 4 + 4 + 5));
    }
    expectReported(
        [&](TBackupFile& bf) {
            QStringList list{"untouched"};
            bf.GetArchiveInfo(cut, &list, title);
            EXPECT_EQ(list, QStringList{"untouched"});
            EXPECT_EQ(title, "test");
        },
        ecNotArchive);

    // 6: a damaged compressed block.
    const QString bad = fx.dir.filePath("bad.backup");
    QByteArray bytes = readAll(fx.archive);
    const qsizetype firstBlock = 12 + 4 + encodeText(fx.a).size() + 4 + 4;
    ASSERT_GT(readI32(bytes, firstBlock), 0);
    bytes[firstBlock + 4 + 10] = char(bytes[firstBlock + 4 + 10] ^ 0x55);
    writeFile(bad, bytes);
    expectReported([&](TBackupFile& bf) { EXPECT_FALSE(bf.Restore(bad, fx.out)); }, ecCompression);

    // 7: no temporary folder for the list.
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", fx.a.toUtf8()); // a file, not a folder
    expectReported(
        [&](TBackupFile& bf) {
            configureForBackup(bf, true);
            EXPECT_FALSE(bf.Backup({fx.a}, fx.dir.filePath("t.backup")));
            EXPECT_EQ(readAll(fx.dir.filePath("t.backup")).size(), 12 + 4); // header only
        },
        ecTempFile);
    qputenv("TMPDIR", oldTmp);
}

TEST(ErrorCodes, FileTooLargeForTheFormatIsRefusedWhole) {
    QTemporaryDir dir;
    QFile big(dir.filePath("big.img"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(qint64(1) << 31)); // sparse
    big.close();
    writeFile(dir.filePath("small.txt"), "small");
    TBackupFile bf;
    configureForBackup(bf);
    Errors errors;
    collectErrors(bf, errors);
    EXPECT_FALSE(bf.Backup({big.fileName(), dir.filePath("small.txt")}, dir.filePath("l.backup")));
    EXPECT_EQ(errors, Errors({{ecCreateArchive, backupErrorMessage(ecCreateArchive)}}));
    EXPECT_EQ(bf.FileCount(), 1);
    EXPECT_EQ(bf.TotalSize(), 5);
    ASSERT_TRUE(bf.Restore(dir.filePath("l.backup"), dir.filePath("out")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out/big.img")));
    EXPECT_EQ(readAll(dir.filePath("out/small.txt")), "small");
}

} // namespace
} // namespace pylomir::backup::testing
