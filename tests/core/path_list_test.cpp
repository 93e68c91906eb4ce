#include "core/path_list.h"

#include <gtest/gtest.h>

#include <functional>

using pylomir::core::PathList;

namespace {

// POSIX file systems tell names apart by letter case, so the list does too.
TEST(PathListTest, LooksPathsUpExactlyAsThisFileSystemComparesThem) {
    PathList list;
    list.append(QStringLiteral("/tmp/Źródło.TMP"));
    list.append(QStringLiteral("/tmp/b.bak"));
    list.append(QStringLiteral("/tmp/A.tmp"));
    list.append(QStringLiteral("/tmp/b\xDCFF.tmp")); // a name with a byte that is not UTF-8
    for (const char16_t* listed : {u"/tmp/Źródło.TMP", u"/tmp/b.bak", u"/tmp/A.tmp"})
        EXPECT_TRUE(list.contains(listed));
    for (const char16_t* other :
         {u"/tmp/źródło.tmp", u"/TMP/b.bak", u"/tmp/B.BAK", u"/tmp/a.tmp", u"/tmp/b.ba",
          u"/tmp/zrodlo.tmp", u"/tmp/b\xDCFE.tmp", u"/tmp/b\xFFFD.tmp"})
        EXPECT_FALSE(list.contains(other));
    EXPECT_TRUE(list.contains(u"/tmp/b\xDCFF.tmp"));
}

TEST(PathListTest, IndexFollowsGrowthRemovalAndReplacement) {
    PathList list;
    for (int i = 0; i < 5000; ++i)
        list.append(QStringLiteral("/t/f%1.tmp").arg(i));
    for (int i = 0; i < 5000; i += 499)
        ASSERT_TRUE(list.contains(QStringLiteral("/t/f%1.tmp").arg(i)));
    list.setCurrent(4999);
    list.removeAt(0);
    EXPECT_EQ(list.current(), 4998); // still the same entry
    EXPECT_FALSE(list.contains(QStringLiteral("/t/f0.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("/t/f4999.tmp")));
    EXPECT_EQ(list.path(0), QStringLiteral("/t/f1.tmp"));

    list.assign({QStringLiteral("/x/a"), QStringLiteral("/x/b")});
    EXPECT_FALSE(list.contains(QStringLiteral("/t/f1.tmp")));
    EXPECT_TRUE(list.contains(QStringLiteral("/x/b")));
    list.insert(1, QStringLiteral("/x/0"));
    EXPECT_EQ(list.paths(), QStringList({"/x/a", "/x/0", "/x/b"}));
    EXPECT_TRUE(list.contains(QStringLiteral("/x/0")));
    list.clear();
    EXPECT_FALSE(list.contains(QStringLiteral("/x/a")));
    list.append(QStringLiteral("/x/a"));
    EXPECT_TRUE(list.contains(QStringLiteral("/x/a")));
}

// Removing many entries at once keeps the survivors' order, states and the
// focused entry, and the index forgets exactly the removed paths.
TEST(PathListTest, RemovingFlaggedEntriesKeepsTheRestAsTheyWere) {
    PathList list;
    for (int i = 0; i < 6; ++i)
        list.append(QStringLiteral("/f%1").arg(i));
    list.setChecked(3, true);
    list.setSelected(4, true);
    list.setCurrent(4);
    EXPECT_EQ(list.removeFlagged({true, false, true, false, false, true}), 3);
    EXPECT_EQ(list.paths(), QStringList({"/f1", "/f3", "/f4"}));
    EXPECT_TRUE(list.isChecked(1));
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_EQ(list.current(), 2);
    for (const char* gone : {"/f0", "/f2", "/f5"})
        EXPECT_FALSE(list.contains(QString::fromLatin1(gone)));
    EXPECT_TRUE(list.contains(QStringLiteral("/f3")));

    list.removeFlagged({false, false, true}); // the focused entry itself
    EXPECT_EQ(list.current(), -1);
    list.setCurrent(1);
    list.insert(0, QStringLiteral("/new"));
    EXPECT_EQ(list.path(list.current()), QStringLiteral("/f3"));
}

// A view follows the list through its notices alone, so each change must
// announce itself, structural ones on both sides.
TEST(PathListTest, EveryChangeIsAnnouncedToTheObserver) {
    struct Recorder : pylomir::core::PathListObserver {
        QStringList notices;
        void entriesAppended(qsizetype first, qsizetype count) override {
            notices << QStringLiteral("append %1+%2").arg(first).arg(count);
        }
        void aboutToChangeStructure() override { notices << "before"; }
        void structureChanged() override { notices << "after"; }
        void statesChanged() override { notices << "states"; }
    } recorder;
    PathList list;
    list.setObserver(&recorder);
    const struct {
        std::function<void()> change;
        QStringList notices;
    } cases[] = {
        {[&] { list.append("/a"); }, {"append 0+1"}},
        {[&] { list.append("/b"); }, {"append 1+1"}},
        {[&] { list.setChecked(1, true); }, {"states"}},
        {[&] { list.setSelected(0, true); }, {"states"}},
        {[&] { list.setCurrent(1); }, {"states"}},
        {[&] { list.setCurrent(2); }, {"states"}}, // past the end: no current entry
        {[&] { list.removeAt(0); }, {"before", "after"}},
        {[&] { list.removeAt(5); }, {}}, // nothing there: nothing to tell
        {[&] {
             list.assign({"/c", "/d"});
         },
         {"before", "after"}},
        {[&] { list.insert(0, "/0"); }, {"before", "after"}},
        {[&] { list.insert(3, "/z"); }, {"append 3+1"}},
        {[&] { list.setAllChecked(true); }, {"states"}},
        {[&] {
             list.removeFlagged({false, true});
         },
         {"before", "after"}},
        {[&] {
             list.removeFlagged({false, false});
         },
         {}},
        {[&] { list.clear(); }, {"before", "after"}},
    };
    for (const auto& c : cases) {
        recorder.notices.clear();
        c.change();
        EXPECT_EQ(recorder.notices, c.notices) << c.notices.join(',').toStdString();
        if (c.notices == QStringList{"states"}) {
            EXPECT_LT(list.current(), list.count());
        }
    }
    list.append("/e");
    list.setCurrent(-5);
    EXPECT_EQ(list.current(), -1);
}

} // namespace
