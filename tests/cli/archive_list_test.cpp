// "archive list": the recovery tab's two lists from the stored folders.
#include "support/cli_process.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using pylomir::testing::writeFile;

class ArchiveListTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString root = dir.path();

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(root + "/home/Filtry");
        for (const char* name : {"bak/b.backup", "bak/a.backup", "bak/a.002", "bak/x.txt",
                                 "log/Pylomir-log 1.plm", "log/inne.txt"})
            writeFile(root + "/" + name, "x");
        QDir().mkpath(root + "/bak/folder.backup");
        useFolders(root + "/bak/", root + "/log/");
    }
    void useFolders(const QString& backups, const QString& logs) {
        writeFile(root + "/settings.ini",
                  QStringLiteral("[Skanowan]\nBAKKatalog=%1\nLOGKatalog=%2\n")
                      .arg(backups, logs)
                      .toUtf8());
    }
    pylomir::testing::CliResult list(const QStringList& extra = {}) const {
        const pylomir::testing::CliProcess cli{root + "/home", root + "/settings.ini", root};
        return cli(QStringList{"archive", "list"} + extra);
    }
};

TEST_F(ArchiveListTest, PrintsBothListsWithTheirCounts) {
    const auto r = list();
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Dostępne pliki kopii zapasowych. Liczba kopii: 2\n"
                                    "%1/bak/a.backup\n%1/bak/b.backup\n"
                                    "Utworzone pliki LOG. Liczba logów: 1\n"
                                    "%1/log/Pylomir-log 1.plm\n")
                         .arg(root));

    const auto nul = list({"--null"});
    EXPECT_EQ(nul.code, 0);
    EXPECT_EQ(nul.rawOut, (root + "/bak/a.backup" + QChar(0) + root + "/bak/b.backup" + QChar(0) +
                           root + "/log/Pylomir-log 1.plm" + QChar(0))
                              .toUtf8());
}

TEST_F(ArchiveListTest, AnUnsetFolderListsNothingAndAMissingOneIsAnError) {
    useFolders(QStringLiteral("/"), root + "/log/"); // never set: not the root
    auto r = list();
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Dostępne pliki kopii zapasowych. Liczba kopii: 0\nUtworzone"));

    useFolders(root + "/bak/", root + "/brak/");
    r = list();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot list the folder " + root + "/brak/")) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(root + "/bak/b.backup\n"));

    EXPECT_EQ(list({"extra"}).code, 2);
}

} // namespace
