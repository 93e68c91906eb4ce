// The object information window's buttons that reach other parts of the
// window, and the found list's commands on the current entry when there is
// none.
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
        model().foundList.assign({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/sub/b.tmp")});
        model().ignore.ignoredFiles.assign({QStringLiteral("/r/ign/Stary.LOG")});
    }
};

TEST_F(ObjectInfoCommandsTest, OpenedFromTheIgnoredFilesTheButtonsActOnTheIgnoredEntry) {
    model().foundList.setCurrent(1);
    model().ignore.ignoredFiles.setCurrent(0);
    // The ignored files live on the "Ignorowania" tab, so it is on top.
    window->setActiveTab(MainTab::IgnoreLists);
    window->assessCurrentIgnored();
    window->objectInfo().openFromIgnored();

    window->goToLocationFromObjectInfo();
    EXPECT_EQ(model().goToLocation.folderText, QStringLiteral("/r/ign/"));
    EXPECT_EQ(ui.windows, (std::vector<WindowId>{WindowId::ObjectInfo, WindowId::GoToLocation}));
    EXPECT_FALSE(model().objectInfo.visible);

    window->objectInfo().openFromIgnored();
    window->openFileFromObjectInfo();
    EXPECT_EQ(ui.opened, QStringList{QStringLiteral("/r/ign/Stary.LOG")});
    EXPECT_FALSE(model().objectInfo.visible);

    window->objectInfo().openFromIgnored();
    window->addObjectInfoNameToIgnoredMasks();
    EXPECT_EQ(model().ignore.ignoredMasks, QStringList{QStringLiteral("stary.log")});
    EXPECT_TRUE(model().objectInfo.visible); // this one keeps the window open
    // A second time the mask is listed already.
    window->addObjectInfoNameToIgnoredMasks();
    EXPECT_EQ(model().ignore.ignoredMasksCount, 1);

    window->showFilterDescriptionsFromObjectInfo();
    EXPECT_EQ(model().activeTab, MainTab::FilterDescriptions);
    EXPECT_FALSE(model().objectInfo.visible);
}

TEST_F(ObjectInfoCommandsTest, CommandsOnTheCurrentEntryDoNothingWithoutOne) {
    const QString backups = home.path() + QStringLiteral("/kopie/");
    ASSERT_TRUE(QDir().mkpath(backups));
    const struct {
        const char* caption;
        std::function<void(app::MainWindowCore&)> run;
    } commands[] = {
        {"Usuń tylko jeden zaznaczony plik", [](auto& w) { w.deletion().deleteOneFile(); }},
        {"Zrób kopię tylko wybranego pliku",
         [](auto& w) { w.backupCommands().backupCurrentFile(); }},
        {"Ustaw normalny atrybut", [](auto& w) { w.scanRun().clearCurrentFoundAttributes(); }},
        {"Uruchom zaznaczony plik", [](auto& w) { w.deletion().openCurrentFile(); }},
        {"Idź do lokalizacji pliku...", [](auto& w) { w.goToLocation().goToFileLocation(); }},
        {"Szczegóły obiektu", [](auto& w) { w.objectInfo().openFromFound(); }},
        {"Szczegóły obiektu (Ignorowania)", [](auto& w) { w.objectInfo().openFromIgnored(); }},
        {"strzałka", [](auto& w) { w.objectInfo().showNextFound(); }},
    };
    for (const bool empty : {false, true}) {
        for (const auto& c : commands) {
            SCOPED_TRACE(::testing::Message() << c.caption << (empty ? ", empty" : ", no current"));
            SetUp();
            model().options.backupFolderAtStart = backups;
            // A file was assessed and shown; then the lists lost their current entry.
            model().foundList.setCurrent(0);
            window->assessCurrentFound();
            model().foundList.setCurrent(-1);
            model().ignore.ignoredFiles.setCurrent(-1);
            if (empty) {
                model().foundList.clear();
                model().ignore.ignoredFiles.clear();
            }
            ui.boxes.clear();

            c.run(*window);
            EXPECT_TRUE(ui.windows.empty());
            EXPECT_TRUE(ui.opened.isEmpty());
            EXPECT_TRUE(fs.attributeCalls.empty());
            EXPECT_TRUE(fs.findFirst(QStringLiteral("/r/a.tmp")));
            EXPECT_EQ(model().records.deletedCount, 0);
            EXPECT_TRUE(QDir(backups).entryList(QDir::Files).isEmpty());
            for (const QString& text : ui.texts())
                EXPECT_FALSE(text.contains(QStringLiteral("a.tmp"))) << text.toStdString();
            EXPECT_FALSE(model().objectInfo.visible);
            EXPECT_FALSE(model().goToLocation.visible);
        }
    }
}

} // namespace
