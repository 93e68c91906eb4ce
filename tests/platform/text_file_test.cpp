#include "platform/file_system.h"
#include "platform/text_file.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

TEST(TextEncoding, WritesWindows1250WithCrLfAfterEveryLineAndReadsItBack) {
    const QByteArray bom = "\xEF\xBB\xBF";
    const struct {
        QStringList lines;
        QByteArray expected;
    } cases[] = {
        {{}, {}},
        {{""}, "\r\n"},
        {{"a", "b"}, "a\r\nb\r\n"},
        // Polish letters take their code-page bytes.
        {{"ąćęłńóśźż"}, "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\r\n"},
        {{"ĄĆĘŁŃÓŚŹŻ"}, "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\r\n"},
        {{"C:\\Temp\\€ „x”"}, "C:\\Temp\\\x80 \x84x\x94\r\n"},
        // UTF-8 with a BOM rather than losing a character the code page lacks.
        {{"zażółć", "日本"}, bom + QStringLiteral("zażółć\r\n日本\r\n").toUtf8()},
        // Single bytes that would begin with the BOM ("ďť¿") must not read back as UTF-8.
        {{"ďť¿x"}, bom + QStringLiteral("ďť¿x\r\n").toUtf8()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join('|').toStdString());
        EXPECT_EQ(encodeLines(c.lines), c.expected);
        EXPECT_EQ(decodeLines(c.expected), c.lines);
    }
}

TEST(TextEncoding, ReadsEveryLineEndAndStopsAtNul) {
    const struct {
        QByteArray in;
        QStringList expected;
    } cases[] = {
        {{}, {}},
        {"a", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "", "b"}},             // LF CR is two line ends
        {QByteArray("ab\0cd\r\ne", 8), {"ab"}}, // NUL ends the text
        {"\xB9\xE6\r\n", {"ąć"}},
        {"\xEF\xBB\xBF\xC4\x85\r\n\xE6\x97\xA5", {"ą", "日"}},
        {"\xEF\xBB\xBF", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeLines(c.in), c.expected) << c.in.toHex(' ').toStdString();
}

// Archives store names through this encoding, so a name that is not UTF-8
// must come back as the same bytes.
TEST(TextEncoding, NamesThatAreNotUtf8KeepTheirBytes) {
    const QByteArray bom = "\xEF\xBB\xBF";
    const QString raw = QString::fromStdU16String(u"/d/b\xDCFF.tmp");
    const QString mixed = QString::fromStdU16String(u"/d\xDCFF/ł\xDCC5.tmp");
    EXPECT_EQ(encodeText(raw), bom + "/d/b\xFF.tmp");
    EXPECT_EQ(encodeText(mixed), bom + "/d\xFF/\xC5\x82\xC5.tmp");
    for (const QString& name : {raw, mixed}) {
        EXPECT_EQ(decodeText(encodeText(name)), name);
        EXPECT_EQ(decodeLines(encodeLines({name, "ą"})), (QStringList{name, "ą"}));
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

// The table stands in for Qt's code page where Qt has none; it must agree
// with it on every byte, both ways.
TEST(Cp1250Table, AgreesWithQtsCodePage) {
    QStringDecoder decoder("windows-1250");
    ASSERT_TRUE(decoder.isValid());
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, char(b));
        const QString expected = decoder.decode(byte);
        EXPECT_EQ(decodeCp1250ByTable(byte), expected) << b;
        QByteArray back;
        EXPECT_TRUE(encodeCp1250ByTable(expected, back)) << b;
        EXPECT_EQ(back, byte) << b;
    }
    QByteArray out;
    EXPECT_FALSE(encodeCp1250ByTable(u"żółw ж", out)); // Cyrillic has no byte there
}

TEST(ListFile, WritesReplacesAndReadsBackLeavingNoTemporaryFile) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath("ignoralplik.dat");
    QString reason;
    ASSERT_TRUE(writeListFile(realFileSystem(), file, {"stara"}, &reason)) << reason.toStdString();
    ASSERT_TRUE(writeListFile(realFileSystem(), file, {"żółw", "C:\\a.tmp"}, &reason))
        << reason.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xBF\xF3\xB3w\r\nC:\\a.tmp\r\n"));
    QStringList read = {"stare"};
    ASSERT_TRUE(readListFile(realFileSystem(), file, read, &reason));
    EXPECT_EQ(read, (QStringList{"żółw", "C:\\a.tmp"}));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"ignoralplik.dat"});
}

