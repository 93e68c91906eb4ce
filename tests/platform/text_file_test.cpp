#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

QByteArray bytes(const char* s, qsizetype n = -1) {
    return n < 0 ? QByteArray(s) : QByteArray(s, n);
}

TEST(TextEncoding, WritesWindows1250WithCrLfAfterEveryLine) {
    struct Case {
        QStringList lines;
        QByteArray expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{QString()}, "\r\n"},
        {{QStringLiteral("a"), QStringLiteral("b")}, "a\r\nb\r\n"},
        // Polish letters take their code-page bytes.
        {{QStringLiteral("ąćęłńóśźż")}, bytes("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\r\n")},
        {{QStringLiteral("ĄĆĘŁŃÓŚŹŻ")}, bytes("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\r\n")},
        {{QStringLiteral("C:\\Temp\\€ „x”")}, bytes("C:\\Temp\\\x80 \x84x\x94\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(encodeLines(c.lines), c.expected);
    }
}

TEST(TextEncoding, FallsBackToUtf8WithBomInsteadOfLosingCharacters) {
    const QStringList lines = {QStringLiteral("zażółć"), QStringLiteral("/home/u/日本/x.tmp")};
    const QByteArray out = encodeLines(lines);
    EXPECT_EQ(out, bytes("\xEF\xBB\xBF") + lines.join(QLatin1String("\r\n")).toUtf8() + "\r\n");
    EXPECT_EQ(decodeLines(out), lines);

    // A single-byte text that would begin with the BOM's bytes ("ďť¿")
    // must not read back as UTF-8.
    const QStringList bomLike = {QStringLiteral("ďť¿x")};
    EXPECT_EQ(decodeLines(encodeLines(bomLike)), bomLike);
}

TEST(TextEncoding, ReadsEveryLineEndAndStopsAtNul) {
    struct Case {
        QByteArray in;
        QStringList expected;
    };
    const Case cases[] = {
        {{}, {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\n\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},        // LF CR is two line ends
        {bytes("ab\0cd\r\ne", 8), {"ab"}}, // NUL ends the text
        {bytes("\0abc", 4), {}},
        {bytes("\xB9\xE6\r\n"), {QStringLiteral("ąć")}},
        {bytes("\xEF\xBB\xBF\xC4\x85\r\n\xE6\x97\xA5"),
         {QStringLiteral("ą"), QStringLiteral("日")}},
        {bytes("\xEF\xBB\xBF"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in.toHex(' ').toStdString());
        EXPECT_EQ(decodeLines(c.in), c.expected);
    }
}

TEST(TextEncoding, EveryCodePageByteRoundTrips) {
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b)
        all.append(char(b));
    const QStringList lines = decodeLines(all);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(encodeLines(lines), all + "\r\n");
}

class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }
    QString path(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }
    QByteArray contents(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir tmp_;
};

TEST_F(ListFileTest, WritesReplacesAndReadsBack) {
    const QString file = path(QStringLiteral("ignoralplik.dat"));
    const QStringList first = {QStringLiteral("C:\\a.tmp"), QStringLiteral("żółw.log")};
    const QStringList second = {QStringLiteral("jeden")};
    QString reason;
    ASSERT_TRUE(writeListFile(file, first, &reason)) << reason.toStdString();
    ASSERT_TRUE(writeListFile(file, second, &reason)) << reason.toStdString();
    EXPECT_EQ(contents(QStringLiteral("ignoralplik.dat")), QByteArray("jeden\r\n"));

    QStringList read = {QStringLiteral("stare")};
    ASSERT_TRUE(readListFile(file, read, &reason));
    EXPECT_EQ(read, second);
    // No temporary file is left beside the list.
    EXPECT_EQ(QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ignoralplik.dat")});
}

TEST_F(ListFileTest, FailedWriteKeepsTheOldStateAndSaysWhy) {
    // A folder in the way of the target, and a target in a missing folder.
    ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("zajete.dat")));
    QString reason;
    EXPECT_FALSE(writeListFile(path(QStringLiteral("zajete.dat")), {QStringLiteral("x")}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("zajete.dat"))).isDir());

    reason.clear();
    EXPECT_FALSE(
        writeListFile(path(QStringLiteral("brak/lista.dat")), {QStringLiteral("x")}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(ListFileTest, ReadFailsForMissingFilesAndFolders) {
    QStringList lines = {QStringLiteral("bez zmian")};
    QString reason;
    EXPECT_FALSE(readListFile(path(QStringLiteral("brak.dat")), lines, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(lines, QStringList{QStringLiteral("bez zmian")});
    EXPECT_FALSE(readListFile(tmp_.path(), lines, nullptr));
}

} // namespace
