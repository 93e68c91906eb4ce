// The backup commands over a whole window: real files in the program's
// temporary folder, archives in a backup folder beside them.
#include "backup/backup_commands.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

const QString kStamp = QStringLiteral("05-12-2026 14-05-33");

class BackupCommandsTest : public WindowFixture {
protected:
    QString folder;  // the backup folder, with its separator
    QString sources; // where the found files are

    void SetUp() override {
        WindowFixture::SetUp();
        folder = home.path() + QStringLiteral("/kopie/");
        sources = home.path() + QStringLiteral("/dane/");
        for (const QString& made : {folder, sources}) {
            QDir(made).removeRecursively();
            QDir(home.path()).mkpath(made);
        }
        model().options.backupFolderAtStart = folder;
    }

    backup::BackupCommands& commands() { return window->backupCommands(); }

    // Real files, listed as found and known to the fake tree that deletes them.
    void found(const QStringList& names, int size = 100) {
        QStringList paths;
        for (const QString& name : names) {
            const QString path = sources + name;
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            // Random bytes: the archive is as large as the files.
            QByteArray bytes(size, Qt::Uninitialized);
            QRandomGenerator random(quint32(qHash(name)));
            for (char& c : bytes)
                c = char(random.generate());
            file.write(bytes);
            fs.add(path, size);
            paths << path;
        }
        model().foundList.assign(paths);
    }
    QStringList archives() const {
        return QDir(folder).entryList({QStringLiteral("*.backup")}, QDir::Files, QDir::Name);
    }
    // The files an archive holds, by its information list.
    QStringList heldBy(const QString& archive) {
        backup::Archiver reader;
        QStringList list;
        QString title;
        reader.readArchiveInfo(archive, &list, title);
        QStringList paths;
        for (const QString& line : list)
            paths << line.section(QLatin1Char('\t'), 0, 0);
        return paths;
    }
    QString archiveTitle(const QString& archive) {
        backup::Archiver reader;
        QString title;
        reader.readArchiveInfo(archive, nullptr, title);
        return title;
    }
};

