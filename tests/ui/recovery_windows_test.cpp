// The backup and restore windows driven as a user would: the found list's
// backup, the countdown window, the "Odzyskiwanie" tab and the
// advanced-restore window over real archives in temporary folders.
#include "app/main_window_core.h"
#include "backup/restore_commands.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "support/scripted_ui.h"
#include "ui/advanced_restore_window.h"
#include "ui/backup_progress_window.h"
#include "ui/gui_message_pump.h"
#include "ui/main_window.h"
#include "ui/recovery_page.h"
#include "ui/widget_input.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace pylomir;

namespace {

using pylomir::testing::clickInto;
using pylomir::testing::typeInto;

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList rows(const QListWidget& list) {
    QStringList out;
    for (int r = 0; r < list.count(); ++r)
        out << list.item(r)->text();
    return out;
}

void clickRow(QListWidget* list, int row) {
    pylomir::testing::clickAt(list->viewport(), list->visualItemRect(list->item(row)).center());
}

void doubleClick(QWidget* widget) {
    const QPointF at(4, 4);
    const QPointF global = widget->mapToGlobal(at);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent e(type, at, global, Qt::LeftButton, down ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(widget, &e);
    }
}

// Every caption under root shows whole inside it: the windows have fixed sizes.
void expectCaptionsWhole(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root))
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if (!label && !button)
            continue;
        const std::string name = (label ? label->text() : button->text()).toStdString();
        EXPECT_TRUE(root->rect().contains(QRect(w->mapTo(root, QPoint(0, 0)), w->size()))) << name;
        if (label && label->wordWrap())
            EXPECT_GE(w->height(), w->heightForWidth(w->width())) << name;
        else
            EXPECT_GE(w->width(), w->sizeHint().width()) << name;
    }
}

// Records, at every tick of long work, what the advanced window shows.
class WatchingPump : public ui::GuiMessagePump {
public:
    ui::MainWindow* window = nullptr;
    std::vector<std::pair<bool, int>> progressShown; // visible, value
    void processPendingMessages() override {
        GuiMessagePump::processPendingMessages();
        if (window && window->advancedRestoreWindow()->isVisible()) {
            const QProgressBar* bar = window->advancedRestoreWindow()->progressBar();
            progressShown.emplace_back(bar->isVisible(), bar->value());
        }
    }
};

class RecoveryWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir(dir_.path()).mkpath("Filtry"));
        backupFolder_ = dir_.filePath("kopie") + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(backupFolder_));
        ASSERT_TRUE(QDir().mkpath(dir_.filePath("logi")));
        settings_ = platform::openSettingsStore(dir_.filePath("settings.ini"));
        ASSERT_TRUE(settings_->createKey("Skanowan"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "BAKKatalog", native(backupFolder_)));
        ASSERT_TRUE(
            settings_->writeString("Skanowan", "LOGKatalog", native(dir_.filePath("logi/"))));

        services_ = core::machineServices(*settings_, locale_, ui_, pump_);
        services_.programDir = native(dir_.path() + QLatin1Char('/'));
        core_ = std::make_unique<app::MainWindowCore>(services_);
        core_->startUp();
        window_ = std::make_unique<ui::MainWindow>(*core_, &pump_);
        pump_.window = window_.get();
        ui_.onShowWindow = [this](core::WindowId id) { window_->showWindow(id); };
        window_->show();
        ui_.boxes.clear();
    }

    static QString native(const QString& path) { return QDir::toNativeSeparators(path); }
    QString file(const QString& relative) const { return native(dir_.filePath(relative)); }

    QTemporaryDir dir_;
    QString backupFolder_;
    std::unique_ptr<platform::SettingsStore> settings_;
    platform::LocaleFormats locale_{QLocale(QLocale::Polish, QLocale::Poland)};
    pylomir::testing::ScriptedUi ui_;
    WatchingPump pump_;
    core::Services services_;
    std::unique_ptr<app::MainWindowCore> core_;
    std::unique_ptr<ui::MainWindow> window_;
};

