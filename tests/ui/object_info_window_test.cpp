// The object information window and the go-to-location dialog as the user
// sees them: values and their looks, arrows and counter, buttons, and the
// modal loops that end when the model says so.
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

namespace {

using namespace pylomir;
using core::AlertLevel;

void pressKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class ObjectInfoWindowTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        main = std::make_unique<pylomir::ui::MainWindow>(*window, nullptr);
        ui.onShowWindow = [this](core::WindowId id) { main->showWindow(id); };
    }
    void TearDown() override { main.reset(); }
    void listFound(const QStringList& paths, qsizetype current, qint64 size = 100) {
        for (const QString& path : paths)
            fs.add(path, size);
        model().foundList.assign(paths);
        model().foundList.setCurrent(current);
    }
    // Opens the window and runs check inside its modal loop, then closes it
    // as Escape would.
    void whileOpen(const std::function<void()>& open, const std::function<void()>& check) {
        pylomir::ui::ObjectInfoWindow* w = main->objectInfoWindow();
        QTimer::singleShot(0, w, [w, check] {
            check();
            w->reject();
        });
        open();
    }
    std::unique_ptr<pylomir::ui::MainWindow> main;
};

TEST_F(ObjectInfoWindowTest, ShowsTheAssessedFileAndTheArrowsOfItsList) {
    pylomir::ui::ObjectInfoWindow& w = *main->objectInfoWindow();
    listFound({"/r/SCANDISK.LOG"}, 0, 5000000);
    whileOpen([this] { window->objectInfo().openFromFound(); },
              [&] {
                  for (const QLabel* value :
                       {w.fileNameLabel(), w.extensionLabel(), w.sizeLabel(), w.locationLabel(),
                        w.riskLabel(), w.attributesLabel()})
                      EXPECT_EQ(value->text(), QStringLiteral("-"));
                  EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("-"));
                  EXPECT_EQ(w.frequencyBar()->text(), QStringLiteral("0 % występowania"));
                  EXPECT_TRUE(w.alertImage(AlertLevel::High)->isHidden());
              });

    window->assessCurrentFound();
    whileOpen([this] { window->objectInfo().openFromFound(); },
              [&] {
                  EXPECT_EQ(w.nameEdit()->text(), QStringLiteral("scandisk.log"));
                  EXPECT_EQ(w.extensionLabel()->text(), QStringLiteral(".LOG"));
                  EXPECT_EQ(w.sizeLabel()->text(), QStringLiteral("5000000 bajtów,  4882 KB"));
                  EXPECT_EQ(w.locationLabel()->toolTip(), QStringLiteral("/r/SCANDISK.LOG"));
                  EXPECT_EQ(w.commentLabel()->text(),
                            core::commentText(core::AlertRule::Suspicious));
                  EXPECT_EQ(w.riskLabel()->text(), QStringLiteral("Wysoki"));
                  EXPECT_TRUE(w.riskLabel()->font().bold());
                  EXPECT_EQ(w.riskLabel()->palette().color(QPalette::WindowText),
                            pylomir::ui::alertColour(AlertLevel::High));
                  EXPECT_FALSE(w.alertImage(AlertLevel::High)->isHidden());
                  EXPECT_EQ(w.frequencyBar()->text(), QStringLiteral("70 % występowania"));
                  EXPECT_TRUE(w.nextButton()->isEnabled());
                  EXPECT_TRUE(w.positionLabel()->isVisible());
              });

    model().ignore.ignoredFiles.assign({"/r/" + QString(120, 'n') + ".tmp"});
    model().ignore.ignoredFiles.setCurrent(0);
    fs.add(model().ignore.ignoredFiles.path(0), 10);
    window->assessCurrentIgnored();
    whileOpen([this] { window->objectInfo().openFromIgnored(); },
              [&] {
                  EXPECT_FALSE(w.previousButton()->isEnabled());
                  EXPECT_FALSE(w.nextButton()->isEnabled());
                  EXPECT_FALSE(w.positionLabel()->isVisible());
                  // Too long for the field: shortened there, whole in its hint.
                  EXPECT_TRUE(w.locationLabel()->text().contains(QChar(0x2026)));
                  EXPECT_EQ(w.locationLabel()->toolTip(), model().ignore.ignoredFiles.path(0));
              });
}