// The archive is named by the stamp; one made in the same second gets a
// number instead of replacing the first. The progress window shows the
// name the way the program always has, and the archive's own title.
TEST_F(BackupCommandsTest, ArchivesAreNamedByTheStampAndNeverReplaced) {
    found({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")});
    model().foundList.setChecked(1, true);
    commands().backupAllFound();
    commands().backupAllFound();

    QStringList made = archives();
    made.sort();
    EXPECT_EQ(made,
              QStringList({"FileBAK_" + kStamp + " (2).backup", "FileBAK_" + kStamp + ".backup"}));
    const QString first = folder + "FileBAK_" + kStamp + ".backup";
    EXPECT_EQ(heldBy(first), QStringList({sources + "a.tmp", sources + "b.tmp"}));
    EXPECT_EQ(archiveTitle(first), "Plik z: " + kStamp);
    const backup::BackupProgressState& shown = window->backupProgress().state();
    EXPECT_EQ(shown.archiveNameText, "Plik kopii: \"FileBak_" + kStamp + "_.backup\"");
    EXPECT_EQ(shown.folderText, "Lokalizacja: " + folder);
    EXPECT_EQ(ui.windows, std::vector<core::WindowId>(2, core::WindowId::BackupProgress));
    EXPECT_EQ(ui.sounds, QStringList({"GOTOWE", "GOTOWE"}));
    EXPECT_EQ(model().status.statusText, "Kopia zapasowa gotowa...");
    EXPECT_FALSE(model().archive.busy);
}

TEST(BackupCountdown, IntervalByFoundCountAndFortySteps) {
    const std::pair<qint64, int> cases[] = {{0, 40},    {10, 40},   {24, 40},     {25, 40},
                                            {26, 70},   {50, 70},   {51, 150},    {150, 150},
                                            {151, 270}, {200, 270}, {100000, 270}};
    for (const auto& [count, interval] : cases) {
        backup::BackupProgress progress;
        progress.prepare(kStamp, QStringLiteral("/k/"), count);
        progress.startCountdown();
        EXPECT_EQ(progress.state().countdownIntervalMs, interval) << count;
        EXPECT_EQ(progress.state().fileCountText, QString::number(count));
        EXPECT_EQ(progress.state().headingText, "Tworzenie kopii bezpieczeństwa plików...");
        int steps = 1;
        while (!progress.advanceCountdown())
            ++steps;
        EXPECT_EQ(steps, backup::kCountdownSteps) << count;
        EXPECT_EQ(progress.state().countdownStep, backup::kCountdownSteps);
        EXPECT_FALSE(progress.state().countdownRunning);
    }
}

// The current entry alone, checked or not; without one, or without a backup
// folder, nothing is written and nothing claims success.
TEST_F(BackupCommandsTest, CurrentFileBackupTakesTheFocusedEntryOnly) {
    found({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")});
    commands().backupCurrentFile();
    EXPECT_EQ(ui.texts(), QStringList({"Brak plików do utworzenia kopii zapasowej !"}));
    EXPECT_TRUE(archives().isEmpty());
    EXPECT_NE(model().status.statusText, "Kopia zapasowa gotowa...");

    model().foundList.setCurrent(1);
    commands().backupCurrentFile();
    ASSERT_EQ(archives().size(), 1);
    EXPECT_EQ(heldBy(folder + archives().first()), QStringList({sources + "b.tmp"}));

    ui.boxes.clear();
    for (const char* unset : {"", "\\", "/"}) {
        model().options.backupFolderAtStart = QString::fromLatin1(unset);
        commands().backupCurrentFile();
        EXPECT_EQ(ui.texts().last(), "Katalog na kopie zapasowe plików nie jest ustawiony !\n"
                                     "Wskaż folder w ustawieniach i spróbuj ponownie.");
    }
    EXPECT_EQ(archives().size(), 1);
    EXPECT_TRUE(QDir(home.path()).entryList({QStringLiteral("*.backup")}).isEmpty());
}

// Without a backup folder the whole list goes into the program's folder,
// as the message announces.
TEST_F(BackupCommandsTest, AllFilesGoToTheProgramFolderWhenNoBackupFolderIsSet) {
    found({QStringLiteral("a.tmp")});
    model().options.backupFolderAtStart.clear();
    const backup::BackupOutcome outcome = commands().backupAllFound();
    EXPECT_EQ(ui.texts(), QStringList({"Katalog na kopie zapasowe plików nie jest ustawiony !\n"
                                       "Plik zostanie zapisany w lokalizacji pliku programu "
                                       "\"Pylomir\""}));
    EXPECT_EQ(outcome.archivePath, home.path() + "/FileBAK_" + kStamp + ".backup");
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(heldBy(outcome.archivePath), QStringList({sources + "a.tmp"}));
}

// Each compression caption selects the level it names.
TEST_F(BackupCommandsTest, CompressionChoicesSelectTheLevelTheyName) {
    found({QStringLiteral("a.tmp")});
    const std::pair<const char*, backup::CompressionLevel> cases[] = {
        {"clFastest", backup::CompressionLevel::Fastest},
        {"clDefault", backup::CompressionLevel::Default},
        {"clMax", backup::CompressionLevel::Max},
        {"clNone", backup::CompressionLevel::None},
    };
    for (int i = 0; i < 4; ++i) {
        ASSERT_STREQ(backup::kCompressionChoices[size_t(i)].caption, cases[i].first);
        window->restoreCommands().setCompressionChoice(i);
        commands().backupAllFound();
        EXPECT_EQ(window->restoreCommands().archiver().compressionLevel(), cases[i].second)
            << cases[i].first;
    }
}

// The quick delete backs up first and deletes what the archive holds.
TEST_F(BackupCommandsTest, QuickDeleteBacksUpThenDeletes) {
    found({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")});
    model().options.backupBeforeQuickDelete = true;
    window->deletion().quickDelete();
    ASSERT_EQ(archives().size(), 1);
    EXPECT_EQ(heldBy(folder + archives().first()),
              QStringList({sources + "a.tmp", sources + "b.tmp"}));
    EXPECT_TRUE(model().foundList.isEmpty());
    EXPECT_EQ(window->deletion().lastOutcome().deleted, 2);
}

// A backup that cannot be finished (the disk fills half way, a file cannot
// be opened) deletes nothing, leaves no archive to be taken for a good one,
// claims no success and leaves the deletion commands usable.
TEST_F(BackupCommandsTest, QuickDeleteDeletesNothingWithoutAWholeArchive) {
    for (int fault = 0; fault < 2; ++fault) {
        SetUp();
        found({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")}, 40000);
        model().options.backupBeforeQuickDelete = true;
        if (fault == 0)
            disk.bytesBeforeDiskFull = 20000;
        else
            disk.denied.insert(sources + "b.tmp");
        window->deletion().quickDelete();

        EXPECT_EQ(model().foundList.count(), 2) << fault;
        EXPECT_TRUE(QFile::exists(sources + "a.tmp"));
        EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty()) << fault;
        EXPECT_TRUE(ui.sounds.isEmpty());
        EXPECT_TRUE(ui.windows.empty());
        EXPECT_NE(model().status.statusText, "Kopia zapasowa gotowa...");
        EXPECT_FALSE(model().archive.busy);
        EXPECT_TRUE(model().deletionEnabled());
        EXPECT_EQ(ui.errors.size() + ui.boxes.size(), 1u) << fault; // the component's message
    }
}

// The backup step alone ("Tworzenie..." on the hidden panel) names an
// archive when no command has, and never replaces the one it wrote before.
TEST_F(BackupCommandsTest, TheBackupStepAloneWritesAFreshArchiveEachTime) {
    found({QStringLiteral("a.tmp")});
    window->restoreCommands().setBackupSources({sources + "a.tmp"});
    EXPECT_TRUE(commands().createBackup().complete);
    EXPECT_TRUE(commands().createBackup().complete);
    QStringList made = archives();
    made.sort();
    EXPECT_EQ(made,
              QStringList({"FileBAK_" + kStamp + " (2).backup", "FileBAK_" + kStamp + ".backup"}));
}

// One archive operation at a time: what the user clicks while the archive
// is written (events are processed after every block) is refused, and the
// bottom bar tells how far the archive is.
TEST_F(BackupCommandsTest, CommandsBetweenBlocksAreRefusedAndProgressIsShown) {
    found({QStringLiteral("a.tmp")}, 100000);
    model().options.backupBeforeQuickDelete = true;
    QStringList shown;
    bool nested = false;
    pump.action = [&](int) {
        shown << model().status.detailsStatusText;
        if (nested || !model().archive.busy)
            return;
        nested = true;
        EXPECT_FALSE(commands().backupAllFound().written);
        commands().backupCurrentFile();
        window->deletion().quickDelete();
        window->deletion().deleteSelected();
    };
    const backup::BackupOutcome outcome = commands().backupAllFound();

    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(archives().size(), 1);
    EXPECT_EQ(ui.texts(), QStringList(3, QString::fromUtf8(core::kArchiveBusyMessage)));
    EXPECT_TRUE(QFile::exists(sources + "a.tmp"));
    EXPECT_EQ(model().foundList.count(), 1);
    EXPECT_TRUE(shown.contains("Tworzenie kopii zapasowej: 16% - " + sources + "a.tmp"))
        << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(model().status.detailsStatusText.isEmpty());
    EXPECT_TRUE(model().deletionEnabled());
}

} // namespace