// "Utwórz kopię wszystkich plików" writes the archive, the countdown window
// closes by itself, and the tab lists the new archive when it comes up.
TEST_F(RecoveryWindowsTest, BackupFromTheMenuCountsDownAndIsListedOnTheTab) {
    ui::RecoveryPage& page = *window_->recoveryPage();
    EXPECT_EQ(page.archiveCountLabel()->text(), QStringLiteral("?"));
    EXPECT_EQ(page.logCountLabel()->text(), QStringLiteral("?"));

    const QString a = file("dane/a.txt");
    write(a, "alpha");
    core_->model().foundList.append(a);
    window_->syncViews();

    ui::BackupProgressWindow& countdown = *window_->backupProgressWindow();
    // The archive is written first (its blocks let events through), then
    // the window counts down in front of everything.
    // The main window behind it still says what the command is doing.
    bool shownOnTop = false;
    QString statusBehind;
    const QMetaObject::Connection ticks =
        QObject::connect(&countdown.countdownTimer(), &QTimer::timeout, &countdown, [&] {
            shownOnTop = countdown.isVisible() && QApplication::activeModalWidget() == &countdown;
            statusBehind = window_->statusLabel()->text();
        });
    // Never wait on a window that fails to close by itself.
    QTimer::singleShot(8000, &countdown, [&] {
        if (countdown.isVisible()) {
            ADD_FAILURE() << "the countdown window stayed up";
            countdown.done(0);
        }
    });
    QElapsedTimer took;
    took.start();
    window_->backupAllAction()->trigger();
    QObject::disconnect(ticks);

    // One entry: 40 steps of 40 ms and the pause.
    EXPECT_TRUE(shownOnTop);
    EXPECT_EQ(statusBehind, QStringLiteral("CZEKAJ - TWORZĘ KOPIĘ !"));
    EXPECT_EQ(window_->statusLabel()->text(), QStringLiteral("Kopia zapasowa gotowa..."));
    EXPECT_FALSE(countdown.isVisible());
    EXPECT_GE(took.elapsed(), 40 * 40);
    EXPECT_EQ(countdown.countdownBar()->value(), 40);
    EXPECT_EQ(countdown.fileCountLabel()->text(), QStringLiteral("1"));
    EXPECT_EQ(countdown.headingLabel()->text(),
              QStringLiteral("Tworzenie kopii bezpieczeństwa plików..."));
    EXPECT_EQ(countdown.folderLabel()->text(),
              QStringLiteral("Lokalizacja: ") + native(backupFolder_));
    EXPECT_EQ(ui_.sounds, QStringList{QStringLiteral("GOTOWE")});

    window_->tabs()->setCurrentWidget(&page);
    ASSERT_EQ(page.archiveList()->count(), 1);
    const QString name = page.archiveList()->item(0)->text();
    EXPECT_TRUE(name.startsWith(QStringLiteral("FileBAK_")) &&
                name.endsWith(QStringLiteral(".backup")))
        << name.toStdString();
    EXPECT_EQ(page.archiveCountLabel()->text(), QStringLiteral("1"));
    EXPECT_EQ(page.logCountLabel()->text(), QStringLiteral("0"));

    // "Usuń kopię", confirmed, takes the archive from the disk and the list.
    clickRow(page.archiveList(), 0);
    page.deleteArchiveButton()->click();
    EXPECT_FALSE(QFile::exists(backupFolder_ + name));
    EXPECT_EQ(page.archiveList()->count(), 0);
    EXPECT_EQ(page.archiveCountLabel()->text(), QStringLiteral("0"));
}

