// "Idź do lokalizacji pliku...": the folder part of a path on either
// platform, and the list the active tab chooses.
#include "assess/go_to_location.h"
#include "support/window_fixture.h"

namespace {

using namespace pylomir;
using core::MainTab;

TEST(FolderOfTest, KeepsEverythingUpToTheLastSeparatorOfThePlatform) {
    const struct {
        char separator;
        const char *path, *folder;
    } rows[] = {
        {'\\', "C:\\dir\\a.tmp", "C:\\dir\\"},
        {'\\', "C:\\a.tmp", "C:\\"},
        {'\\', "C:a.tmp", "C:"},
        {'\\', "C:\\dir/sub/a.tmp", "C:\\dir/sub/"},
        {'\\', "a.tmp", ""},
        {'/', "/home/x/a.tmp", "/home/x/"},
        {'/', "/a.tmp", "/"},
        {'/', "/home/x:y/a\\b.tmp", "/home/x:y/"},
        {'/', "a.tmp", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(assess::folderOf(QString::fromUtf8(r.path), QLatin1Char(r.separator)),
                  QString::fromUtf8(r.folder));
    }
}

class GoToLocationTest : public pylomir::testing::WindowFixture {
protected:
    const core::GoToLocationState& dialog() { return model().goToLocation; }
    assess::GoToLocation& go() { return window->goToLocation(); }
};

TEST_F(GoToLocationTest, ShowsTheFolderOfTheCurrentEntryOfTheActiveTabsList) {
    const struct {
        MainTab tab;
        qsizetype current;
        const char* folder; // nullptr: no dialog
        const char* status;
    } rows[] = {
        {MainTab::FoundList, 1, "/r/sub/", "Przejście do lokalizacji"},
        {MainTab::IgnoreLists, 0, "/", "Przejście do lokalizacji"},
        {MainTab::Settings, 0, nullptr, "Przejście do lokalizacji"},
        {MainTab::FoundList, -1, nullptr, "Nie wybrano pliku z listy."},
        {MainTab::IgnoreLists, -1, nullptr, "Nie wybrano pliku z listy."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << int(r.tab) << " " << r.current);
        SetUp();
        model().foundList.assign({"/r/a.tmp", "/r/sub/b.tmp"});
        model().foundList.setCurrent(r.current);
        model().ignore.ignoredFiles.assign({"/c.tmp"});
        model().ignore.ignoredFiles.setCurrent(r.current);
        model().goToLocation.folderText = QStringLiteral("/stale/");
        model().activeTab = r.tab;
        go().goToFileLocation();
        EXPECT_EQ(model().status.statusText, QString::fromUtf8(r.status));
        EXPECT_EQ(dialog().visible, r.folder != nullptr);
        EXPECT_EQ(ui.windows.size(), r.folder ? 1u : 0u);
        EXPECT_EQ(dialog().folderText, QString::fromUtf8(r.folder ? r.folder : "/stale/"));
        EXPECT_TRUE(ui.opened.isEmpty()); // nothing opens before the user confirms
    }
}

} // namespace
