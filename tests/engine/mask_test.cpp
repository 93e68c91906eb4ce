#include "engine/mask.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

using pylomir::engine::foldAZ;
using pylomir::engine::Mask;
using pylomir::engine::MaskError;
using pylomir::engine::MaskList;

namespace {

struct MatchCase {
    const char16_t* mask;
    const char16_t* name;
    bool expected;
};

TEST(MaskTest, MatchesWholeNamesByTheRule) {
    const MatchCase cases[] = {
        {u"*.tmp", u"A.TMP", true},
        {u"*.tmp", u"a.tmp.bak", false},
        {u"*.*", u"README", false}, // the dot is an ordinary character
        {u"*.*", u"a.b", true},
        {u"*?.log", u".log", true}, // '?' right after '*' is dropped
        {u"?.log", u".log", false},
        {u"?.log", u"a.log", true},
        {u"*??", u"", false}, // only the first '?' is dropped
        {u"*??", u"x", true},
        {u"", u"", true},
        {u"", u"a", false},
        {u"*", u"", true},
        {u"ą*", u"Ąb", false}, // only A to Z fold
        {u"ą*", u"ąb", true},
        {u"é.txt", u"É.TXT", false},
        {u"thumbs.db", u"Thumbs.DB", true},
        {u"~$*.*", u"~$x.docx", true},
        {u"~$*.*", u"~$docx", false},
        {u"file????.chk", u"FILE0001.CHK", true},
        {u"file????.chk", u"file001.chk", false},
        {u"[a-c]x", u"Bx", true},
        {u"[a-c]x", u"dx", false},
        {u"[!a-c]x", u"dx", true},
        {u"[!a-c]x", u"ax", false},
        {u"[abc-]", u"-", true},
        {u"a[*]b", u"a*b", true},
        {u"a[*]b", u"axb", false},
        {u"ab]", u"ab]", true},
        {u"a*b*c", u"aXbYc", true},
        {u"a*b*c", u"aXcYb", false},
        {u"*.ba?", u"x.bak", true},
        {u"*a*a", u"aaaa", true},
        {u"*.~*", u"x.~tm", true},
    };
    for (const auto& c : cases) {
        const QString mask = QString::fromUtf16(c.mask);
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(Mask(mask).matches(name), c.expected)
            << mask.toStdString() << " vs " << name.toStdString();
    }
}

TEST(MaskTest, InvalidMasksReportTheirPositionOnUse) {
    const std::pair<QString, int> cases[] = {
        {QStringLiteral("[abc"), 5},
        {QStringLiteral("a["), 3},
        {QStringLiteral("[!"), 3},
        {QStringLiteral("[]"), 2},
        {QStringLiteral("[!]"), 3},
        {QStringLiteral("[-a]"), 2},
        {QStringLiteral("[!-a]"), 3},
        {QStringLiteral("*") + QString(31, QLatin1Char('a')), 32},
        {QStringLiteral("ab*?") + QString(30, QLatin1Char('?')) + QStringLiteral("[x]"), 35},
    };
    for (const auto& [text, position] : cases) {
        const Mask mask(text);
        EXPECT_FALSE(mask.isValid()) << text.toStdString();
        EXPECT_EQ(mask.errorPosition(), position) << text.toStdString();
        try {
            mask.matches(text);
            ADD_FAILURE() << "no error for " << text.toStdString();
        } catch (const MaskError& e) {
            const QString expected =
                QStringLiteral("'%1' is an invalid mask at (%2)").arg(text).arg(position);
            EXPECT_EQ(e.message(), expected);
            EXPECT_EQ(QString::fromUtf8(e.what()), expected);
        }
    }
    // Elements before the first '*' do not count; thirty after it are allowed.
    EXPECT_TRUE(Mask(QString(40, QLatin1Char('a')) + QLatin1Char('*')).isValid());
    EXPECT_TRUE(Mask(QLatin1Char('*') + QString(30, QLatin1Char('a'))).isValid());
    // A placeholder-like mask text is quoted as it is.
    EXPECT_EQ(MaskError(QStringLiteral("%2["), 3).message(),
              QStringLiteral("'%2[' is an invalid mask at (3)"));
}

// An independent matcher for valid masks: plain recursion over the text.
bool referenceMatch(QStringView m, QStringView n) {
    if (m.isEmpty())
        return n.isEmpty();
    const char16_t c = m[0].unicode();
    if (c == u'*') {
        QStringView rest = m.sliced(1);
        if (!rest.isEmpty() && rest[0] == u'?')
            rest = rest.sliced(1);
        for (qsizetype k = 0; k <= n.size(); ++k) {
            if (referenceMatch(rest, n.sliced(k)))
                return true;
        }
        return false;
    }
    if (n.isEmpty())
        return false;
    const char16_t x = foldAZ(n[0].unicode());
    if (c == u'?')
        return referenceMatch(m.sliced(1), n.sliced(1));
    if (c == u'[') {
        qsizetype j = 1;
        const bool neg = m[j] == u'!';
        if (neg)
            ++j;
        bool in = false;
        while (m[j] != u']') {
            const char16_t lo = foldAZ(m[j].unicode());
            char16_t hi = lo;
            if (m[j + 1] == u'-' && m[j + 2] != u']') {
                hi = foldAZ(m[j + 2].unicode());
                j += 2;
            }
            in = in || (x >= lo && x <= hi);
            ++j;
        }
        return in != neg && referenceMatch(m.sliced(j + 1), n.sliced(1));
    }
    return foldAZ(c) == x && referenceMatch(m.sliced(1), n.sliced(1));
}

QString randomText(std::mt19937& rng, QStringView alphabet, int maxLen) {
    QString s;
    const int len = std::uniform_int_distribution<int>(0, maxLen)(rng);
    for (int i = 0; i < len; ++i)
        s += alphabet[std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 1)(rng)];
    return s;
}

