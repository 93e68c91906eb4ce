// "clean --trash": the found files go to the freedesktop.org trash of a
// temporary home, counted and logged as deleted files are.
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using pylomir::testing::CliResult;
using pylomir::testing::readFile;
using pylomir::testing::writeFile;

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        data = root + "/user/.local/share";
        trash = data + "/Trash";
        QDir().mkpath(data);
        QDir().mkpath(root + "/logs");
        writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        writeFile(root + "/settings.ini", "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\n"
                                          "[Skanowan]\nLiczba=0\nLOGKatalog=" +
                                              root.toUtf8() + "/logs/\n");
        writeFile(tree + "/a.tmp", "12345");
        writeFile(tree + "/keep.txt", "12345");
    }

    CliResult clean(const QStringList& options) const {
        pylomir::testing::CliProcess run{root + "/home", root + "/settings.ini"};
        run.environment = {{"HOME", root + "/user"}, {"XDG_DATA_HOME", data}};
        return run(QStringList{"clean", tree} + options);
    }
    QString log() const {
        const QStringList logs = QDir(root + "/logs").entryList({"*.plm"}, QDir::Files);
        return logs.size() == 1 ? QString::fromUtf8(readFile(root + "/logs/" + logs.first()))
                                : QString();
    }

    QTemporaryDir dir;
    QString root, tree, data, trash;
};

TEST_F(TrashTest, FileGoesToTheTrashWithItsRecordAndCountsAsDeleted) {
    const CliResult r = clean({"--trash", "--yes"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, tree + "/a.tmp\n");
    EXPECT_TRUE(
        r.err.endsWith("deleted 1, could not delete 0, kept as ignored 0, already gone 0\n"))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(tree + "/a.tmp"));
    EXPECT_TRUE(QFile::exists(tree + "/keep.txt"));
    EXPECT_EQ(readFile(trash + "/files/a.tmp"), "12345");
    const QString info = QString::fromUtf8(readFile(trash + "/info/a.tmp.trashinfo"));
    EXPECT_TRUE(info.startsWith("[Trash Info]\n")) << info.toStdString();
    EXPECT_TRUE(info.contains("\nPath=" + tree + "/a.tmp\n")) << info.toStdString();
    EXPECT_TRUE(info.contains(
        QRegularExpression("\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
        << info.toStdString();
    // The session's log records it as a deleted file.
    EXPECT_TRUE(log().contains(tree + "/a.tmp")) << log().toStdString();
}

TEST_F(TrashTest, FileThatCannotBeTrashedIsReportedAndStays) {
    // A trash that is a file cannot hold anything.
    writeFile(trash, "not a folder");
    const CliResult r = clean({"--trash", "--yes"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("pylomir-cli clean: could not delete " + tree + "/a.tmp: "))
        << r.err.toStdString();
    EXPECT_TRUE(
        r.err.endsWith("deleted 0, could not delete 1, kept as ignored 0, already gone 0\n"))
        << r.err.toStdString();
    EXPECT_EQ(readFile(tree + "/a.tmp"), "12345");
}

TEST_F(TrashTest, DryRunMovesNothingAndSaysSo) {
    const CliResult r = clean({"--trash", "--dry-run"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, tree + "/a.tmp\n");
    EXPECT_TRUE(r.err.contains("pylomir-cli clean: a dry run moves nothing to the trash\n"));
    EXPECT_TRUE(QFile::exists(tree + "/a.tmp"));
    EXPECT_FALSE(QFile::exists(trash + "/files/a.tmp"));
}

TEST_F(TrashTest, BackupArchiveIsWrittenAndKeptWhileTheFilesGoToTheTrash) {
    {
        QFile f(root + "/settings.ini");
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("BAKKatalog=" + root.toUtf8() + "/bak/\n");
    }
    QDir().mkpath(root + "/bak");
    const CliResult r = clean({"--trash", "--yes", "--backup"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(root + "/bak").entryList({"*.backup"}, QDir::Files).size(), 1);
    EXPECT_EQ(readFile(trash + "/files/a.tmp"), "12345");
    // Only the found file went to the trash.
    EXPECT_EQ(QDir(trash + "/files").entryList(QDir::Files), QStringList{"a.tmp"});
}

} // namespace
