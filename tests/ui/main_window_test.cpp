#include "app/main_window_core.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "support/scripted_ui.h"
#include "ui/found_list_view.h"
#include "ui/full_list_window.h"
#include "ui/gui_message_pump.h"
#include "ui/main_window.h"
#include "ui/qt_ui_port.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace pylomir;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void processEventsFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QStringList viewPaths(const QAbstractItemModel& model) {
    QStringList out;
    for (int r = 0; r < model.rowCount(); ++r)
        out << model.index(r, 0).data().toString();
    return out;
}

// Closes the window from inside the scan, the way a click on the title
// bar's close button would arrive through the message pump.
class ClosingPump : public ui::GuiMessagePump {
public:
    ui::MainWindow* window = nullptr;
    std::optional<bool> closeResult;
    void processPendingMessages() override {
        if (window && !closeResult)
            closeResult = window->close();
        GuiMessagePump::processPendingMessages();
    }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        ASSERT_TRUE(QDir(home_.path()).mkpath("Filtry"));
        ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(),
                                            home_.filePath("Filtry/filtr_a1.dat"),
                                            {QStringLiteral("*.tmp")}));
        scanRoot_ = home_.filePath("scan");
        for (const char* name : {"a.tmp", "b.TMP", "sub/c.tmp", "keep.txt"})
            touch(scanRoot_ + QLatin1Char('/') + QLatin1String(name));
        settings_ = platform::openSettingsStore(home_.filePath("settings.ini"));
        // A stored safe mode, so the start-up sequence loads its filters.
        ASSERT_TRUE(settings_->createKey("Skanowan"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "Liczba", "0"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "RozmiarIgnoral", "670000"));
        ASSERT_TRUE(settings_->createKey("Ustawienia"));
        ASSERT_TRUE(settings_->writeString("Ustawienia", "Bezpieczny", "1"));

        services_ = core::machineServices(*settings_, locale_, ui_, pump_);
        services_.programDir = QDir::toNativeSeparators(home_.path() + QLatin1Char('/'));
        core_ = std::make_unique<app::MainWindowCore>(services_);
        core_->startUp();
        window_ = std::make_unique<ui::MainWindow>(*core_, &pump_);
        ui_.onShowWindow = [this](core::WindowId id) { window_->showWindow(id); };
        window_->show();
    }

    QString native(const QString& relative) const {
        return QDir::toNativeSeparators(scanRoot_ + QLatin1Char('/') + relative);
    }

    QTemporaryDir home_;
    QString scanRoot_;
    std::unique_ptr<platform::SettingsStore> settings_;
    platform::LocaleFormats locale_{QLocale(QLocale::Polish, QLocale::Poland)};
    pylomir::testing::ScriptedUi ui_;
    ClosingPump pump_;
    core::Services services_;
    std::unique_ptr<app::MainWindowCore> core_;
    std::unique_ptr<ui::MainWindow> window_;
};

TEST_F(MainWindowTest, ScanFromTheStartButtonFillsTheListAndTheFullList) {
    window_->selectFolder(scanRoot_);
    // The tree hands over the folder without a trailing separator.
    EXPECT_EQ(core_->model().scan.scanRoot, QDir::toNativeSeparators(scanRoot_));

    window_->startButton()->click();

    const QAbstractItemModel& model = *window_->foundListView()->model();
    QStringList found = viewPaths(model);
    found.sort();
    EXPECT_EQ(found, (QStringList{native("a.tmp"), native("b.TMP"), native("sub/c.tmp")}));
    EXPECT_EQ(window_->foundCountLabel()->text(), QStringLiteral("3 plików"));
    EXPECT_EQ(window_->statusLabel()->text(), QStringLiteral("Wyszukiwanie gotowe !"));
    EXPECT_TRUE(window_->startButton()->isEnabled());
    EXPECT_FALSE(window_->pauseButton()->isEnabled());
    EXPECT_EQ(ui_.sounds, (QStringList{"JABLKO", "GOTOWE"}));

    window_->fullListButton()->click();
    ASSERT_TRUE(window_->fullListWindow()->isVisible());
    const QAbstractItemModel& full = *window_->fullListWindow()->pathList()->model();
    EXPECT_EQ(full.rowCount(), 3);

    // A second run with the full list open shows the new file there too.
    touch(scanRoot_ + QStringLiteral("/d.tmp"));
    window_->startButton()->click();
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(full.rowCount(), 4);
}