// Such a name could only come back as some other name, or as several.
TEST(ListFile, ANameTheFileCannotHoldIsLeftOutAndReported) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath("ignoralplik.dat");
    const QString raw = QString::fromStdU16String(u"/d/b\xDCFF.tmp");
    const QString other = QString::fromStdU16String(u"/d/\xDCE9t\xDCE9.log");
    const QString split = QStringLiteral("/d/x\n/d/ważny.txt");
    const QString carriage = QStringLiteral("/d/x\r.tmp");
    const QString nul = QStringLiteral("/d/x") + QChar(0) + QStringLiteral(".tmp");
    QStringList skipped = {"z poprzedniego razu"};
    ASSERT_TRUE(writeListFile(realFileSystem(), file,
                              {"/d/żółw", raw, split, "/d/日", other, carriage, nul}, nullptr,
                              &skipped));
    EXPECT_EQ(skipped, (QStringList{raw, split, other, carriage, nul}));
    QStringList read;
    ASSERT_TRUE(readListFile(realFileSystem(), file, read));
    EXPECT_EQ(read, (QStringList{"/d/żółw", "/d/日"}));
    ASSERT_TRUE(writeListFile(realFileSystem(), file, {"/d/a"}, nullptr, &skipped));
    EXPECT_EQ(skipped, QStringList());
    EXPECT_EQ(skippedLinesMessage("/f.dat", {raw, split}),
              QStringLiteral("Nie zapisano do pliku \"/f.dat\" nazw, których nie da się w nim "
                             "zapisać (zawierają bajty spoza UTF-8 albo znaki końca wiersza):\n") +
                  raw + QStringLiteral("\n/d/x\\n/d/ważny.txt"));
}

TEST(ListFile, FailuresKeepTheOldStateAndSayWhy) {
    QTemporaryDir tmp;
    // A folder in the way of the target, and a target in a missing folder.
    ASSERT_TRUE(QDir(tmp.path()).mkdir("zajete.dat"));
    QString reason;
    for (const QString& target : {tmp.filePath("zajete.dat"), tmp.filePath("brak/lista.dat")}) {
        reason.clear();
        EXPECT_FALSE(writeListFile(realFileSystem(), target, {"x"}, &reason))
            << target.toStdString();
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_TRUE(QFileInfo(tmp.filePath("zajete.dat")).isDir());
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});

    QStringList lines = {"bez zmian"};
    reason.clear();
    EXPECT_FALSE(readListFile(realFileSystem(), tmp.filePath("brak.dat"), lines, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(lines, QStringList{"bez zmian"});
    EXPECT_FALSE(readListFile(realFileSystem(), tmp.path(), lines, nullptr));

    // A disk that fills up half way keeps the old list whole.
    const QString list = tmp.filePath("lista.dat");
    ASSERT_TRUE(writeListFile(realFileSystem(), list, {"stara"}));
    pylomir::testing::FaultyFileSystem full;
    full.bytesBeforeDiskFull = 5;
    EXPECT_FALSE(writeListFile(full, list, {"nowa", "dłuższa"}, &reason));
    EXPECT_EQ(reason, "No space left on device");
    ASSERT_TRUE(readListFile(realFileSystem(), list, lines));
    EXPECT_EQ(lines, QStringList{"stara"});
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"lista.dat"});
}

// Each line costs memory of its own, so the count is capped before any
// line is made; the count follows the reading rules (NUL, mark, line ends).
TEST(ListFile, MoreLinesThanTheLimitAreRefusedWhole) {
    QTemporaryDir tmp;
    const QString file = tmp.filePath("filtr_user.dat");
    const struct {
        QByteArray bytes;
        bool accepted;
    } cases[] = {
        {"a\r\nb\r\nc\r\n", true},
        {"a\nb\nc", true},
        {"\r\r\r", true},
        {"\xEF\xBB\xBF"
         "a\nb\nc",
         true},
        {QByteArray("a\nb\nc\n\0d\ne\n", 12), true},
        {"a\r\nb\r\nc\r\nd", false},
        {"\n\n\n\n", false},
        {"\r\n\r\r\n\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex(' ').toStdString());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        QStringList lines = {"bez zmian"};
        QString reason;
        EXPECT_EQ(readListFile(realFileSystem(), file, lines, &reason, 3), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(lines, decodeLines(c.bytes));
        } else {
            EXPECT_EQ(lines, QStringList{"bez zmian"});
            EXPECT_EQ(reason, "The file has more than 3 lines");
        }
    }
}

} // namespace
