// "pylomir-cli clean" over a real tree: what it deletes, what it keeps, and
// the records the window's close sequence leaves.
#include "platform/settings_store.h"
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
