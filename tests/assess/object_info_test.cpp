// The object information window's core: what it shows of the assessed
// file, the known-type look-up by lower-case name, stepping through the
// found list, and the lists with nothing to show.
#include "assess/known_file_types.h"
#include "support/window_fixture.h"

namespace {

using namespace pylomir;
using core::ObjectInfoSource;
using core::WindowId;

class ObjectInfoTest : public pylomir::testing::WindowFixture {
protected:
    // Files of the fake tree as the found list, none current yet.
    void listFound(const QStringList& names) {
        QStringList paths;
        for (const QString& name : names) {
            paths << QStringLiteral("/r/") + name;
            fs.add(paths.back(), 100);
        }
        model().foundList.assign(paths);
    }
    // A click on entry i of the found list.
    void clickFound(qsizetype i) {
        model().foundList.setCurrent(i);
        window->assessCurrentFound();
    }
    assess::ObjectInfo& info() { return window->objectInfo(); }
    const core::ObjectInfoState& shown() { return model().objectInfo; }
};

TEST_F(ObjectInfoTest, LooksTheAssessedFileUpByItsLowerCaseNameThenExtension) {
    const QString unknown = assess::unknownFileType().description;
    const struct {
        const char* file;
        const char* name;
        const char* extension;
        const char* key; // the row expected, "" for none
        int frequency;
    } rows[] = {
        // The name key wins over the extension's.
        {"SCANDISK.LOG", "scandisk.log", ".log", "scandisk.log", 70},
        {"AvApp.Log", "avapp.log", ".log", "avapp.log", 70},
        {"setup.log", "setup.log", ".log", ".log", 100},
        {"report", "report", "", "", 0},
        // The table's extension is lower case, whatever the rule chain made of it.
        {"HAL.DLL", "hal.dll", ".dll", ".dll", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        SetUp();
        listFound({QString::fromUtf8(r.file)});
        clickFound(0);
        info().openFromFound();
        EXPECT_EQ(shown().nameText, QString::fromUtf8(r.name));
        EXPECT_EQ(shown().extensionText, QString::fromUtf8(r.extension));
        EXPECT_EQ(shown().frequency, r.frequency);
        const assess::KnownFileType& expected =
            assess::lookUpKnownType(QString::fromUtf8(r.key), QString::fromUtf8(r.key));
        EXPECT_EQ(shown().descriptionText, *r.key ? expected.description : unknown);
        EXPECT_TRUE(shown().visible);
        EXPECT_EQ(ui.windows, std::vector<WindowId>{WindowId::ObjectInfo});
    }
}

TEST_F(ObjectInfoTest, BeforeAnyAssessmentEveryValueIsADashAndTheNameIsRefused) {
    listFound({QStringLiteral("a.tmp")});
    model().foundList.setCurrent(0); // current, but never clicked
    info().openFromFound();
    EXPECT_EQ(shown().nameText, QStringLiteral("-"));
    EXPECT_EQ(shown().descriptionText, assess::unknownFileType().description);
    EXPECT_EQ(shown().frequency, 0);
    window->addObjectInfoNameToIgnoredMasks();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Nie podano żadnego typu filtra !")});
    EXPECT_TRUE(model().ignore.ignoredMasks.isEmpty());
    EXPECT_TRUE(shown().visible); // the window stays open
}

TEST_F(ObjectInfoTest, TheCounterCountsTheFoundListFromEitherList) {
    listFound({QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("c.tmp")});
    clickFound(1);
    info().openFromFound();
    EXPECT_EQ(shown().positionText, QStringLiteral("Plik 2  /  3"));
    EXPECT_TRUE(shown().arrowsEnabled());
    EXPECT_TRUE(shown().positionVisible());

    model().ignore.ignoredFiles.assign({QStringLiteral("/r/c.tmp")});
    model().ignore.ignoredFiles.setCurrent(0);
    window->assessCurrentIgnored();
    info().openFromIgnored();
    EXPECT_EQ(shown().nameText, QStringLiteral("c.tmp"));
    EXPECT_EQ(shown().positionText, QStringLiteral("Plik 2  /  3"));
    EXPECT_FALSE(shown().arrowsEnabled());
    EXPECT_FALSE(shown().positionVisible());
    // The arrows belong to the found list.
    info().showNextFound();
    EXPECT_EQ(model().foundList.current(), 1);
    EXPECT_FALSE(shown().reopenTimer.enabled);
}

TEST_F(ObjectInfoTest, SteppingMovesAssessesClosesAndReopensWithTheNewEntry) {
    const struct {
        qsizetype from;
        int step;
        qsizetype to;
    } rows[] = {
        {1, +1, 2}, {1, -1, 0},
        // At either end the entry stays and is assessed again.
        {0, -1, 0}, {2, +1, 2},
        // A large step stops at the end it heads for.
        {0, +5, 2},
    };
    const QStringList names{QStringLiteral("A.tmp"), QStringLiteral("B.tmp"),
                            QStringLiteral("C.tmp")};
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.from << " " << r.step);
        SetUp();
        listFound(names);
        clickFound(r.from);
        info().openFromFound();
        // A stale name shows whether the step assessed the entry again.
        model().alert.details->name = QStringLiteral("stale");
        info().stepFound(r.step);
        EXPECT_EQ(model().foundList.current(), r.to);
        EXPECT_EQ(model().alert.details->name, names[r.to]);
        EXPECT_FALSE(shown().visible);
        EXPECT_TRUE(shown().reopenTimer.enabled);
        EXPECT_EQ(shown().reopenTimer.intervalMs, 5);

        info().reopenObjectInfo();
        EXPECT_FALSE(shown().reopenTimer.enabled);
        EXPECT_TRUE(shown().visible);
        EXPECT_EQ(shown().nameText, names[r.to].toLower());
        EXPECT_EQ(shown().positionText, QStringLiteral("Plik %1  /  3").arg(r.to + 1));
        EXPECT_EQ(ui.windows, std::vector<WindowId>(2, WindowId::ObjectInfo));
    }
}

