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

// The header's total keeps 32 bits; the list's sizes give the whole total
// when they add up to it, read whole or block by block.
TEST(ArchiveFormat, ListSizesGiveTheTotalBeyond32Bits) {
    const qint64 max = kMaxMemberSize, gib = qint64(1) << 30;
    const struct {
        QByteArray text;
        qint64 sizes;
        bool listed; // the sum is taken; otherwise the header's total
    } cases[] = {
        {"/a\t1=10\r\n/b\t1=20\r\n", 30, true},
        {"/a\t1=" + QByteArray::number(max) + "\r\n/b\t1=" + QByteArray::number(max) +
             "\r\n/c\t1=102\r\n",
         (qint64(1) << 32) + 100, true},
        {QByteArray("/g\t-5=1073741824\r\n").repeated(5), 5 * gib, true},
        {"/x=y\tz\t-5=7", 7, true}, // "=" and TAB in the path, no last line end
        {"/a\t1=5\r/b\t1=6\n\n", 11, true},
        {"/a\t1=4294967396\r\n", (qint64(1) << 32) + 100, false}, // no member is that large
        {"/a\t1=" + QByteArray::number(max) + "\r\nnoise\r\n/b\t1=" + QByteArray::number(max) +
             "\r\n/c\t1=102\r\n",
         (qint64(1) << 32) + 100, false},
        {"/a\t1=\r\n/b\t1=4294967296\r\n", qint64(1) << 32, false},
        {"/a\t1=5x\r\n/b\t1=4294967296\r\n", (qint64(1) << 32) + 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(40).toStdString());
        const qint64 listed = c.sizes + c.text.size();
        const auto header = qint32(quint32(quint64(listed)));
        const qint64 expected = c.listed ? listed : qint64(quint32(header));
        EXPECT_EQ(totalFromList(c.text, header), expected);
        ListSizes bytewise;
        for (const char byte : c.text)
            bytewise.add(QByteArrayView(&byte, 1));
        EXPECT_EQ(bytewise.total(header), expected);
    }
    // A header that disagrees is taken as it is, unsigned.
    EXPECT_EQ(totalFromList("/a\t1=5\r\n", 13), 13);
    EXPECT_EQ(totalFromList("/a\t1=5\r\n", qint32(0x80000000)), qint64(1) << 31);
}

TEST(ArchiveFormat, VolumeNamesReplaceTheExtensionByThreeDigits) {
    EXPECT_EQ(volumeDigits(10), QStringLiteral("010"));
    EXPECT_EQ(volumeName(QStringLiteral("/b/x.002"), "003"), QStringLiteral("/b/x.003"));
    // A dot in a folder name is not an extension.
    EXPECT_EQ(volumeName(QStringLiteral("/b.d/x"), "002"), QStringLiteral("/b.d/x.002"));
}

} // namespace
} // namespace pylomir::backup
