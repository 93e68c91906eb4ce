// --format json of every command that prints results: each object parses,
// with the members its --help documents.
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using pylomir::testing::CliResult;
using pylomir::testing::writeFile;

class JsonOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        QDir().mkpath(root + "/bak");
        QDir().mkpath(root + "/log");
        writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        writeFile(root + "/home/Filtry/ignoralplik.dat", "/x/ignored.tmp\r\n");
        writeFile(root + "/home/Filtry/ignoraltyp.dat", "r?port.*\r\n*.dmp\r\n");
        writeFile(root + "/settings.ini", "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\n"
                                          "[Skanowan]\nLiczba=0\nLOGKatalog=" +
                                              root.toUtf8() + "/log/\nBAKKatalog=" + root.toUtf8() +
                                              "/bak/\n");
        writeFile(tree + "/a.tmp", "12345");
        writeFile(tree + "/line\nbreak.tmp", "123");
        writeFile(tree + "/keep.txt", "1");
    }

    // Runs the command; its standard output must be one JSON object.
    QJsonObject json(const QStringList& args, int expectedCode = 0) const {
        const CliResult r =
            pylomir::testing::CliProcess{root + "/home", root + "/settings.ini", root}(args);
        EXPECT_EQ(r.code, expectedCode) << args.join(' ').toStdString() << '\n'
                                        << r.err.toStdString();
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(r.rawOut, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        EXPECT_TRUE(doc.isObject());
        return doc.object();
    }
    static QStringList strings(const QJsonValue& value) {
        QStringList out;
        for (const QJsonValue& v : value.toArray())
            out << v.toString();
        return out;
    }

    QTemporaryDir dir;
    QString root, tree;
};

TEST_F(JsonOutputTest, CleanDryRunAndDeletion) {
    const QStringList found{tree + "/a.tmp", tree + "/line\nbreak.tmp"};
    QJsonObject o = json({"clean", tree, "--dry-run", "--format", "json"});
    EXPECT_EQ(o["dryRun"], true);
    EXPECT_EQ(o["trash"], false);
    EXPECT_EQ(strings(o["found"]), found);
    EXPECT_EQ(strings(o["deleted"]), QStringList());
    EXPECT_EQ(o["failed"].toArray().size(), 0);
    EXPECT_EQ(o["backup"], QJsonValue::Null);
    EXPECT_EQ(o["error"], QJsonValue::Null);
    EXPECT_EQ(o["summary"].toObject()["found"], 2);
    EXPECT_EQ(o["summary"].toObject()["sizeBytes"], 8);
    EXPECT_EQ(o["counts"].toObject()["deleted"], 0);

    o = json({"clean", tree, "--yes", "--backup", "--format", "json"});
    EXPECT_EQ(o["dryRun"], false);
    EXPECT_EQ(strings(o["deleted"]), found);
    EXPECT_EQ(strings(o["notInBackup"]), QStringList());
    const QJsonObject counts = o["counts"].toObject();
    for (const auto& [name, value] :
         {std::pair{"deleted", 2}, std::pair{"couldNotDelete", 0}, std::pair{"keptAsIgnored", 0},
          std::pair{"alreadyGone", 0}, std::pair{"notInBackup", 0}})
        EXPECT_EQ(counts[name], value) << name;
    const QString archive = o["backup"].toString();
    EXPECT_TRUE(archive.startsWith(root + "/bak/FileBAK_")) << archive.toStdString();
    EXPECT_TRUE(QFile::exists(archive));
    EXPECT_FALSE(QFile::exists(tree + "/a.tmp"));
}

TEST_F(JsonOutputTest, IgnoreLists) {
    QJsonObject o = json({"ignore", "list", "--format", "json"});
    EXPECT_EQ(o["list"], "files");
    EXPECT_EQ(strings(o["entries"]), QStringList{"/x/ignored.tmp"});
    o = json({"ignore", "list", "--masks", "--format", "json"});
    EXPECT_EQ(o["list"], "masks");
    EXPECT_EQ(strings(o["entries"]), (QStringList{"r?port.*", "*.dmp"}));
}

