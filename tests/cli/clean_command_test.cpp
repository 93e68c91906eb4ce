// "pylomir-cli clean" over a real tree: what it deletes, what it keeps, and
// the records the window's close sequence leaves.
#include "platform/settings_store.h"
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Result = pylomir::testing::CliResult;
using pylomir::testing::writeFile;

// Found in the safe mode: the first two; the others are no match or ignored.
const QStringList kAll{"a.tmp", "sub/b.tmp", "keep.txt", "ignored.tmp", "report.tmp"};
const QStringList kKept{"keep.txt", "ignored.tmp", "report.tmp"};

class CleanCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        logs = root + "/logs";
        QDir().mkpath(logs);
        writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        writeFile(root + "/home/Filtry/ignoralplik.dat", (tree + "/ignored.tmp\r\n").toUtf8());
        writeFile(root + "/home/Filtry/ignoraltyp.dat", "r?port.*\r\n");
        writeFile(root + "/settings.ini",
                  "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\n[Skanowan]\nLiczba=0\nLOGKatalog=" +
                      logs.toUtf8() + "/\n");
        for (const QString& name : kAll)
            writeFile(tree + '/' + name, "12345");
    }

    Result clean(const QStringList& options) const {
        pylomir::testing::CliProcess run{root + "/home", root + "/settings.ini"};
        if (asNobody)
            run.launcher = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        return run(QStringList{"clean", tree} + options);
    }

    QStringList existing() const {
        QStringList names;
        for (const QString& name : kAll)
            if (QFile::exists(tree + '/' + name))
                names << name;
        return names;
    }
    // Every archive below the test's folder, wherever it went.
    QStringList archives() const {
        QStringList found;
        QDirIterator it(root, {"*.backup*"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }
    // The backup folder the window reads at start; the settings end with its key.
    void setBackupFolder(const QString& folder) const {
        QFile f(root + "/settings.ini");
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("BAKKatalog=" + folder.toUtf8() + "\n");
    }
    QStringList logFiles() const {
        return QDir(logs).entryList({"Pylomir-log *.plm"}, QDir::Files);
    }
    // As the program reads it back (names in any letter case).
    QString stored(const QString& key, const QString& name) const {
        return pylomir::platform::openSettingsStore(root + "/settings.ini")
            ->readString(key, name)
            .value_or("<missing>");
    }
    static QStringList sortedLines(const QString& out) {
        QStringList lines = out.split('\n', Qt::SkipEmptyParts);
        lines.sort();
        return lines;
    }

    QTemporaryDir dir;
    QString root, tree, logs;
    bool asNobody = false; // root ignores permissions; an ordinary user does not
};

TEST_F(CleanCommandTest, DryRunListsTheFoundFilesAndStillClosesAsTheWindowDoes) {
    const Result r = clean({"--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(sortedLines(r.out), QStringList({tree + "/a.tmp", tree + "/sub/b.tmp"}));
    EXPECT_EQ(existing(), kAll);
    EXPECT_EQ(logFiles().size(), 1);
    EXPECT_EQ(stored("Skanowan", "Liczba"), "1");
    EXPECT_EQ(stored("Usunieto", "ListBox"), "0");
}

// Twice, so that the first session counts from a missing count and the
// second adds to what the first stored.
TEST_F(CleanCommandTest, YesDeletesWhatTheScanFoundAndCountsItInTheStore) {
    const struct {
        QStringList deleted;
        const char* scans;
        const char* files;
        const char* bytes;
    } sessions[] = {
        {{"a.tmp", "sub/b.tmp"}, "1", "2", "10"},
        {{"a.tmp"}, "2", "3", "15"},
    };
    for (const auto& s : sessions) {
        SCOPED_TRACE(s.scans);
        writeFile(tree + "/a.tmp", "12345");
        const Result r = clean({"--yes"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QStringList paths;
        for (const QString& name : s.deleted)
            paths << tree + '/' + name;
        EXPECT_EQ(sortedLines(r.out), paths);
        EXPECT_TRUE(r.err.contains(QString("deleted %1, could not delete 0").arg(s.deleted.size())))
            << r.err.toStdString();
        EXPECT_EQ(existing(), kKept);
        EXPECT_EQ(archives(), QStringList()); // no backup without --backup
        EXPECT_EQ(stored("Skanowan", "Liczba"), s.scans);
        EXPECT_EQ(stored("Usunieto", "ListBox"), s.files);
        EXPECT_EQ(stored("Skanowan", "Skasowano"), s.bytes);
    }
    // One log per session, the second beside the first, not over it.
    const QStringList plm = logFiles();
    ASSERT_EQ(plm.size(), 2);
    const QByteArray both = pylomir::testing::readFile(logs + '/' + plm[0]) +
                            pylomir::testing::readFile(logs + '/' + plm[1]);
    EXPECT_EQ(both.count("Lokalizacja: " + tree.toUtf8() + "/a.tmp"), 2);
    EXPECT_EQ(both.count("Lokalizacja: " + tree.toUtf8() + "/sub/b.tmp"), 1);
}

// Root deletes anything, so the refusal comes from an ordinary user's
// rights: a folder it may list but not write.
TEST_F(CleanCommandTest, AFileThatStaysIsNamedAndFailsTheCommand) {
    const QString locked = tree + "/locked";
    writeFile(locked + "/c.tmp", "123");
    const struct Restore {
        QString path;
        ~Restore() {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } restore{locked};
    if (::geteuid() == 0) {
        if (!QFile::exists("/usr/bin/setpriv"))
            GTEST_SKIP() << "root deletes anything, and setpriv is missing to drop privileges";
        QProcess::execute("chmod", {"-R", "a+rwX", root});
        asNobody = true;
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                      QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);

    const Result r = clean({"--yes"});
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_EQ(sortedLines(r.out), QStringList({tree + "/a.tmp", tree + "/sub/b.tmp"}));
    EXPECT_TRUE(QFile::exists(locked + "/c.tmp"));
    EXPECT_TRUE(r.err.contains("could not delete " + locked + "/c.tmp: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("could not delete 1")) << r.err.toStdString();
    EXPECT_EQ(stored("Usunieto", "ListBox"), "2");

    // A folder that cannot be listed only makes the output partial.
    QFile::setPermissions(locked, {});
    writeFile(tree + "/a.tmp", "12345");
    const Result partial = clean({"--yes"});
    EXPECT_EQ(partial.code, 4) << partial.err.toStdString();
    EXPECT_EQ(partial.out, tree + "/a.tmp\n");
    EXPECT_TRUE(partial.err.contains(locked + "\n")) << partial.err.toStdString();
}

// The archive is checked by restoring it over the deleted files' places.
TEST_F(CleanCommandTest, BackupArchivesWhatItDeletesInTheBackupFolder) {
    const struct {
        const char* name;
        QString folder;    // the setting; empty: not set
        QString archiveIn; // where the archive goes
        const char* said;
    } cases[] = {
        {"set", root + "/kopie/", root + "/kopie/", ""},
        {"not set", "", root + "/home/", "Katalog na kopie zapasowe plików nie jest ustawiony"},
    };
    const QStringList found{tree + "/a.tmp", tree + "/sub/b.tmp"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (!c.folder.isEmpty()) {
            QDir().mkpath(c.folder);
            setBackupFolder(c.folder);
        }
        const Result dry = clean({"--dry-run", "--backup"});
        EXPECT_EQ(dry.code, 0) << dry.err.toStdString();
        EXPECT_TRUE(dry.err.contains("a dry run makes no backup")) << dry.err.toStdString();
        EXPECT_TRUE(archives().isEmpty());

        const Result r = clean({"--yes", "--backup"});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(sortedLines(r.out), found);
        EXPECT_EQ(existing(), kKept);
        EXPECT_TRUE(r.err.contains(c.said)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("deleted 2, could not delete 0, kept as ignored 0, already "
                                   "gone 0, not in the backup 0"))
            << r.err.toStdString();
        const QStringList written = archives();
        ASSERT_EQ(written.size(), 1);
        EXPECT_TRUE(written[0].startsWith(c.archiveIn + "FileBAK_")) << written[0].toStdString();
        EXPECT_TRUE(written[0].endsWith(".backup"));
        EXPECT_TRUE(r.err.contains("Kopia zapasowa: " + written[0] + "\n")) << r.err.toStdString();

        const Result back = pylomir::testing::CliProcess{root + "/home", root + "/settings.ini"}(
            {"archive", "restore", written[0]});
        EXPECT_EQ(back.code, 0) << back.err.toStdString();
        EXPECT_EQ(existing(), kAll);
        for (const QString& path : found)
            EXPECT_EQ(pylomir::testing::readFile(path), "12345");
        QFile::remove(written[0]);
    }
}

// Without a whole archive the files stay: a folder path that names a file,
// and (for an ordinary user) a folder it may not write.
TEST_F(CleanCommandTest, BackupThatCannotBeWrittenDeletesNothing) {
    writeFile(root + "/plik", "not a folder");
    const QString readOnly = root + "/tylko-odczyt/";
    QDir().mkpath(readOnly);
    QStringList folders{root + "/plik/"};
    if (::geteuid() != 0 || QFile::exists("/usr/bin/setpriv")) {
        folders << readOnly;
        if (::geteuid() == 0) {
            QProcess::execute("chmod", {"-R", "a+rwX", root});
            asNobody = true;
        }
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                            QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    }
    const QByteArray settings = pylomir::testing::readFile(root + "/settings.ini");
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        writeFile(root + "/settings.ini", settings);
        setBackupFolder(folder);
        const Result r = clean({"--yes", "--backup"});
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(existing(), kAll);
        EXPECT_TRUE(r.err.contains("the backup failed; nothing was deleted"))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Kopia zapasowa:")) << r.err.toStdString();
        EXPECT_EQ(archives(), QStringList());
        EXPECT_EQ(stored("Usunieto", "ListBox"), "0");
    }
}

// A FIFO is found by its name but the archive cannot store it: it stays, is
// named, and fails the command; the rest goes.
TEST_F(CleanCommandTest, BackupKeepsWhatTheArchiveDoesNotHold) {
    const QString fifo = tree + "/pipe.tmp";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    QDir().mkpath(root + "/kopie");
    setBackupFolder(root + "/kopie/");
    const Result r = clean({"--yes", "--backup"});
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_EQ(sortedLines(r.out), QStringList({tree + "/a.tmp", tree + "/sub/b.tmp"}));
    EXPECT_TRUE(QFileInfo(fifo).exists());
    EXPECT_TRUE(r.err.contains("kept " + fifo + ": the backup does not hold it\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("deleted 2, could not delete 0, kept as ignored 0, already gone 0, "
                               "not in the backup 1"))
        << r.err.toStdString();
    EXPECT_EQ(archives().size(), 1);
}

TEST_F(CleanCommandTest, UsageErrorsDeleteNothing) {
    const struct {
        QStringList options;
        const char* said;
    } cases[] = {
        {{}, "deleting needs --yes"},
        {{"--yes", "--dry-run"}, "exclude each other"},
        {{"--yes", "--mode", "ostrozny"}, "unknown mode 'ostrozny'"},
        {{"--yes", tree}, "only one FOLDER"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const Result r = clean(c.options);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(c.said)) << r.err.toStdString();
        EXPECT_EQ(existing(), kAll);
    }
    EXPECT_TRUE(logFiles().isEmpty());
}

} // namespace