// Moving the focus in the found list rates the entry; the next scan clears it.
TEST_F(MainWindowTest, TheFocusedFoundEntryShowsItsAlertUntilTheNextScan) {
    window_->selectFolder(scanRoot_);
    window_->startButton()->click();
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("-"));
    QListView* list = window_->foundListView();
    list->setCurrentIndex(list->model()->index(0, 0));
    EXPECT_EQ(core_->model().alert.shownAlert, core::AlertLevel::Low);
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("Niski"));
    EXPECT_TRUE(window_->alertLabel()->styleSheet().contains(QStringLiteral("#16873e")));
    EXPECT_EQ(core_->model().alert.assessedPath, list->model()->index(0, 0).data().toString());

    window_->startButton()->click();
    EXPECT_EQ(window_->alertLabel()->text(), QStringLiteral("-"));
}

TEST_F(MainWindowTest, ClosingWhileScanningIsRefusedAndAllowedAfterwards) {
    window_->selectFolder(scanRoot_);
    pump_.window = window_.get();
    window_->startButton()->click();

    ASSERT_TRUE(pump_.closeResult.has_value());
    EXPECT_FALSE(*pump_.closeResult);
    EXPECT_TRUE(ui_.texts().contains(QStringLiteral(
        "Trwa skanowanie dysku !. Jeśli chcesz zamknąć program musisz najpierw anulować "
        "dalsze szukanie !")));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->foundListView()->model()->rowCount(), 3);

    EXPECT_TRUE(window_->close());
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindowTest, ChecksSelectionAndAppendsStayInStepWithTheCore) {
    core::FoundList& list = core_->model().foundList;
    ui::FoundListView& view = *window_->foundListView();
    QAbstractItemModel& model = *view.model();
    int insertSignals = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++insertSignals; });

    // Appends reach the view as one insertion at the next sync.
    for (int i = 0; i < 1000; ++i)
        list.append(QStringLiteral("/x/%1.tmp").arg(i));
    EXPECT_EQ(model.rowCount(), 0);
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 1000);
    EXPECT_EQ(insertSignals, 1);

    // View to core: the check mark and the selection.
    EXPECT_TRUE(model.setData(model.index(5, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.isChecked(5));
    view.selectionModel()->select(model.index(7, 0), QItemSelectionModel::Select);
    EXPECT_TRUE(list.isSelected(7));
    view.selectionModel()->select(model.index(7, 0), QItemSelectionModel::Deselect);
    EXPECT_FALSE(list.isSelected(7));

    // Core to view.
    list.setSelected(9, true);
    list.setChecked(5, false);
    list.setCurrent(3);
    window_->syncViews();
    EXPECT_TRUE(view.selectionModel()->isRowSelected(9, {}));
    EXPECT_EQ(model.index(5, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(view.currentIndex().row(), 3);

    // A removal resets the view but keeps the selection of the entries left.
    list.removeAt(0);
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 999);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(8, {}));
    EXPECT_EQ(model.index(8, 0).data().toString(), QStringLiteral("/x/9.tmp"));

    list.clear();
    window_->syncViews();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(MainWindowTest, GaugeTimerWithZeroIntervalNeverTicks) {
    struct Case {
        int interval;
        bool ticks;
    };
    for (const Case c : {Case{0, false}, Case{5, true}}) {
        core::ScanState& scan = core_->model().scan;
        scan.progress = 0;
        scan.progressTimer = {c.interval, true};
        window_->syncViews();
        processEventsFor(60);
        EXPECT_EQ(scan.progress > 0, c.ticks) << "interval " << c.interval;
        scan.progressTimer.enabled = false;
        window_->syncViews();
    }
}

TEST_F(MainWindowTest, EmbeddedSoundsAndAnimationAreLinkedIn) {
    for (const char* name : {":/sounds/jablko.wav", ":/sounds/gotowe.wav", ":/sounds/alert.wav"}) {
        QFile f{QString::fromLatin1(name)};
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.read(4) == "RIFF") << name;
    }
    QMovie movie(QStringLiteral(":/animation/monitor.gif"));
    EXPECT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 8);
}

TEST(QtFilter, ProgramFiltersBecomeQtFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Pylomir Find Files - *.PFF|*.pff", "Pylomir Find Files - *.PFF (*.pff)"},
        {"Strona HTML|*.htm", "Strona HTML (*.htm)"},
        {"Listy|*.pff;*.txt|Wszystkie|*.*", "Listy (*.pff *.txt);;Wszystkie (*.*)"},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ui::toQtFilter(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

} // namespace