TEST_F(JsonOutputTest, ArchiveCreateInfoRestoreAndList) {
    const QString archive = root + "/bak/k.backup";
    QJsonObject o = json(
        {"archive", "create", archive, tree + "/a.tmp", "--title", "Tytuł", "--format", "json"});
    EXPECT_EQ(strings(o["volumes"]), QStringList{archive});
    EXPECT_EQ(o["files"], 1);
    EXPECT_EQ(o["complete"], true);

    o = json({"archive", "info", archive, "--format", "json"});
    EXPECT_EQ(o["archive"], archive);
    EXPECT_EQ(o["title"], "Tytuł");
    EXPECT_EQ(o["files"], 1);
    // The stored data: the file's bytes and the information list's.
    EXPECT_GT(o["totalBytes"].toInteger(), 5);
    EXPECT_EQ(o["listCut"], false);
    const QJsonArray list = o["list"].toArray();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0]["path"], tree + "/a.tmp");
    EXPECT_EQ(list[0]["size"], 5);
    EXPECT_TRUE(QDateTime::fromString(list[0]["modified"].toString(), Qt::ISODate).isValid())
        << list[0]["modified"].toString().toStdString();

    o = json({"archive", "restore", archive, "--to", root + "/out", "--format", "json"});
    EXPECT_EQ(o["restored"], 1);
    EXPECT_EQ(o["available"], 1);
    EXPECT_TRUE(QFile::exists(root + "/out/a.tmp"));

    writeFile(root + "/log/Pylomir-log 1.plm", "x");
    o = json({"archive", "list", "--format", "json"});
    EXPECT_EQ(strings(o["archives"]), QStringList{archive});
    EXPECT_EQ(strings(o["logs"]), QStringList{root + "/log/Pylomir-log 1.plm"});
    EXPECT_EQ(strings(o["unlistedFolders"]), QStringList());
}

TEST_F(JsonOutputTest, UnknownFormatsAndNullWithJsonAreUsageErrors) {
    const QStringList cases[] = {
        {"clean", tree, "--dry-run", "--format", "csv"},
        {"clean", tree, "--dry-run", "--format", "json", "--null"},
        {"ignore", "list", "--format", "xml"},
        {"ignore", "list", "--format", "json", "--null"},
        {"archive", "list", "--format", "json", "--null"},
        {"archive", "info", "x.backup", "--format", "yaml"},
    };
    for (const QStringList& args : cases) {
        const CliResult r =
            pylomir::testing::CliProcess{root + "/home", root + "/settings.ini", root}(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

} // namespace

namespace {

// The manual page is made from --help: every command and option shows there.
TEST(CommandHelpTest, NamesEveryCommandAndItsNewOptions) {
    const struct {
        QStringList args;
        QStringList shown;
    } cases[] = {
        {{"--help"},
         {"scan FOLDER", "clean FOLDER", "ignore list", "archive list", "--format json"}},
        {{"scan", "--help"},
         {"--older-than <DAYS>", "--larger-than <BYTES>", "--smaller-than <BYTES>",
          "--format <FORMAT>"}},
        {{"clean", "--help"},
         {"--older-than <DAYS>", "--trash", "--format <FORMAT>", "\"couldNotDelete\"",
          "freedesktop.org"}},
        {{"ignore", "list", "--help"}, {"--format <FORMAT>", "\"entries\""}},
        {{"archive", "info", "--help"}, {"--format <FORMAT>", "\"totalBytes\""}},
        {{"archive", "create", "--help"}, {"--format <FORMAT>", "\"volumes\""}},
        {{"archive", "restore", "--help"}, {"--format <FORMAT>", "\"restored\""}},
        {{"archive", "list", "--help"}, {"--format <FORMAT>", "\"archives\""}},
    };
    const pylomir::testing::CliProcess cli{"/nonexistent", "/nonexistent/settings.ini"};
    for (const auto& c : cases) {
        const CliResult r = cli(c.args);
        EXPECT_EQ(r.code, 0) << c.args.join(' ').toStdString();
        for (const QString& text : c.shown)
            EXPECT_TRUE(r.out.contains(text))
                << c.args.join(' ').toStdString() << ": " << text.toStdString();
    }
}

} // namespace
