#include "scan/found_list.h"

#include <gtest/gtest.h>

using pylomir::scan::FoundList;

namespace {

TEST(FoundListTest, LooksPathsUpIgnoringLetterCase) {
    FoundList list;
    list.append(QStringLiteral("C:/Temp/Źródło.TMP"));
    list.append(QStringLiteral("C:/Temp/b.bak"));
    EXPECT_TRUE(list.contains(QStringLiteral("c:/temp/źródło.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("C:/TEMP/B.BAK")));
    EXPECT_FALSE(list.contains(QStringLiteral("C:/Temp/b.ba")));
    EXPECT_FALSE(list.contains(QStringLiteral("C:/Temp/zrodlo.tmp")));
}

TEST(FoundListTest, IndexFollowsGrowthRemovalAndReplacement) {
    FoundList list;
    for (int i = 0; i < 5000; ++i)
        list.append(QStringLiteral("/t/f%1.tmp").arg(i));
    for (int i = 0; i < 5000; i += 499)
        ASSERT_TRUE(list.contains(QStringLiteral("/T/F%1.TMP").arg(i)));
    list.removeAt(0);
    EXPECT_FALSE(list.contains(QStringLiteral("/t/f0.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("/t/f4999.tmp")));
    EXPECT_EQ(list.path(0), QStringLiteral("/t/f1.tmp"));

    list.assign({QStringLiteral("/x/a"), QStringLiteral("/x/b")});
    EXPECT_FALSE(list.contains(QStringLiteral("/t/f1.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("/X/B")));
    list.clear();
    EXPECT_FALSE(list.contains(QStringLiteral("/x/a")));
    list.append(QStringLiteral("/x/a"));
    EXPECT_TRUE(list.contains(QStringLiteral("/x/a")));
}

TEST(FoundListTest, StatesAreIndependentAndReplacementClearsThem) {
    FoundList list;
    list.append(QStringLiteral("a"));
    list.append(QStringLiteral("b"));
    list.append(QStringLiteral("c"));
    list.setChecked(0, true);
    list.setSelected(1, true);
    list.setCurrent(2);
    EXPECT_TRUE(list.isChecked(0));
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_TRUE(list.isSelected(1));
    EXPECT_FALSE(list.isChecked(1));
    EXPECT_EQ(list.current(), 2);
    list.removeAt(0);
    EXPECT_EQ(list.current(), 1); // still "c"
    EXPECT_TRUE(list.isSelected(0));
    list.assign(list.paths());
    EXPECT_FALSE(list.isSelected(0));
    EXPECT_EQ(list.current(), -1);
}

} // namespace
