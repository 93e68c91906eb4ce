// "scan" and "clean" with --older-than, --larger-than and --smaller-than over
// real files with set modification times and sizes.
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using pylomir::testing::CliResult;
using pylomir::testing::writeFile;

class EntryBoundsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        QDir().mkpath(tree);
        writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        // Without the option that keeps large files out of the found list.
        writeFile(root + "/settings.ini",
                  "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\nIgnorowanie=0\n"
                  "[Skanowan]\nLiczba=0\nLOGKatalog=" +
                      root.toUtf8() + "/\n");
    }

    // A file last modified at noon, days calendar days ago.
    void addDated(const QString& name, int days) const {
        writeFile(tree + '/' + name, "x");
        QFile f(tree + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate::currentDate().addDays(-days), QTime(12, 0)),
                                  QFileDevice::FileModificationTime));
    }
    void addSized(const QString& name, qint64 size) const {
        writeFile(tree + '/' + name, QByteArray(int(size), 'x'));
    }

    CliResult run(const QStringList& args) const {
        return pylomir::testing::CliProcess{root + "/home", root + "/settings.ini"}(args);
    }
    // The names the scan found, in order.
    QStringList found(const QStringList& options) const {
        const CliResult r = run(QStringList{"scan", tree} + options);
        EXPECT_TRUE(r.code == 0 || r.code == 3) << r.err.toStdString();
        QStringList names;
        for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts))
            names << line.mid(tree.size() + 1);
        names.sort();
        return names;
    }

    QTemporaryDir dir;
    QString root, tree;
};

TEST_F(EntryBoundsTest, OlderThanCountsWholeCalendarDays) {
    for (const int days : {0, 1, 6, 7, 8, 30})
        addDated(QStringLiteral("d%1.tmp").arg(days, 2, 10, QLatin1Char('0')), days);
    const struct {
        const char* days;
        QStringList found;
    } cases[] = {
        {"0", {"d01.tmp", "d06.tmp", "d07.tmp", "d08.tmp", "d30.tmp"}},
        {"7", {"d08.tmp", "d30.tmp"}},
        {"8", {"d30.tmp"}},
        {"29", {"d30.tmp"}},
        {"30", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found({"--older-than", c.days}), c.found) << c.days;
}

TEST_F(EntryBoundsTest, SizeBoundsAreExclusive) {
    addSized("s0999.tmp", 999);
    addSized("s1000.tmp", 1000);
    addSized("s1001.tmp", 1001);
    const struct {
        const char* option;
        const char* bytes;
        QStringList found;
    } cases[] = {
        {"--larger-than", "1000", {"s1001.tmp"}},
        {"--larger-than", "999", {"s1000.tmp", "s1001.tmp"}},
        {"--larger-than", "0", {"s0999.tmp", "s1000.tmp", "s1001.tmp"}},
        {"--smaller-than", "1000", {"s0999.tmp"}},
        {"--smaller-than", "1001", {"s0999.tmp", "s1000.tmp"}},
        {"--smaller-than", "0", {}},
        {"--smaller-than", "2147483648", {"s0999.tmp", "s1000.tmp", "s1001.tmp"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found({c.option, c.bytes}), c.found) << c.option << ' ' << c.bytes;
}

TEST_F(EntryBoundsTest, FilesOfFourGibibytesAndMoreAreMeasuredWhole) {
    // Sparse: the sizes cost no disk. Their low 32 bits are small or negative.
    for (const auto& [name, size] :
         {std::pair{"big5g.tmp", 5000000000LL}, std::pair{"big4g.tmp", (1LL << 32) + 10},
          std::pair{"big3g.tmp", 3LL << 30}}) {
        QFile f(tree + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        if (!f.resize(size))
            GTEST_SKIP() << "no sparse files here";
    }
    addSized("small.tmp", 10);
    EXPECT_EQ(found({"--smaller-than", "1000"}), QStringList{"small.tmp"});
    EXPECT_EQ(found({"--larger-than", "1000"}),
              (QStringList{"big3g.tmp", "big4g.tmp", "big5g.tmp"}));
    EXPECT_EQ(found({"--larger-than", "2147483646"}),
              (QStringList{"big3g.tmp", "big4g.tmp", "big5g.tmp"}));
}

TEST_F(EntryBoundsTest, ValuesOutsideTheEnginesRangeAreUsageErrors) {
    addSized("a.tmp", 10);
    const QStringList cases[] = {
        {"--older-than", "-1"},
        {"--older-than", "abc"},
        {"--older-than", "1.5"},
        {"--older-than", "1000001"},
        {"--larger-than", ""},
        {"--larger-than", "+5"},
        {"--larger-than", "2147483647"},
        {"--smaller-than", "2147483649"},
        {"--smaller-than", "99999999999999999999"},
        {"--larger-than", "1", "--smaller-than", "100"},
    };
    for (const QString& command : {QStringLiteral("scan"), QStringLiteral("clean")}) {
        for (const QStringList& c : cases) {
            const CliResult r =
                run(QStringList{command, tree, "--dry-run"}.mid(0, command == "scan" ? 2 : 3) + c);
            EXPECT_EQ(r.code, 2) << command.toStdString() << ' ' << c.join(' ').toStdString();
            EXPECT_TRUE(r.out.isEmpty());
            EXPECT_TRUE(r.err.startsWith("pylomir-cli " + command + ": ")) << r.err.toStdString();
        }
    }
    EXPECT_TRUE(QFile::exists(tree + "/a.tmp"));
}

TEST_F(EntryBoundsTest, CleanDeletesOnlyWhatTheBoundsLetThrough) {
    addDated("old.tmp", 10);
    addDated("new.tmp", 0);
    const CliResult r = run({"clean", tree, "--older-than", "5", "--yes"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, tree + "/old.tmp\n");
    EXPECT_FALSE(QFile::exists(tree + "/old.tmp"));
    EXPECT_TRUE(QFile::exists(tree + "/new.tmp"));
}

} // namespace
