// The object information window's buttons that reach the rest of the
// window, and the found list's commands on the current entry without one.
#include "support/window_fixture.h"

#include <QDir>

namespace {

using namespace pylomir;
using core::MainTab;
using core::WindowId;

class ObjectInfoCommandsTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        for (const char* name : {"/r/a.tmp", "/r/sub/b.tmp", "/r/ign/Stary.LOG"})
            fs.add(QString::fromLatin1(name), 10);
        model().foundList.assign({"/r/a.tmp", "/r/sub/b.tmp"});
        model().ignore.ignoredFiles.assign({"/r/ign/Stary.LOG"});
    }
};

TEST_F(ObjectInfoCommandsTest, OpenedFromTheIgnoredFilesTheButtonsActOnTheIgnoredEntry) {
    model().foundList.setCurrent(1);
    model().ignore.ignoredFiles.setCurrent(0);
    window->setActiveTab(MainTab::IgnoreLists); // where the ignored files are
    window->assessCurrentIgnored();
    assess::ObjectInfo& info = window->objectInfo();
    info.openFromIgnored();
    window->goToLocationFromObjectInfo();
    EXPECT_EQ(model().goToLocation.folderText, QStringLiteral("/r/ign/"));
    EXPECT_EQ(ui.windows, (std::vector<WindowId>{WindowId::ObjectInfo, WindowId::GoToLocation}));
    EXPECT_FALSE(model().objectInfo.visible);

    info.openFromIgnored();
    window->openFileFromObjectInfo();
    EXPECT_EQ(ui.opened, QStringList{"/r/ign/Stary.LOG"});
    EXPECT_FALSE(model().objectInfo.visible);
}

TEST_F(ObjectInfoCommandsTest, CommandsOnTheCurrentEntryDoNothingWithoutOne) {
    const QString backups = home.path() + QStringLiteral("/kopie/");
    ASSERT_TRUE(QDir().mkpath(backups));
    using Run = void (*)(app::MainWindowCore&);
    const Run commands[] = {
        [](app::MainWindowCore& w) { w.deletion().deleteOneFile(); },
        [](app::MainWindowCore& w) { w.backupCommands().backupCurrentFile(); },
        [](app::MainWindowCore& w) { w.scanRun().clearCurrentFoundAttributes(); },
        [](app::MainWindowCore& w) { w.deletion().openCurrentFile(); },
        [](app::MainWindowCore& w) { w.goToLocation().goToFileLocation(); },
        [](app::MainWindowCore& w) { w.objectInfo().openFromFound(); },
        [](app::MainWindowCore& w) { w.objectInfo().openFromIgnored(); },
        [](app::MainWindowCore& w) { w.objectInfo().showNextFound(); },
    };
    for (const bool empty : {false, true}) {
        for (size_t i = 0; i < std::size(commands); ++i) {
            SCOPED_TRACE(::testing::Message() << "command " << i << (empty ? ", empty" : ""));
            SetUp();
            model().options.backupFolderAtStart = backups;
            // A file was assessed; then the lists lost their current entry.
            model().foundList.setCurrent(0);
            window->assessCurrentFound();
            model().foundList.setCurrent(-1);
            if (empty) {
                model().foundList.clear();
                model().ignore.ignoredFiles.clear();
            }
            commands[i](*window);
            EXPECT_TRUE(ui.windows.empty());
            EXPECT_TRUE(ui.opened.isEmpty());
            EXPECT_TRUE(fs.attributeCalls.empty());
            EXPECT_TRUE(fs.findFirst(QStringLiteral("/r/a.tmp")));
            EXPECT_TRUE(QDir(backups).entryList(QDir::Files).isEmpty());
            for (const QString& text : ui.texts())
                EXPECT_FALSE(text.contains(QStringLiteral("a.tmp"))) << text.toStdString();
        }
    }
}

} // namespace
