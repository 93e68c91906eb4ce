// A session that saves its options, scans, deletes and closes, and the next
// start over the same settings file and program folder.
#include "app/main_window_core.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "support/fake_services.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace pylomir;

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

class RestartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        writeFile(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        // Earlier sessions left their counts, the deleted bytes past 2^31.
        writeFile(settingsPath(), "[Skanowan]\nLiczba=4\nSkasowano=3221225472\n"
                                  "[Usunieto]\nListBox=7\n");
        writeFile(root + "/tree/a.tmp", QByteArray(1000, 'a'));
        writeFile(root + "/tree/sub/b.tmp", QByteArray(2500, 'b'));
        writeFile(root + "/tree/keep.txt", "k");
        QDir().mkpath(root + "/logs");
    }

    QString settingsPath() const { return root + "/Pylomir.ini"; }

    // One run of the program: its own store over the file, its own window.
    struct Session {
        std::unique_ptr<platform::SettingsStore> store;
        std::unique_ptr<app::MainWindowCore> window;
    };
    Session start() {
        Session s;
        s.store = platform::openSettingsStore(settingsPath());
        core::Services services;
        services.fileSystem = &platform::realFileSystem();
        services.settings = s.store.get();
        services.clock = &clock;
        services.locale = &locale;
        services.ui = &ui;
        services.pump = &pump;
        services.programDir = root + "/home/";
        s.window = std::make_unique<app::MainWindowCore>(services);
        s.window->startUp();
        return s;
    }

    QTemporaryDir dir;
    QString root;
    pylomir::testing::FakeClock clock;
    platform::LocaleFormats locale{QLocale(QLocale::Polish, QLocale::Poland)};
    pylomir::testing::ScriptedUi ui;
    pylomir::testing::ScriptedPump pump;
};

TEST_F(RestartTest, OptionsAndStatisticsSurviveClosingAndStartingAgain) {
    core::StatisticsState left;
    {
        Session first = start();
        app::MainWindowCore& w = *first.window;
        scan::SettingsTab& tab = w.settingsTab();
        tab.setOption(&core::OptionsState::htmlReportsEnabled, true);
        tab.setAutoIgnoreThresholdText("12345");
        tab.setLogFolderText(root + "/logs/");
        tab.saveSettings();

        w.scanRun().setScanRoot(root + "/tree");
        w.scanRun().startScan();
        ASSERT_EQ(w.model().foundList.count(), 2);
        w.deletion().quickDelete();
        ASSERT_EQ(w.deletion().lastOutcome().deleted, 2);
        ASSERT_TRUE(w.deletionLog().closeProgram());
        left = w.model().statistics;
    }
    EXPECT_FALSE(QFile::exists(root + "/tree/a.tmp"));
    EXPECT_EQ(QDir(root + "/logs").entryList({"*.plm"}, QDir::Files).size(), 1);
    EXPECT_EQ(left.scanCount, 5);
    EXPECT_EQ(left.totalDeletedFilesText, "9");
    EXPECT_EQ(left.totalDeletedBytesText, "3221228972");
    EXPECT_EQ(left.totalDeletedSizeText, "3145731 KB,  3145 MB");

    const Session second = start();
    const core::MainWindowModel& m = second.window->model();
    EXPECT_TRUE(m.options.htmlReportsEnabled);
    EXPECT_EQ(m.options.autoIgnoreThresholdText, "12345");
    EXPECT_EQ(m.options.logFolderText, root + "/logs/");
    EXPECT_EQ(m.statistics.scanCount, left.scanCount);
    EXPECT_EQ(m.statistics.totalDeletedFilesText, left.totalDeletedFilesText);
    EXPECT_EQ(m.statistics.totalDeletedBytesText, left.totalDeletedBytesText);
    EXPECT_EQ(m.statistics.totalDeletedSizeText, left.totalDeletedSizeText);
}

} // namespace
