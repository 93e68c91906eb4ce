// "Idź do lokalizacji pliku...": the folder part of a path on either
// platform, the list the active tab chooses, and what the dialog opens.
#include "assess/go_to_location.h"
#include "support/window_fixture.h"

namespace {

using namespace pylomir;
using core::MainTab;
using core::WindowId;

TEST(FolderOfTest, KeepsEverythingUpToTheLastSeparatorOfThePlatform) {
    const struct {
        char separator;
        const char* path;
        const char* folder;
    } rows[] = {
        {'\\', "C:\\dir\\a.tmp", "C:\\dir\\"},
        {'\\', "C:\\a.tmp", "C:\\"},
        {'\\', "C:a.tmp", "C:"},
        {'\\', "C:\\dir/sub/a.tmp", "C:\\dir/sub/"},
        {'\\', "\\\\serwer\\udział\\a.tmp", "\\\\serwer\\udział\\"},
        {'\\', "a.tmp", ""},
        {'/', "/home/x/a.tmp", "/home/x/"},
        {'/', "/a.tmp", "/"},
        // Elsewhere a colon and a backslash are parts of a name.
        {'/', "/home/x:y/a\\b.tmp", "/home/x:y/"},
        {'/', "/home/x/C:a.tmp", "/home/x/"},
        {'/', "a.tmp", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(assess::folderOf(QString::fromUtf8(r.path), QLatin1Char(r.separator)),
                  QString::fromUtf8(r.folder));
    }
    EXPECT_EQ(assess::folderOf(QStringLiteral("/r/a.tmp")), QStringLiteral("/r/"));
}

class GoToLocationTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        model().foundList.assign({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/sub/b.tmp")});
        model().foundList.setCurrent(1);
        model().ignore.ignoredFiles.assign({QStringLiteral("/c.tmp")});
        model().ignore.ignoredFiles.setCurrent(0);
    }
    assess::GoToLocation& go() { return window->goToLocation(); }
    const core::GoToLocationState& dialog() { return model().goToLocation; }
};

TEST_F(GoToLocationTest, ShowsTheFolderOfTheCurrentEntryOfTheActiveTabsList) {
    const struct {
        MainTab tab;
        const char* folder; // "" for no dialog
    } rows[] = {
        {MainTab::FoundList, "/r/sub/"},
        {MainTab::IgnoreLists, "/"},
        {MainTab::Settings, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(int(r.tab));
        SetUp();
        model().activeTab = r.tab;
        go().goToFileLocation();
        EXPECT_EQ(model().status.statusText, QStringLiteral("Przejście do lokalizacji"));
        const bool shown = *r.folder;
        EXPECT_EQ(dialog().visible, shown);
        EXPECT_EQ(ui.windows.size(), shown ? 1u : 0u);
        if (shown) {
            EXPECT_EQ(dialog().folderText, QString::fromUtf8(r.folder));
        }
        EXPECT_TRUE(ui.opened.isEmpty()); // nothing opens before the user confirms
    }
}

TEST_F(GoToLocationTest, OpensTheFolderTextAsEditedAndNothingOnCancel) {
    go().goToFileLocation();
    go().cancel();
    EXPECT_FALSE(dialog().visible);
    EXPECT_TRUE(ui.opened.isEmpty());

    go().goToFileLocation();
    go().setFolderText(QStringLiteral("/nie/ma/takiego/"));
    go().openFolder();
    EXPECT_FALSE(dialog().visible);
    // Passed on unchecked, even though no such folder exists.
    EXPECT_EQ(ui.opened, QStringList{QStringLiteral("/nie/ma/takiego/")});
}

TEST_F(GoToLocationTest, WithNoCurrentEntryItSaysSoAndShowsNoStaleFolder) {
    go().goToFileLocation();
    go().cancel();
    const struct {
        const char* what;
        bool empty;
    } rows[] = {{"no current entry", false}, {"empty list", true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        ui.windows.clear();
        if (r.empty)
            model().foundList.clear();
        else
            model().foundList.setCurrent(-1);
        go().goToFileLocation();
        EXPECT_EQ(model().status.statusText, QStringLiteral("Nie wybrano pliku z listy."));
        EXPECT_FALSE(dialog().visible);
        EXPECT_TRUE(ui.windows.empty());
    }
}

} // namespace