// The result, or the error message, of trying masks one by one.
std::pair<std::optional<bool>, QString> oneByOne(const QStringList& masks, const QString& name) {
    try {
        for (const QString& m : masks) {
            if (Mask(m).matches(name))
                return {true, {}};
        }
        return {false, {}};
    } catch (const MaskError& e) {
        return {std::nullopt, e.message()};
    }
}

TEST(MaskTest, CompiledMasksAgreeWithPlainRecursion) {
    std::mt19937 rng(12345);
    const QString maskChars = QStringLiteral("aB.*?*[]!-cą");
    const QString nameChars = QStringLiteral("aAbBc.-!ąĄ");
    int checked = 0;
    for (int i = 0; i < 20000; ++i) {
        const Mask mask(randomText(rng, maskChars, 7));
        if (!mask.isValid())
            continue;
        const QString name = randomText(rng, nameChars, 6);
        ASSERT_EQ(mask.matches(name), referenceMatch(mask.text(), name))
            << mask.text().toStdString() << " vs " << name.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 5000);
}

TEST(MaskTest, ListGivesTheFirstDecisionInListOrder) {
    std::mt19937 rng(777);
    const QString maskChars = QStringLiteral("ab.*?[]!-ą");
    const QString nameChars = QStringLiteral("aAbB.-ą");
    int errors = 0;
    for (int i = 0; i < 5000; ++i) {
        QStringList masks;
        const int count = std::uniform_int_distribution<int>(0, 10)(rng);
        for (int k = 0; k < count; ++k)
            masks << randomText(rng, maskChars, 5);
        const MaskList list(masks);
        for (int k = 0; k < 10; ++k) {
            const QString name = randomText(rng, nameChars, 5);
            const auto [expected, error] = oneByOne(masks, name);
            try {
                const bool got = list.matchesAny(name);
                ASSERT_TRUE(expected.has_value())
                    << "missing error " << error.toStdString() << " for "
                    << masks.join(u' ').toStdString() << " / " << name.toStdString();
                ASSERT_EQ(got, *expected)
                    << masks.join(u' ').toStdString() << " / " << name.toStdString();
            } catch (const MaskError& e) {
                ASSERT_FALSE(expected.has_value()) << "unexpected " << e.message().toStdString();
                ASSERT_EQ(e.message(), error);
                ++errors;
            }
        }
    }
    EXPECT_GT(errors, 100); // the error ordering was exercised
}

} // namespace