// The advanced window: pick the archive, read its title and files, restore
// into another folder, close. Opened from the tab, it shows the tab's folder.
TEST_F(RecoveryWindowsTest, AdvancedRestoreShowsAnArchiveAndRestoresIntoAnotherFolder) {
    const QString a = file("dane/a.txt");
    const QString b = file("dane/sub/b.txt");
    write(a, "alpha");
    write(b, "beta!");
    backup::Archiver& archiver = core_->restoreCommands().archiver();
    archiver.setTitle(QStringLiteral("Plik z: 05-12-2026 14-05-33"));
    archiver.setStoreInfoList(true);
    ASSERT_TRUE(archiver.backup({a, b}, backupFolder_ + QStringLiteral("kopia.backup")));
    const QString target = file("odzysk");
    ASSERT_TRUE(QDir().mkpath(target));

    ui::RecoveryPage& page = *window_->recoveryPage();
    window_->tabs()->setCurrentWidget(&page);
    ASSERT_EQ(rows(*page.archiveList()), QStringList{"kopia.backup"});

    ui::AdvancedRestoreWindow& w = *window_->advancedRestoreWindow();
    bool driven = false;
    QTimer::singleShot(0, &w, [&] {
        // Whatever fails below, the window must close or the test would hang.
        struct Closer {
            QDialog& w;
            ~Closer() {
                if (w.isVisible())
                    w.done(0);
            }
        } closer{w};
        ASSERT_TRUE(w.isVisible());
        ASSERT_EQ(rows(*w.archiveList()), QStringList{"kopia.backup"});
        EXPECT_FALSE(w.backupToolsPanel()->isVisible());

        clickRow(w.archiveList(), 0);
        EXPECT_EQ(w.archiveTitleEdit()->text(), QStringLiteral("Plik z: 05-12-2026 14-05-33"));
        EXPECT_EQ(w.archiveSummaryEdit()->text(), QStringLiteral("2 plików, 0 KB wszystkiego"));
        const QStringList lines = w.archiveFilesView()->toPlainText().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << w.archiveFilesView()->toPlainText().toStdString();
        EXPECT_TRUE(lines[0].startsWith(a + QStringLiteral(" z "))) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", 5 bajtów"))) << lines[1].toStdString();

        // The title field: a double click shows the backup tools, a click hides them.
        doubleClick(w.archiveTitleEdit());
        EXPECT_TRUE(w.backupToolsPanel()->isVisible());
        clickInto(w.archiveTitleEdit());
        EXPECT_FALSE(w.backupToolsPanel()->isVisible());

        EXPECT_FALSE(w.otherFolderEdit()->isEnabled());
        w.otherFolderRadio()->click();
        ASSERT_TRUE(w.otherFolderEdit()->isEnabled());
        typeInto(w.otherFolderEdit(), target);
        pump_.progressShown.clear();
        w.restoreButton()->click();
        driven = true;
        w.closeButton()->click();
        EXPECT_FALSE(w.isVisible());
    });
    page.advancedRestoreButton()->click();

    EXPECT_TRUE(driven);
    EXPECT_EQ(read(target + QStringLiteral("/a.txt")), "alpha");
    EXPECT_EQ(read(target + QStringLiteral("/b.txt")), "beta!");
    EXPECT_TRUE(ui_.texts().contains(backup::restoreSuccessMessage(2, 2)))
        << ui_.texts().join(" | ").toStdString();
    // The window was redrawn while the restore ran, its bar up.
    EXPECT_TRUE(std::any_of(pump_.progressShown.begin(), pump_.progressShown.end(),
                            [](const auto& shown) { return shown.first; }))
        << pump_.progressShown.size();
    EXPECT_FALSE(w.progressBar()->isVisible());

    // Shown again from the found list's menu, it is as it was left.
    QTimer::singleShot(0, &w, [&] {
        EXPECT_TRUE(w.otherFolderRadio()->isChecked());
        EXPECT_EQ(w.otherFolderEdit()->text(), target);
        EXPECT_EQ(w.archiveTitleEdit()->text(), QStringLiteral("Plik z: 05-12-2026 14-05-33"));
        w.done(0);
    });
    window_->advancedRestoreAction()->trigger();
}

TEST_F(RecoveryWindowsTest, TheFixedWindowsShowTheirCaptionsWhole) {
    ui::AdvancedRestoreWindow& w = *window_->advancedRestoreWindow();
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(553, 477));
    expectCaptionsWhole(&w);
    core_->restoreCommands().showBackupTools();
    w.sync();
    QApplication::processEvents();
    ASSERT_TRUE(w.backupToolsPanel()->isVisible());
    expectCaptionsWhole(w.backupToolsPanel());
    EXPECT_TRUE(w.rect().contains(w.backupToolsPanel()->geometry()));
    w.done(0);

    core_->backupProgress().prepare(QStringLiteral("05-12-2026 14-05-33"), native(backupFolder_),
                                    200);
    core_->backupProgress().startCountdown();
    ui::BackupProgressWindow& countdown = *window_->backupProgressWindow();
    countdown.show();
    QApplication::processEvents();
    EXPECT_EQ(countdown.size(), QSize(407, 119));
    expectCaptionsWhole(&countdown);
    countdown.done(0);
}

// While the archive component works, nothing may be deleted.
TEST_F(RecoveryWindowsTest, DeletionsWaitForTheArchiveComponent) {
    for (const bool busy : {true, false}) {
        core_->model().archive.busy = busy;
        window_->syncViews();
        EXPECT_EQ(window_->quickDeleteButton()->isEnabled(), !busy);
        EXPECT_EQ(window_->deleteOneAction()->isEnabled(), !busy);
        EXPECT_EQ(window_->deleteSelectedAction()->isEnabled(), !busy);
    }
}

} // namespace
