#include "backup/archive_format.h"

#include <gtest/gtest.h>

namespace pylomir::backup {
namespace {

TEST(ArchiveFormat, DosDateTimePacksFieldsRoundsSecondsDownAndClamps) {
    const QDate day(2026, 12, 5);
    const std::pair<QDateTime, quint32> cases[] = {
        {QDateTime(QDate(1980, 1, 1), QTime(0, 0, 0)), 0x00210000},
        {QDateTime(day, QTime(14, 5, 33)), 0x5D8570B0},
        {QDateTime(day, QTime(14, 5, 32)), 0x5D8570B0},
        {QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59)), 0xFF9FBF7D},
        {QDateTime(QDate(1970, 6, 1), QTime(12, 0, 0)), 0x00210000}, // clamped, not wrapped
        {QDateTime(QDate(2200, 1, 1), QTime(0, 0, 0)), 0xFF9FBF7D},
        {QDateTime(), 0x00210000}, // no time at all: the earliest
    };
    for (const auto& [time, dos] : cases)
        EXPECT_EQ(quint32(toDosDateTime(time)), dos) << time.toString().toStdString();
    EXPECT_EQ(fromDosDateTime(qint32(0x5D8570B0)), QDateTime(day, QTime(14, 5, 32)));
    EXPECT_FALSE(fromDosDateTime(0).isValid());                  // month 0
    EXPECT_FALSE(fromDosDateTime(qint32(0x0021001E)).isValid()); // second 60
}

TEST(ArchiveFormat, TextsAreWindows1250WithUtf8Escape) {
    EXPECT_EQ(encodeText(QStringLiteral("zażółć")), QByteArray("za\xBF\xF3\xB3\xE6"));
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("/home/ala/zażółć gęślą.txt"), false},
        {QStringLiteral("/tmp/日本.bin"), true},
        {QStringLiteral("ď»żname"), true}, // would read back as the escape
        {QString(), false},
    };
    for (const auto& [text, utf8] : cases) {
        const QByteArray bytes = encodeText(text);
        EXPECT_EQ(bytes.startsWith("\xEF\xBB\xBF"), utf8) << text.toStdString();
        EXPECT_EQ(decodeText(bytes), text) << text.toStdString();
    }
    EXPECT_EQ(encodeList({QStringLiteral("a\t1=2"), QStringLiteral("b")}),
              QByteArray("a\t1=2\r\nb\r\n"));
    EXPECT_EQ(decodeList("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
}

TEST(ArchiveFormat, VolumeNamesReplaceTheExtensionByThreeDigits) {
    EXPECT_EQ(volumeDigits(10), QStringLiteral("010"));
    EXPECT_EQ(volumeName(QStringLiteral("/b/x.002"), "003"), QStringLiteral("/b/x.003"));
    // A dot in a folder name is not an extension.
    EXPECT_EQ(volumeName(QStringLiteral("/b.d/x"), "002"), QStringLiteral("/b.d/x.002"));
}

} // namespace
} // namespace pylomir::backup
