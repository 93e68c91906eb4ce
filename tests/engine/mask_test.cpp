#include "engine/mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <ranges>

using pylomir::engine::foldAZ;
using pylomir::engine::Mask;
using pylomir::engine::MaskError;
using pylomir::engine::MaskList;

namespace {

TEST(MaskTest, MatchesWholeNamesByTheRule) {
    // The dot is an ordinary character, a '?' right after a '*' is dropped (only the
    // first one) and only the letters A to Z fold.
    const struct {
        const char16_t *mask, *name;
        bool expected;
    } cases[] = {
        {u"*.tmp", u"A.TMP", true},  {u"*.tmp", u"a.tmp.bak", false},
        {u"*.*", u"README", false},  {u"*?.log", u".log", true},
        {u"?.log", u".log", false},  {u"*??", u"", false},
        {u"*??", u"x", true},        {u"", u"", true},
        {u"", u"a", false},          {u"*", u"", true},
        {u"ą*", u"Ąb", false},       {u"ą*", u"ąb", true},
        {u"[a-c]x", u"Bx", true},    {u"[a-c]x", u"dx", false},
        {u"[!a-c]x", u"ax", false},  {u"[abc-]", u"-", true},
        {u"a[*]b", u"a*b", true},    {u"a[*]b", u"axb", false},
        {u"ab]", u"ab]", true},      {u"a*b*c", u"aXbYc", true},
        {u"a*b*c", u"aXcYb", false},
    };
    for (const auto& c : cases) {
        const QString mask = QString::fromUtf16(c.mask), name = QString::fromUtf16(c.name);
        EXPECT_EQ(Mask(mask).matches(name), c.expected)
            << mask.toStdString() << " vs " << name.toStdString();
    }
}

// "match", "no match" or the error message.
QString decision(const std::function<bool()>& matches) {
    try {
        return matches() ? "match" : "no match";
    } catch (const MaskError& e) {
        return e.message();
    }
}

TEST(MaskTest, InvalidMasksReportTheirPositionOnUse) {
    // More than thirty elements after the first '*'.
    const QString star31 = "*" + QString(31, u'a'), star32 = "ab*?" + QString(30, u'?') + "[x]";
    const std::pair<QString, int> cases[] = {
        {"[abc", 5}, {"a[", 3},    {"[!", 3},    {"[]", 2},    {"[!]", 3},
        {"[-a]", 2}, {"[!-a]", 3}, {star31, 32}, {star32, 35},
    };
    for (const auto& [text, position] : cases) {
        const Mask mask(text);
        EXPECT_EQ(mask.errorPosition(), position) << text.toStdString();
        EXPECT_EQ(decision([&] { return mask.matches(u"x"); }),
                  QStringLiteral("'%1' is an invalid mask at (%2)").arg(text).arg(position));
    }
    // Elements before the first '*' do not count; thirty after it are allowed.
    EXPECT_TRUE(Mask(QString(40, u'a') + "*").isValid());
    EXPECT_TRUE(Mask("*" + QString(30, u'a')).isValid());
    // A placeholder-like mask text is quoted as it is, in what() too.
    EXPECT_STREQ(MaskError("%2[", 3).what(), "'%2[' is an invalid mask at (3)");
}

// An independent matcher for valid masks: plain recursion over the text.
bool referenceMatch(QStringView m, QStringView n) {
    if (m.isEmpty())
        return n.isEmpty();
    const char16_t c = m[0].unicode();
    if (c == u'*') {
        const QStringView rest = m.sliced(m.size() > 1 && m[1] == u'?' ? 2 : 1);
        for (qsizetype k = 0; k <= n.size(); ++k) {
            if (referenceMatch(rest, n.sliced(k)))
                return true;
        }
        return false;
    }
    if (n.isEmpty())
        return false;
    const char16_t x = foldAZ(n[0].unicode());
    qsizetype j = 1;
    bool ok = c == u'?' || foldAZ(c) == x;
    if (c == u'[') {
        const bool neg = m[j] == u'!';
        j += neg;
        bool in = false;
        for (; m[j] != u']'; ++j) {
            const char16_t lo = foldAZ(m[j].unicode());
            const bool range = m[j + 1] == u'-' && m[j + 2] != u']';
            const char16_t hi = range ? foldAZ(m[j += 2].unicode()) : lo;
            in = in || (x >= lo && x <= hi);
        }
        ok = in != neg;
        ++j;
    }
    return ok && referenceMatch(m.sliced(j), n.sliced(1));
}

QString randomText(std::mt19937& rng, QStringView alphabet, int maxLen) {
    QString s;
    for (int i = std::uniform_int_distribution<int>(0, maxLen)(rng); i > 0; --i)
        s += alphabet[std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 1)(rng)];
    return s;
}

// Each mask agrees with the reference; the list gives the first decision in list order.
TEST(MaskTest, CompiledMasksAndListsAgreeWithPlainRecursion) {
    std::mt19937 rng(777);
    int checked = 0, errors = 0;
    for (int i = 0; i < 6000; ++i) {
        QStringList texts;
        for (int k = std::uniform_int_distribution<int>(0, 8)(rng); k > 0; --k)
            texts << randomText(rng, u"aB.*?*[]!-cą", 7);
        const std::vector<Mask> masks(texts.begin(), texts.end());
        const MaskList list(texts);
        for (int k = 0; k < 10; ++k) {
            const QString name = randomText(rng, u"aAbBc.-!ąĄ", 6);
            for (const Mask& m : masks) {
                if (!m.isValid())
                    continue;
                ASSERT_EQ(m.matches(name), referenceMatch(m.text(), name))
                    << m.text().toStdString() << " vs " << name.toStdString();
                ++checked;
            }
            const QString expected = decision([&] {
                return std::any_of(masks.begin(), masks.end(),
                                   [&](const Mask& m) { return m.matches(name); });
            });
            ASSERT_EQ(decision([&] { return list.matchesAny(name); }), expected)
                << texts.join(u' ').toStdString() << " / " << name.toStdString();
            errors += expected.startsWith(u'\'');
        }
    }
    EXPECT_GT(checked, 20000);
    EXPECT_GT(errors, 1000); // the error ordering was exercised
}

} // namespace
