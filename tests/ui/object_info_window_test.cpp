// The object information window and the go-to-location dialog as the user
// sees them: the values and their looks, the arrows and the counter, the
// buttons, and the modal loops that end when the model says so.
#include "assess/known_file_types.h"
#include "core/shown_texts.h"
#include "support/window_fixture.h"
#include "ui/alert_sign.h"
#include "ui/go_to_location_dialog.h"
#include "ui/main_window.h"
#include "ui/object_info_window.h"
#include "ui/widget_input.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace pylomir;
using core::AlertLevel;
using core::WindowId;

void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// Every caption under root shows whole inside it: the windows have fixed sizes.
void expectCaptionsWhole(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if (w->isHidden() || (!label && !button))
            continue;
        const std::string name = (label ? label->text() : button->text()).toStdString();
        EXPECT_TRUE(root->rect().contains(QRect(w->mapTo(root, QPoint(0, 0)), w->size()))) << name;
        if (label && label->wordWrap())
            EXPECT_GE(w->height(), w->heightForWidth(w->width())) << name;
        else
            EXPECT_GE(w->width(), w->sizeHint().width()) << name;
    }
}

class ObjectInfoWindowTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        goDialog.reset();
        infoWindow.reset();
        WindowFixture::SetUp();
        // As the main window runs a command: the action, then a redraw.
        const pylomir::ui::CommandRunner run = [this](const std::function<void()>& action) {
            action();
            infoWindow->sync();
            goDialog->sync();
        };
        infoWindow = std::make_unique<pylomir::ui::ObjectInfoWindow>(*window, run);
        goDialog = std::make_unique<pylomir::ui::GoToLocationDialog>(*window, run);
    }
    void TearDown() override {
        goDialog.reset();
        infoWindow.reset();
    }

    // Files of the fake tree as the found list; entry i clicked.
    void listFound(const QStringList& paths, qsizetype clicked, qint64 size = 100) {
        for (const QString& path : paths)
            fs.add(path, size);
        model().foundList.assign(paths);
        model().foundList.setCurrent(clicked);
        window->assessCurrentFound();
    }
    // Shown without its modal loop, laid out as the user sees it.
    void openFromFound() {
        window->objectInfo().openFromFound();
        infoWindow->show();
        infoWindow->sync();
    }

    std::unique_ptr<pylomir::ui::ObjectInfoWindow> infoWindow;
    std::unique_ptr<pylomir::ui::GoToLocationDialog> goDialog;
};

TEST_F(ObjectInfoWindowTest, ShowsTheAssessedFileBesideItsKnownType) {
    fs.add(QStringLiteral("/r/SCANDISK.LOG"), 5000000, platform::faArchive);
    model().foundList.assign({QStringLiteral("/r/SCANDISK.LOG")});
    model().foundList.setCurrent(0);
    window->assessCurrentFound();
    openFromFound();
    pylomir::ui::ObjectInfoWindow& w = *infoWindow;

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Szczegóły obiektu"));
    EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("scandisk.log"));
    EXPECT_EQ(w.fileNameLabel()->text(), QStringLiteral("SCANDISK.LOG"));
    EXPECT_EQ(w.extensionLabel()->text(), QStringLiteral(".LOG"));
    EXPECT_EQ(w.sizeLabel()->text(), QStringLiteral("5000000 bajtów,  4882 KB"));
    EXPECT_EQ(w.locationLabel()->text(), QStringLiteral("/r/SCANDISK.LOG"));
    EXPECT_EQ(w.locationLabel()->toolTip(), QStringLiteral("/r/SCANDISK.LOG"));
    EXPECT_EQ(w.commentLabel()->text(), core::commentText(core::AlertRule::Suspicious));
    EXPECT_EQ(w.riskLabel()->text(), QStringLiteral("Wysoki"));
    EXPECT_TRUE(w.riskLabel()->font().bold());
    EXPECT_EQ(w.riskLabel()->palette().color(QPalette::WindowText),
              pylomir::ui::alertColour(AlertLevel::High));
    EXPECT_EQ(w.attributesLabel()->text(), QStringLiteral("Archiwalny"));
    EXPECT_EQ(w.modifiedLabel()->text(), model().alert.details->modifiedText);
    EXPECT_EQ(w.descriptionLabel()->text(),
              assess::lookUpKnownType(u"scandisk.log", u".log").description);
    EXPECT_EQ(w.frequencyBar()->text(), QStringLiteral("70 % występowania"));
    EXPECT_EQ(w.positionLabel()->text(), QStringLiteral("Plik 1  /  1"));
    for (const AlertLevel level : {AlertLevel::Low, AlertLevel::Medium, AlertLevel::High})
        EXPECT_EQ(w.alertImage(level)->isHidden(), level != AlertLevel::High);

    // A path too long for the field is shortened there and read whole from its hint.
    const QString deep = QStringLiteral("/r/") + QString(40, QLatin1Char('k')) +
                         QStringLiteral("/") + QString(60, QLatin1Char('n')) +
                         QStringLiteral(".tmp");
    listFound({deep}, 0);
    openFromFound();
    EXPECT_EQ(w.locationLabel()->toolTip(), deep);
    EXPECT_NE(w.locationLabel()->text(), deep);
    EXPECT_TRUE(w.locationLabel()->text().contains(QChar(0x2026)));
    EXPECT_TRUE(w.alertImage(AlertLevel::Low)->isHidden() == false);
}

