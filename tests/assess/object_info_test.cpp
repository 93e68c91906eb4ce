// The object information window's core: stepping through the found list,
// and lists with no current entry.
#include "support/window_fixture.h"

namespace {

using namespace pylomir;

class ObjectInfoTest : public pylomir::testing::WindowFixture {
protected:
    // Files of the fake tree as the found list; entry i clicked.
    void listFound(const QStringList& names, qsizetype clicked) {
        QStringList paths;
        for (const QString& name : names)
            fs.add(paths.emplace_back(QStringLiteral("/r/") + name), 100);
        model().foundList.assign(paths);
        model().foundList.setCurrent(clicked);
        window->assessCurrentFound();
    }
    assess::ObjectInfo& info() { return window->objectInfo(); }
    const core::ObjectInfoState& shown() { return model().objectInfo; }
};

TEST_F(ObjectInfoTest, SteppingAssessesClosesAndReopensOnTheNextEntry) {
    const struct {
        qsizetype from;
        int step;
        qsizetype to;
    } rows[] = {{1, +1, 2}, {1, -1, 0}, {0, -1, 0}, {2, +1, 2}, {0, +5, 2}};
    const QStringList names{"A.tmp", "B.tmp", "C.tmp"};
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.from << " " << r.step);
        SetUp();
        listFound(names, r.from);
        info().openFromFound();
        // At either end the entry stays, and is assessed again all the same.
        model().alert.details->name = QStringLiteral("stale");
        info().stepFound(r.step);
        EXPECT_EQ(model().foundList.current(), r.to);
        EXPECT_EQ(model().alert.details->name, names[r.to]);
        EXPECT_FALSE(shown().visible);
        EXPECT_TRUE(shown().reopenTimer.enabled);

        info().reopenObjectInfo();
        EXPECT_FALSE(shown().reopenTimer.enabled);
        EXPECT_TRUE(shown().visible);
        EXPECT_EQ(shown().nameText, names[r.to].toLower());
        EXPECT_EQ(shown().positionText, QStringLiteral("Plik %1  /  3").arg(r.to + 1));
        EXPECT_EQ(ui.windows.size(), 2u);
    }
}

TEST_F(ObjectInfoTest, ListsWithNoCurrentEntryOpenNothingAndStepNowhere) {
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty);
        SetUp();
        listFound({"x.tmp"}, 0); // assessed before the list lost its current entry
        model().foundList.assign(empty ? QStringList() : QStringList{"/r/x.tmp"});
        model().ignore.ignoredFiles.assign(empty ? QStringList() : QStringList{"/r/x.tmp"});
        info().openFromFound();
        info().openFromIgnored();
        info().stepFound(+1);
        info().reopenObjectInfo();
        info().showPreviousFound();
        EXPECT_TRUE(ui.windows.empty());
        EXPECT_FALSE(shown().visible);
        EXPECT_FALSE(shown().reopenTimer.enabled);
        EXPECT_EQ(model().foundList.current(), -1);
    }
}

} // namespace
