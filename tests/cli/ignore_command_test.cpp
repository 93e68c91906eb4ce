// "pylomir-cli ignore" over the window's list files in a temporary program
// folder.
#include "support/cli_process.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Result = pylomir::testing::CliResult;
using pylomir::testing::readFile;
using pylomir::testing::writeFile;

class IgnoreCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        QDir().mkpath(root + "/home/Filtry");
        QDir().mkpath(root + "/work");
    }

    QString files() const { return root + "/home/Filtry/ignoralplik.dat"; }
    QString masks() const { return root + "/home/Filtry/ignoraltyp.dat"; }

    // Runs "pylomir-cli ignore ARGS" in root/work.
    Result ignore(const QStringList& args) const {
        const pylomir::testing::CliProcess cli{root + "/home", root + "/settings.ini",
                                               root + "/work"};
        return cli(QStringList{"ignore"} + args);
    }

    // One edit of a list file holding `listed`: what it stores and says.
    struct EditCase {
        const char* name;
        QByteArray listed;
        QStringList args;
        QByteArray stored;
        const char* summary;
    };
    void expectEdit(const EditCase& c) const {
        SCOPED_TRACE(c.name);
        const bool isMask = c.args.contains("--masks");
        writeFile(files(), isMask ? "" : c.listed);
        writeFile(masks(), isMask ? c.listed : "");
        const Result r = ignore(c.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, c.summary);
        EXPECT_EQ(readFile(isMask ? masks() : files()), c.stored);
    }

    QTemporaryDir dir;
    QString root;
};

TEST_F(IgnoreCommandTest, AddedEntriesListAsTheyAreStored) {
    const Result paths = ignore({"add", "rel/a.txt", "/abs/b c.log", "/abs/t\tz\x01.tmp"});
    EXPECT_EQ(paths.code, 0) << paths.err.toStdString();
    EXPECT_EQ(paths.err, "added 3, already listed 0\n");
    const Result masked = ignore({"add", "--masks", "r?port.*", "*.TMP"});
    EXPECT_EQ(masked.code, 0) << masked.err.toStdString();

    // One entry per line, control characters escaped as scan escapes them.
    const QByteArray a = (root + "/work/rel/a.txt").toUtf8();
    EXPECT_EQ(ignore({"list"}).rawOut, a + "\n/abs/b c.log\n/abs/t\\tz\\001.tmp\n");
    EXPECT_EQ(ignore({"list", "--null"}).rawOut,
              QByteArrayList({a, "/abs/b c.log", "/abs/t\tz\x01.tmp", ""}).join('\0'));
    EXPECT_EQ(ignore({"list", "--masks"}).rawOut, "r?port.*\n*.TMP\n");
}

TEST_F(IgnoreCommandTest, ListFilesAreTheWindowsCodePageWithCrLf) {
    EXPECT_EQ(ignore({"add", "/d/za\u017C\u00F3\u0142\u0107.txt"}).code, 0);
    EXPECT_EQ(ignore({"add", "--masks", "*.\u0142\u0105"}).code, 0);
    EXPECT_EQ(readFile(files()), "/d/za\xBF\xF3\xB3\xE6.txt\r\n");
    EXPECT_EQ(readFile(masks()), "*.\xB3\xB9\r\n");
}

TEST_F(IgnoreCommandTest, ListedEntriesAreNotAddedTwice) {
    const EditCase cases[] = {
        // Paths keep their letter case on POSIX systems.
        {"path case",
         "/t/A.txt\r\n",
         {"add", "/t/A.txt", "/t/a.txt"},
         "/t/A.txt\r\n/t/a.txt\r\n",
         "added 1, already listed 1\n"},
        {"path given twice",
         "",
         {"add", "/t/b", "/t/x/../b"},
         "/t/b\r\n",
         "added 1, already listed 1\n"},
        {"mask case",
         "r?port.*\r\n",
         {"add", "--masks", "R?PORT.*"},
         "r?port.*\r\n",
         "added 0, already listed 1\n"},
    };
    for (const EditCase& c : cases)
        expectEdit(c);
}

TEST_F(IgnoreCommandTest, RemoveTakesAwayEveryEqualEntry) {
    const EditCase cases[] = {
        {"path twice",
         "/t/a\r\n/t/b\r\n/t/a\r\n",
         {"remove", "/t/a", "/t/none"},
         "/t/b\r\n",
         "removed 2, not listed 1\n"},
        {"path case",
         "/t/a\r\n/t/A\r\n",
         {"remove", "/t/A"},
         "/t/a\r\n",
         "removed 1, not listed 0\n"},
        // An entry typed into the window need not be a full path.
        {"entry as typed",
         "notes.txt\r\n/t/b\r\n",
         {"remove", "notes.txt"},
         "/t/b\r\n",
         "removed 1, not listed 0\n"},
        {"mask case",
         "R?port.*\r\n*.tmp\r\nr?PORT.*\r\n",
         {"remove", "--masks", "r?port.*"},
         "*.tmp\r\n",
         "removed 2, not listed 0\n"},
    };
    for (const EditCase& c : cases)
        expectEdit(c);
}

TEST_F(IgnoreCommandTest, RefusedEntriesFailTheCommandButTheOthersAreStored) {
    const Result mask = ignore({"add", "--masks", "[a", "*.tmp"});
    EXPECT_EQ(mask.code, 1);
    EXPECT_TRUE(mask.err.contains("'[a' is an invalid mask at (3)")) << mask.err.toStdString();
    EXPECT_TRUE(mask.err.contains("added 1, already listed 0, refused 1"));
    EXPECT_EQ(readFile(masks()), "*.tmp\r\n");

    // Read back, a line break would split the entry in two.
    const Result path = ignore({"add", "/t/n\nl.tmp", "/t/ok"});
    EXPECT_EQ(path.code, 1);
    EXPECT_TRUE(path.err.contains("/t/n\\nl.tmp")) << path.err.toStdString();
    EXPECT_EQ(readFile(files()), "/t/ok\r\n");
    EXPECT_EQ(ignore({"list"}).out, "/t/ok\n");
}

TEST_F(IgnoreCommandTest, AListFileThatCannotBeWrittenIsAnError) {
    const struct {
        const char* name;
        std::function<void()> spoil;
        const char* message;
    } cases[] = {
        {"a folder in its place", [&] { QDir().mkpath(files()); }, "Is a directory"},
        {"no Filtry folder", [&] { QDir(root + "/home/Filtry").removeRecursively(); },
         "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root + "/home").removeRecursively();
        QDir().mkpath(root + "/home/Filtry");
        c.spoil();
        const Result r = ignore({"add", "/t/a"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(files())) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
}

TEST_F(IgnoreCommandTest, UsageErrors) {
    const struct {
        QStringList args;
        const char* err;
    } cases[] = {
        {{"add"}, "missing PATH"},           {{"remove", "--masks"}, "missing MASK"},
        {{"add", ""}, "an empty PATH"},      {{"list", "/t/a"}, "takes no arguments"},
        {{"add", "--null", "/t/a"}, "null"}, {{"sort"}, "unknown ignore command"},
        {{}, "Usage: pylomir-cli ignore"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = ignore(c.args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
    }
    EXPECT_EQ(readFile(files()), "<missing>"); // nothing was started
}

} // namespace