TEST_F(ObjectInfoWindowTest, BeforeAnyAssessmentEveryValueIsADash) {
    model().foundList.assign({QStringLiteral("/r/a.tmp")});
    model().foundList.setCurrent(0);
    openFromFound();
    pylomir::ui::ObjectInfoWindow& w = *infoWindow;
    for (const QLabel* value :
         {w.fileNameLabel(), w.extensionLabel(), w.sizeLabel(), w.locationLabel(),
          w.commentLabel(), w.riskLabel(), w.modifiedLabel(), w.attributesLabel()})
        EXPECT_EQ(value->text(), QStringLiteral("-"));
    EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("-"));
    EXPECT_EQ(w.descriptionLabel()->text(), assess::unknownFileType().description);
    EXPECT_EQ(w.frequencyBar()->text(), QStringLiteral("0 % występowania"));
    for (const AlertLevel level : {AlertLevel::Low, AlertLevel::Medium, AlertLevel::High})
        EXPECT_TRUE(w.alertImage(level)->isHidden());
    w.addToIgnoredMasksButton()->click();
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Nie podano żadnego typu filtra !")});
}

TEST_F(ObjectInfoWindowTest, ArrowsAndCounterBelongToTheFoundList) {
    listFound({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/b.tmp")}, 1);
    model().ignore.ignoredFiles.assign({QStringLiteral("/r/a.tmp")});
    model().ignore.ignoredFiles.setCurrent(0);
    pylomir::ui::ObjectInfoWindow& w = *infoWindow;
    const struct {
        bool fromFound;
    } rows[] = {{false}, {true}, {false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.fromFound);
        if (r.fromFound)
            window->objectInfo().openFromFound();
        else
            window->objectInfo().openFromIgnored();
        w.show();
        w.sync();
        EXPECT_EQ(w.previousButton()->isEnabled(), r.fromFound);
        EXPECT_EQ(w.nextButton()->isEnabled(), r.fromFound);
        EXPECT_EQ(w.positionLabel()->isHidden(), !r.fromFound);
        EXPECT_EQ(w.positionLabel()->text(), QStringLiteral("Plik 2  /  2"));
    }
    EXPECT_EQ(w.previousButton()->toolTip(), QStringLiteral("Poprzedni znaleziony plik"));
    EXPECT_EQ(w.nextButton()->toolTip(), QStringLiteral("Następny znaleziony plik."));
}

TEST_F(ObjectInfoWindowTest, ButtonsAndTheNameFieldReachTheCore) {
    listFound({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/sub/b.tmp")}, 0);
    pylomir::ui::ObjectInfoWindow& w = *infoWindow;
    const core::ObjectInfoState& info = model().objectInfo;

    openFromFound();
    w.nextButton()->click();
    EXPECT_EQ(model().foundList.current(), 1);
    EXPECT_EQ(model().alert.details->name, QStringLiteral("b.tmp"));
    EXPECT_FALSE(info.visible);
    EXPECT_TRUE(info.reopenTimer.enabled);
    window->objectInfo().reopenObjectInfo();
    w.sync();
    EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("b.tmp"));

    // What is typed is held in lower case, and that is the mask added.
    w.nameEdit()->selectAll();
    pylomir::testing::typeInto(w.nameEdit(), QStringLiteral("*.TMP"));
    EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("*.tmp"));
    EXPECT_EQ(info.nameText, QStringLiteral("*.tmp"));
    w.addToIgnoredMasksButton()->click();
    EXPECT_EQ(model().ignore.ignoredMasks, QStringList{QStringLiteral("*.tmp")});
    EXPECT_TRUE(info.visible);

    w.openFileButton()->click();
    EXPECT_EQ(ui.opened, QStringList{QStringLiteral("/r/sub/b.tmp")});
    EXPECT_FALSE(info.visible);

    openFromFound();
    w.goToLocationButton()->click();
    EXPECT_EQ(ui.windows.back(), WindowId::GoToLocation);
    EXPECT_EQ(goDialog->folderEdit()->text(), QStringLiteral("/r/sub/"));
    EXPECT_FALSE(info.visible);

    openFromFound();
    w.filterDescriptionsButton()->click();
    EXPECT_EQ(model().activeTab, core::MainTab::FilterDescriptions);
    EXPECT_FALSE(info.visible);
}

TEST_F(ObjectInfoWindowTest, FixedSizesAndNothingClipped) {
    pylomir::ui::ObjectInfoWindow& w = *infoWindow;
    w.show();
    goDialog->show();
    EXPECT_EQ(w.size(), QSize(463, 402));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinMaxButtonsHint);
    expectCaptionsWhole(&w);
    // Every comment in two lines, every known description in its field.
    QLabel* comment = w.commentLabel();
    for (const core::AlertRule rule :
         {core::AlertRule::InstallerLog, core::AlertRule::SystemExtension, core::AlertRule::Empty,
          core::AlertRule::Small, core::AlertRule::Noticeable, core::AlertRule::Suspicious,
          core::AlertRule::TooLarge}) {
        comment->setText(core::commentText(rule));
        EXPECT_LE(comment->heightForWidth(comment->width()), comment->height())
            << comment->text().toStdString();
    }
    QLabel* description = w.descriptionLabel();
    const assess::KnownFileTypes& table = assess::knownFileTypes();
    for (const auto* section : {&table.byName, &table.byExtension}) {
        for (const assess::KnownFileType& row : *section) {
            description->setText(row.description);
            EXPECT_LE(description->heightForWidth(description->width()), description->height())
                << row.key.toStdString();
        }
    }

    pylomir::ui::GoToLocationDialog& d = *goDialog;
    EXPECT_EQ(d.size(), QSize(386, 78));
    EXPECT_EQ(d.folderEdit()->width(), 369);
    EXPECT_TRUE(d.windowFlags() & Qt::FramelessWindowHint);
    expectCaptionsWhole(&d);
}

TEST_F(ObjectInfoWindowTest, TheGoToDialogOpensWhatTheFieldHoldsOnEnterAndNothingOnEscape) {
    listFound({QStringLiteral("/r/sub/b.tmp")}, 0);
    ui.onShowWindow = [this](WindowId id) {
        if (id == WindowId::GoToLocation)
            goDialog->present();
    };
    const struct {
        const char* typed;
        Qt::Key key;
        const char* opened; // "" for nothing
    } rows[] = {
        {"", Qt::Key_Escape, ""},
        {"", Qt::Key_Return, "/r/sub/"},
        {"inny/", Qt::Key_Return, "/r/sub/inny/"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.typed << " " << r.key);
        ui.opened.clear();
        QTimer::singleShot(0, goDialog.get(), [&] {
            QLineEdit* edit = goDialog->folderEdit();
            edit->end(false);
            pylomir::testing::typeInto(edit, QString::fromUtf8(r.typed));
            pressKey(edit, r.key);
        });
        // Never wait on a dialog that fails to close.
        QTimer::singleShot(5000, goDialog.get(), [&] {
            if (goDialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed up";
                goDialog->done(0);
            }
        });
        window->goToLocation().goToFileLocation();
        EXPECT_FALSE(goDialog->isVisible());
        EXPECT_FALSE(model().goToLocation.visible);
        EXPECT_EQ(ui.opened, *r.opened ? QStringList{QString::fromUtf8(r.opened)} : QStringList());
    }
    // "Anuluj" opens nothing either.
    QTimer::singleShot(0, goDialog.get(), [&] { goDialog->cancelButton()->click(); });
    window->goToLocation().goToFileLocation();
    EXPECT_FALSE(goDialog->isVisible());
    EXPECT_EQ(ui.opened.size(), 1);
}

// The arrows close the modal window and the main window's timer opens it
// again on the next entry, as the user sees it.
TEST_F(ObjectInfoWindowTest, SteppingClosesAndReopensTheModalWindow) {
    listFound({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/b.tmp")}, 0);
    pylomir::ui::MainWindow main(*window, nullptr);
    pylomir::ui::ObjectInfoWindow& w = *main.objectInfoWindow();
    QStringList shownNames;
    const std::function<void()> onShow[] = {
        [&] { w.nextButton()->click(); },
        [&] { pressKey(&w, Qt::Key_Escape); },
    };
    ui.onShowWindow = [&](WindowId id) {
        const size_t n = size_t(shownNames.size());
        QTimer::singleShot(0, &w, [&, n] {
            shownNames << w.nameEdit()->text();
            if (n < std::size(onShow))
                onShow[n]();
            else
                w.done(0);
        });
        main.showWindow(id);
    };
    main.foundDetailsAction()->trigger();
    QElapsedTimer waited;
    waited.start();
    while (shownNames.size() < 2 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    EXPECT_EQ(shownNames, QStringList({QStringLiteral("a.tmp"), QStringLiteral("b.tmp")}));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(model().objectInfo.visible);
    EXPECT_FALSE(model().objectInfo.reopenTimer.enabled);
}

} // namespace
