#include "platform/file_names.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <random>

using namespace pylomir::platform;

namespace {

TEST(FileNames, ValidUtf8DecodesAsTextAndEveryOtherByteAsItsOwnCodePoint) {
    const struct {
        QByteArray bytes;
        std::u16string text;
    } cases[] = {
        {"plik.tmp", u"plik.tmp"},
        {"za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", u"zażółć"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"b\xFF.tmp", u"b\xDCFF.tmp"},
        {"\x80\xBF", u"\xDC80\xDCBF"},                               // stray continuation bytes
        {"\xC3(", u"\xDCC3("},                                       // a sequence cut short
        {"\xE2\x82", u"\xDCE2\xDC82"},                               // cut short at the end
        {"\xC0\xAF\xE0\x80\xAF", u"\xDCC0\xDCAF\xDCE0\xDC80\xDCAF"}, // overlong forms
        {"\xED\xB3\xBF", u"\xDCED\xDCB3\xDCBF"},           // an encoded surrogate is no text
        {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"}, // past U+10FFFF
        {"\xF0\x90\x82\x80\xFF", u"\xD800\xDC80\xDCFF"},   // a pair, then a byte
        {"\xEF\xBF\xBD", u"\xFFFD"},                       // a real replacement character stays one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex(' ').toStdString());
        const QString text = QString::fromStdU16String(c.text);
        EXPECT_EQ(decodeFileName(c.bytes), text);
        EXPECT_EQ(encodeFileName(text), c.bytes);
        EXPECT_EQ(holdsRawBytes(text), QString::fromUtf8(c.bytes).toUtf8() != c.bytes);
    }
}

TEST(FileNames, EveryByteStringSurvivesTheRoundTrip) {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(encodeFileName(decodeFileName(all)), all);

    std::mt19937 random(9);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 12);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (int n = length(random); n > 0; --n)
            bytes.append(char(byte(random)));
        const QString text = decodeFileName(bytes);
        ASSERT_EQ(encodeFileName(text), bytes) << bytes.toHex(' ').toStdString();
        ASSERT_LE(text.size(), bytes.size());
    }
}

TEST(FileNames, SurrogatesThatNoNameDecodesToEncodeAsTheReplacementCharacter) {
    // A lone high surrogate, and a low one below the byte range.
    EXPECT_EQ(encodeFileName(u"a\xD800z"), QByteArray("a\xEF\xBF\xBDz"));
    EXPECT_EQ(encodeFileName(u"\xDC7F"), QByteArray("\xEF\xBF\xBD"));
    EXPECT_FALSE(holdsRawBytes(u"\xD800\xDC80")); // a pair, not a byte
}

TEST(FileNames, PathsCompareExactlyHere) {
    EXPECT_TRUE(samePath(u"/d/A.tmp", u"/d/A.tmp"));
    for (const char16_t* other : {u"/d/a.tmp", u"/D/A.tmp", u"/d/A.TMP", u"/d/A.tmp/"}) {
        EXPECT_FALSE(samePath(u"/d/A.tmp", other));
        EXPECT_NE(pathKey(u"/d/A.tmp"), pathKey(other));
    }
    EXPECT_EQ(pathHash(u"/d/ą"), pathHash(QStringLiteral("/d/ą")));
}

} // namespace