TEST_F(ObjectInfoWindowTest, AnArrowClosesTheWindowAndTheTimerReopensItOnTheNextEntry) {
    pylomir::ui::ObjectInfoWindow& w = *main->objectInfoWindow();
    listFound({"/r/a.tmp", "/r/b.tmp"}, 0);
    window->assessCurrentFound();
    // Escape closes it for good.
    QStringList shownNames;
    ui.onShowWindow = [&](core::WindowId id) {
        QTimer::singleShot(0, &w, [&] {
            shownNames << w.nameEdit()->text();
            if (shownNames.size() == 1)
                w.nextButton()->click();
            else
                pressKey(&w, Qt::Key_Escape);
        });
        main->showWindow(id);
    };
    main->foundDetailsAction()->trigger();
    QElapsedTimer waited;
    waited.start();
    while (shownNames.size() < 2 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(shownNames, QStringList({"a.tmp", "b.tmp"}));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(model().objectInfo.visible);

    // What is typed into the name field is held in lower case.
    ui.onShowWindow = [this](core::WindowId id) { main->showWindow(id); };
    whileOpen([this] { window->objectInfo().openFromFound(); },
              [&] {
                  w.nameEdit()->selectAll();
                  pylomir::testing::typeInto(w.nameEdit(), QStringLiteral("*.TMP"));
                  w.addToIgnoredMasksButton()->click();
              });
    EXPECT_EQ(model().ignore.ignoredMasks, QStringList{"*.tmp"});
}

TEST_F(ObjectInfoWindowTest, TheGoToDialogOpensWhatTheFieldHoldsOnEnterOnly) {
    pylomir::ui::GoToLocationDialog& d = *main->goToLocationDialog();
    listFound({"/r/sub/b.tmp"}, 0);
    const struct {
        const char* typed;
        Qt::Key key;
        const char* opened; // "" for nothing
    } rows[] = {{"", Qt::Key_Escape, ""},
                {"", Qt::Key_Return, "/r/sub/"},
                {"x/", Qt::Key_Return, "/r/sub/x/"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.typed << " " << r.key);
        ui.opened.clear();
        QTimer::singleShot(0, &d, [&] {
            d.folderEdit()->end(false);
            pylomir::testing::typeInto(d.folderEdit(), QString::fromUtf8(r.typed));
            pressKey(d.folderEdit(), r.key);
        });
        window->goToLocation().goToFileLocation();
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(model().goToLocation.visible);
        EXPECT_EQ(ui.opened, *r.opened ? QStringList{QString::fromUtf8(r.opened)} : QStringList());
    }
    QTimer::singleShot(0, &d, [&] { d.cancelButton()->click(); });
    window->goToLocation().goToFileLocation();
    EXPECT_EQ(ui.opened.size(), 1);
}

TEST_F(ObjectInfoWindowTest, FixedSizesWithEveryTextInItsField) {
    pylomir::ui::ObjectInfoWindow& w = *main->objectInfoWindow();
    pylomir::ui::GoToLocationDialog& d = *main->goToLocationDialog();
    w.show();
    d.show();
    EXPECT_EQ(w.size(), QSize(463, 402));
    EXPECT_EQ(d.size(), QSize(386, 78));
    EXPECT_EQ(d.folderEdit()->width(), 369);
    for (QWidget* root : {static_cast<QWidget*>(&w), static_cast<QWidget*>(&d)}) {
        for (QWidget* c : root->findChildren<QWidget*>()) {
            if (c->isHidden() || !(qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c)))
                continue;
            EXPECT_TRUE(root->rect().contains(QRect(c->mapTo(root, QPoint()), c->size())));
            if (!qobject_cast<QLabel*>(c) || !qobject_cast<QLabel*>(c)->wordWrap()) {
                EXPECT_GE(c->width(), c->sizeHint().width()) << c->metaObject()->className();
            }
        }
    }
    const auto fits = [](QLabel* label, const QString& text) {
        label->setText(text);
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << text.toStdString();
    };
    for (int rule = 0; rule <= int(core::AlertRule::TooLarge); ++rule)
        fits(w.commentLabel(), core::commentText(core::AlertRule(rule)));
    const assess::KnownFileTypes& table = assess::knownFileTypes();
    for (const auto* section : {&table.byName, &table.byExtension})
        for (const assess::KnownFileType& row : *section)
            fits(w.descriptionLabel(), row.description);
}

} // namespace