TEST_F(ObjectInfoTest, ListsWithNoCurrentEntryOpenNothingAndStepNowhere) {
    const struct {
        const char* what;
        QStringList found;
        QStringList ignored;
    } rows[] = {
        {"empty lists", {}, {}},
        {"no current entry", {QStringLiteral("/r/a.tmp")}, {QStringLiteral("/r/a.tmp")}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SetUp();
        // Something was assessed before the lists lost their current entry.
        listFound({QStringLiteral("x.tmp")});
        clickFound(0);
        model().foundList.assign(r.found);
        model().ignore.ignoredFiles.assign(r.ignored);

        info().openFromFound();
        info().openFromIgnored();
        info().stepFound(+1);
        info().reopenObjectInfo();
        EXPECT_TRUE(ui.windows.empty());
        EXPECT_FALSE(shown().visible);
        EXPECT_FALSE(shown().reopenTimer.enabled);
        EXPECT_EQ(model().foundList.current(), -1);
    }
}

TEST_F(ObjectInfoTest, TheEditedNameIsKeptInLowerCaseAndAddedAsAMask) {
    listFound({QStringLiteral("Raport.TXT")});
    clickFound(0);
    info().openFromFound();
    info().setNameText(QStringLiteral("R?PORT.*"));
    EXPECT_EQ(shown().nameText, QStringLiteral("r?port.*"));
    window->addObjectInfoNameToIgnoredMasks();
    EXPECT_EQ(model().ignore.ignoredMasks, QStringList{QStringLiteral("r?port.*")});
    EXPECT_EQ(readList("ignoraltyp.dat"), QStringList{QStringLiteral("r?port.*")});
    // The next showing starts from the assessed name again.
    info().describeAssessedFile();
    EXPECT_EQ(shown().nameText, QStringLiteral("raport.txt"));
}

} // namespace
