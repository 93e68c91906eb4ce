#include "core/path_list.h"

#include <gtest/gtest.h>

using pylomir::core::PathList;

namespace {

TEST(PathListTest, LooksPathsUpIgnoringLetterCase) {
    PathList list;
    list.append(QStringLiteral("C:/Temp/Źródło.TMP"));
    list.append(QStringLiteral("C:/Temp/b.bak"));
    EXPECT_TRUE(list.contains(QStringLiteral("c:/temp/źródło.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("C:/TEMP/B.BAK")));
    EXPECT_FALSE(list.contains(QStringLiteral("C:/Temp/b.ba")));
    EXPECT_FALSE(list.contains(QStringLiteral("C:/Temp/zrodlo.tmp")));
}

TEST(PathListTest, IndexFollowsGrowthRemovalAndReplacement) {
    PathList list;
    for (int i = 0; i < 5000; ++i)
        list.append(QStringLiteral("/t/f%1.tmp").arg(i));
    for (int i = 0; i < 5000; i += 499)
        ASSERT_TRUE(list.contains(QStringLiteral("/T/F%1.TMP").arg(i)));
    list.setCurrent(4999);
    list.removeAt(0);
    EXPECT_EQ(list.current(), 4998); // still the same entry
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

} // namespace
