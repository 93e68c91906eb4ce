#include "backup/archive_format.h"

#include <gtest/gtest.h>

namespace pylomir::backup {
namespace {

TEST(DosDateTime, PacksFieldsAndRoundsSecondsDown) {
    struct Case {
        QDateTime time;
        quint32 dos;
    } cases[] = {
        {QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0)), 0x00210000},
        {QDateTime(QDate(2026, 12, 5), QTime(14, 5, 33)), 0x5D8570B0},
        {QDateTime(QDate(2026, 12, 5), QTime(14, 5, 32)), 0x5D8570B0},
        {QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59)), 0xFF9FBF7D},
        // Out of range: clamped, never wrapped into a wrong date.
        {QDateTime(QDate(1970, 6, 1), QTime(12, 0, 0)), 0x00210000},
        {QDateTime(QDate(2200, 1, 1), QTime(0, 0, 0)), 0xFF9FBF7D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quint32(toDosDateTime(c.time)), c.dos) << c.time.toString().toStdString();
    }
    EXPECT_EQ(fromDosDateTime(qint32(0x5D8570B0)), QDateTime(QDate(2026, 12, 5), QTime(14, 5, 32)));
    // Month 0 or second 60 do not make a time.
    EXPECT_FALSE(fromDosDateTime(0).isValid());
    EXPECT_FALSE(fromDosDateTime(qint32(0x0021001E)).isValid());
}

TEST(TextCodec, Windows1250WithUtf8Escape) {
    // Polish letters are single Windows-1250 bytes.
    EXPECT_EQ(encodeText(QStringLiteral("zażółć")), QByteArray("za\xBF\xF3\xB3\xE6"));
    struct Case {
        QString text;
        bool utf8;
    } cases[] = {
        {QStringLiteral("/home/ala/zażółć gęślą.txt"), false},
        {QStringLiteral("/tmp/日本.bin"), true},
        {QStringLiteral("ď»żname"), true}, // would read back as the escape
        {QString(), false},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = encodeText(c.text);
        EXPECT_EQ(bytes.startsWith("\xEF\xBB\xBF"), c.utf8) << c.text.toStdString();
        EXPECT_EQ(decodeText(bytes), c.text) << c.text.toStdString();
    }
}

TEST(TextCodec, ListLinesSplitAtAnyLineEnd) {
    EXPECT_EQ(encodeList({QStringLiteral("a\t1=2"), QStringLiteral("b")}),
              QByteArray("a\t1=2\r\nb\r\n"));
    EXPECT_EQ(decodeList("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_TRUE(decodeList(QByteArray()).isEmpty());
}

TEST(VolumeNames, ExtensionReplacedByThreeDigits) {
    EXPECT_EQ(volumeDigits(2), QStringLiteral("002"));
    EXPECT_EQ(volumeDigits(10), QStringLiteral("010"));
    EXPECT_EQ(volumeDigits(999), QStringLiteral("999"));
    EXPECT_EQ(volumeName(QStringLiteral("/b/FileBAK_1.backup"), "002"),
              QStringLiteral("/b/FileBAK_1.002"));
    EXPECT_EQ(volumeName(QStringLiteral("/b/x.002"), "003"), QStringLiteral("/b/x.003"));
    // A dot in a folder name is not an extension.
    EXPECT_EQ(volumeName(QStringLiteral("/b.d/x"), "002"), QStringLiteral("/b.d/x.002"));
}

} // namespace
} // namespace pylomir::backup
