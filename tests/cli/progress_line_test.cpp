// The progress line: drawn only once the work has lasted a second, only
// where it is enabled, erased to leave nothing behind; and none at all on a
// piped standard error.
#include "cli/progress_line.h"
#include "support/cli_process.h"

#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using pylomir::cli::ProgressPump;
using pylomir::testing::writeFile;

QByteArray contents(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    QByteArray out;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, f))
        out.append(buffer, qsizetype(n));
    return out;
}

// Calls the hook as a scan does, for about ms milliseconds.
void work(ProgressPump& pump, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        for (int i = 0; i < 1000; ++i)
            pump.processPendingMessages();
        QThread::msleep(5);
    }
}

TEST(ProgressLineTest, DrawnAfterASecondAndErased) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ProgressPump pump(true, f);
    int asked = 0;
    pump.setText([&asked] { return QStringLiteral("scanning: %1 found").arg(++asked); });
    work(pump, 400);
    EXPECT_TRUE(contents(f).isEmpty()) << "drawn within the first second";
    work(pump, 1100);
    pump.finish();
    const QByteArray out = contents(f);
    EXPECT_TRUE(out.startsWith("\rscanning: 1 found")) << out.constData();
    // Redrawn through the throttle: a few times, not once per call.
    EXPECT_GE(asked, 2);
    EXPECT_LE(asked, 10);
    // The last write blanks the line and returns to its start.
    const qsizetype last = out.lastIndexOf('\r', out.size() - 2);
    EXPECT_TRUE(out.endsWith('\r'));
    EXPECT_EQ(out.mid(last + 1, out.size() - last - 2).trimmed(), QByteArray());
    EXPECT_FALSE(out.contains('\n'));
    std::fclose(f);
}

TEST(ProgressLineTest, ControlCharactersAndLongTextsStayOnOneLine) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    {
        pylomir::cli::ProgressLine line(true, f);
        line.show(QStringLiteral("a\nb\tc") + QString(200, 'x'));
        const QByteArray out = contents(f);
        EXPECT_TRUE(out.startsWith("\ra?b?c")) << out.constData();
        EXPECT_EQ(out.size(), 1 + 78);
    }
    std::fclose(f);
}

TEST(ProgressLineTest, AMessageErasesTheLineFirst) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    {
        pylomir::cli::ProgressLine line(true, f);
        line.show(QStringLiteral("abc"));
        pylomir::cli::eraseProgress();
        EXPECT_EQ(contents(f), QByteArray("\rabc\r   \r"));
        // Erased once; the next show draws again.
        pylomir::cli::eraseProgress();
        line.show(QStringLiteral("de"));
        EXPECT_EQ(contents(f), QByteArray("\rabc\r   \r\rde"));
    }
    std::fclose(f);
}

TEST(ProgressLineTest, PipedStandardErrorGetsNoProgress) {
    QTemporaryDir dir;
    const QString root = dir.path();
    writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
    writeFile(root + "/settings.ini", "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\n");
    for (int i = 0; i < 200; ++i)
        writeFile(root + QStringLiteral("/tree/d%1/f.tmp").arg(i), "x");
    const pylomir::testing::CliProcess cli{root + "/home", root + "/settings.ini"};
    for (const QStringList& args :
         {QStringList{"scan", root + "/tree"}, QStringList{"clean", root + "/tree", "--dry-run"}}) {
        const auto r = cli(args);
        EXPECT_FALSE(r.err.contains('\r')) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Znalazłem: 200 ")) << r.err.toStdString();
    }
}

} // namespace
