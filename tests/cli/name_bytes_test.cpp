// A path that is not UTF-8, given on the command line, reaches the very file
// and comes back on standard output as the same bytes.
#include "support/temp_dir.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs the command line through the shell, which builds the raw arguments:
// "$R" in script stands for the working folder.
QByteArray run(const QString& root, const QString& script, int& code) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYLOMIR_HOME", root + "/home");
    env.insert("PYLOMIR_SETTINGS", root + "/settings.ini");
    env.insert("R", root);
    env.insert("CLI", PYLOMIR_CLI);
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    p.start("/bin/sh", {"-c", script});
    EXPECT_TRUE(p.waitForFinished(60000));
    code = p.exitCode();
    return p.readAllStandardOutput();
}

TEST(CliNameBytes, ArgumentsAndPrintedPathsKeepTheirBytes) {
    pylomir::testing::TempDir dir;
    const QString root = dir.path();
    const QByteArray raw = QFile::encodeName(root);
    ASSERT_EQ(::mkdir(raw + "/home", 0755), 0);
    ASSERT_EQ(::mkdir(raw + "/home/Filtry", 0755), 0);
    QFile filters(root + "/home/Filtry/filtr_a1.dat");
    ASSERT_TRUE(filters.open(QIODevice::WriteOnly));
    filters.write("*.tmp\r\n");
    filters.close();
    ASSERT_EQ(::mkdir(raw + "/r\xFF", 0755), 0);
    for (const QByteArray name : {"/r\xFF/b\xFE.tmp", "/r\xFF/b\xFD.tmp"}) {
        const int fd = ::open(raw + name, O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, name.constData(), size_t(name.size())), name.size());
        ::close(fd);
    }

    int code = -1;
    const QByteArray found = run(root, R"sh("$CLI" scan "$R/r$(printf '\377')")sh", code);
    EXPECT_EQ(code, 3);
    QList<QByteArray> lines = found.split('\n');
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (QList<QByteArray>{"", raw + "/r\xFF/b\xFD.tmp", raw + "/r\xFF/b\xFE.tmp"}));

    // JSON can't carry the raw byte; it carries the byte's reserved code point.
    const QByteArray json =
        run(root, R"sh("$CLI" scan "$R/r$(printf '\377')" --format json)sh", code);
    EXPECT_EQ(code, 3);
    EXPECT_TRUE(json.contains(R"(/r\udcff/b\udcfe.tmp")")) << json.constData();

    run(root,
        R"sh("$CLI" archive create "$R/k.backup" "$R/r$(printf '\377')/b$(printf '\376').tmp" &&)sh"
        R"sh( "$CLI" archive restore "$R/k.backup" --to "$R/o$(printf '\375')")sh",
        code);
    EXPECT_EQ(code, 0);
    struct stat st;
    ASSERT_EQ(::lstat(raw + "/o\xFD/b\xFE.tmp", &st), 0);
    EXPECT_EQ(st.st_size, QByteArray("/r\xFF/b\xFE.tmp").size());
}

} // namespace
