// pylomir-cli archive against inputs and targets that used to lose data or
// pass a failure off as success: every such case exits 1 and names the path.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "support/cli_process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Result = pylomir::testing::CliResult;

class ArchiveSafety : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        QDir().mkpath(root + "/home/Filtry");
        put("settings.ini", "");
        put("tree/a.txt", "a");
        put("tree/sub/b.txt", "b");
    }

    void put(const QString& relative, const QByteArray& data) const {
        pylomir::testing::writeFile(root + "/" + relative, data);
    }
    QByteArray read(const QString& relative) const {
        return pylomir::testing::readFile(root + "/" + relative);
    }

    Result cli(const QStringList& args) const {
        pylomir::testing::CliProcess run{root + "/home", root + "/settings.ini", root};
        run.timeoutMs = 30000; // a blocked read of a FIFO ends here
        return run(QStringList{"archive"} + args);
    }

    QTemporaryDir dir;
    QString root;
};

TEST_F(ArchiveSafety, RestoreThatCannotMakeItsFoldersFails) {
    ASSERT_EQ(cli({"create", "k.backup", root + "/tree/* /s"}).code, 0);
    put("file", "FILE");
    put("out/" + root.mid(1) + "/tree", "BLOCKS THE FOLDER");
    const struct {
        QStringList options;
        QString named;
    } cases[] = {
        {{"--to", root + "/file"}, root + "/file"},
        {{"--to", root + "/out", "--full-path"}, root + "/out" + root + "/tree"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const Result r = cli(QStringList{"restore", "k.backup"} + c.options);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains("sukcesem")) << r.out.toStdString();
    }
    EXPECT_EQ(read("file"), "FILE");
}

TEST_F(ArchiveSafety, CreateNeverOverwritesAnInput) {
    put("same.log", "precious");
    ASSERT_TRUE(QFile::link(root + "/same.log", root + "/link.backup"));
    for (const QString archive : {"same.log", "link.backup"}) {
        SCOPED_TRACE(archive.toStdString());
        const Result r = cli({"create", archive, "same.log"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(root + "/same.log")) << r.err.toStdString();
        EXPECT_EQ(read("same.log"), "precious");
    }
    EXPECT_TRUE(QFileInfo(root + "/link.backup").isSymLink());
}

TEST_F(ArchiveSafety, FifoInputIsReportedWithoutBlocking) {
    const QString fifo = root + "/tree/queue";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const Result r = cli({"create", "k.backup", fifo, root + "/tree/a.txt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(fifo)) << r.err.toStdString();
    EXPECT_EQ(r.out, root + "/k.backup\n"); // the rest was archived
}

} // namespace
