// The "Wybór filtrów" and "Ustawienia" tabs driven as a user would: clicks,
// typing and check boxes, with the results read back from the widgets.
#include "app/main_window_core.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/program_dir.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "support/scripted_ui.h"
#include "ui/about_page.h"
#include "ui/filter_descriptions_page.h"
#include "ui/filters_page.h"
#include "ui/gui_message_pump.h"
#include "ui/hint_switch.h"
#include "ui/ignore_lists_page.h"
#include "ui/main_tabs.h"
#include "ui/main_window.h"
#include "ui/recovery_page.h"
#include "ui/settings_page.h"
#include "ui/widget_input.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace pylomir;
using core::FilterMode;
using core::OptionsState;

namespace {

using pylomir::testing::clickInto;
using pylomir::testing::clickRow;
using pylomir::testing::pressEnter;
using pylomir::testing::typeInto;

const QStringList kSafe = {"*.tmp", "*.bak", "~*.*"};
const QStringList kLessSafe = {"*.tmp", "*.bak", "~*.*", "*.log", "*.old"};
const QStringList kAdvanced = {"*.tmp", "*.bak", "~*.*", "*.log", "*.old", "*.reg", "*.dmp"};
const QStringList kUser = {"*.tmp", "*.chk"};

QStringList shownFilters(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

class OptionsTabsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("PYLOMIR_HOME", QFile::encodeName(home_.path()));
        ASSERT_TRUE(QDir(home_.path()).mkpath("Filtry"));
        const std::pair<const char*, QStringList> sets[] = {{"filtr_a1.dat", kSafe},
                                                            {"filtr_a2.dat", kLessSafe},
                                                            {"filtr_a3.dat", kAdvanced},
                                                            {"filtr_user.dat", kUser}};
        for (const auto& [name, masks] : sets)
            ASSERT_TRUE(
                platform::writeListFile(platform::realFileSystem(), filterFile(name), masks));

        settings_ = platform::openSettingsStore(home_.filePath("settings.ini"));
        ASSERT_TRUE(settings_->createKey("Skanowan"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "Liczba", "0"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "LOGKatalog", "/var/log/pylomir/"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "BAKKatalog", "/var/backups/pylomir/"));
        ASSERT_TRUE(settings_->writeString("Skanowan", "RozmiarIgnoral", "670000"));
        ASSERT_TRUE(settings_->createKey("Ustawienia"));
        ASSERT_TRUE(settings_->writeString("Ustawienia", "Bezpieczny", "1"));

        services_ = core::machineServices(*settings_, locale_, ui_, pump_);
        core_ = std::make_unique<app::MainWindowCore>(services_);
        core_->startUp();
        window_ = std::make_unique<ui::MainWindow>(*core_, &pump_);
        window_->show();
        filters_ = window_->filtersPage();
        settingsTab_ = window_->settingsPage();
    }

    void TearDown() override {
        window_.reset();
        qunsetenv("PYLOMIR_HOME");
    }

    QString filterFile(const char* name) const { return home_.filePath("Filtry/") + name; }

    QStringList fileMasks(const char* name) const {
        QStringList lines;
        EXPECT_TRUE(platform::readListFile(platform::realFileSystem(), filterFile(name), lines));
        return lines;
    }

    QRadioButton* radio(FilterMode mode) const { return filters_->modeButton(mode); }
    FilterMode checkedMode() const {
        for (FilterMode mode : {FilterMode::Safe, FilterMode::LessSafe, FilterMode::Advanced,
                                FilterMode::UserDefined}) {
            if (radio(mode)->isChecked())
                return mode;
        }
        ADD_FAILURE() << "no mode shown as selected";
        return FilterMode::Safe;
    }

    QTemporaryDir home_;
    std::unique_ptr<platform::SettingsStore> settings_;
    platform::LocaleFormats locale_{QLocale(QLocale::Polish, QLocale::Poland)};
    pylomir::testing::ScriptedUi ui_;
    ui::GuiMessagePump pump_;
    core::Services services_;
    std::unique_ptr<app::MainWindowCore> core_;
    std::unique_ptr<ui::MainWindow> window_;
    ui::FiltersPage* filters_ = nullptr;
    ui::SettingsPage* settingsTab_ = nullptr;
};

TEST_F(OptionsTabsTest, EachModeShowsItsFiltersAndCountAndOnlyItsRadio) {
    EXPECT_EQ(shownFilters(*filters_->filterList()), kSafe);
    EXPECT_EQ(filters_->filterCountLabel()->text(), "3");

    struct Case {
        FilterMode mode;
        QStringList masks;
        bool warning;
    };
    const Case cases[] = {{FilterMode::LessSafe, kLessSafe, false},
                          {FilterMode::Advanced, kAdvanced, true},
                          {FilterMode::UserDefined, kUser, false},
                          {FilterMode::Safe, kSafe, false}};
    for (const Case& c : cases) {
        ui_.boxes.clear();
        radio(c.mode)->click();
        EXPECT_EQ(shownFilters(*filters_->filterList()), c.masks);
        EXPECT_EQ(filters_->filterCountLabel()->text(), QString::number(c.masks.size()));
        EXPECT_EQ(checkedMode(), c.mode);
        for (QRadioButton* other : filters_->findChildren<QRadioButton*>())
            EXPECT_EQ(other->isChecked(), other == radio(c.mode)) << other->text().toStdString();
        EXPECT_EQ(ui_.boxes.size() == 1 && ui_.boxes[0].caption == "Uwaga !! ", c.warning);
    }

    // A second click on the selected mode neither unselects it nor reloads.
    core_->model().filters.filters.append("*.kept");
    radio(FilterMode::Safe)->click();
    EXPECT_TRUE(radio(FilterMode::Safe)->isChecked());
    EXPECT_EQ(filters_->filterList()->count(), kSafe.size() + 1);

    // A model with no mode selected shows none.
    core_->model().filters.selectedMode.reset();
    window_->syncViews();
    for (QRadioButton* r : filters_->findChildren<QRadioButton*>())
        EXPECT_FALSE(r->isChecked()) << r->text().toStdString();
}

TEST_F(OptionsTabsTest, AddingOutsideTheUserModeSwitchesFirstAndAddsOnTheSecondPress) {
    typeInto(filters_->newFilterEdit(), "*.xyz");
    EXPECT_EQ(core_->model().filters.newFilterText, "*.xyz");
    EXPECT_EQ(checkedMode(), FilterMode::Safe); // typing alone picks no mode

    filters_->addButton()->click();
    EXPECT_EQ(ui_.texts(),
              QStringList{"Dodawać nowe filtry możesz we własnym trybie. Zostaniesz przełączony "
                          "do \"Ustawienia użytkownika\""});
    EXPECT_EQ(checkedMode(), FilterMode::UserDefined);
    EXPECT_EQ(shownFilters(*filters_->filterList()), kUser);
    EXPECT_EQ(filters_->newFilterEdit()->text(), "*.xyz");

    filters_->addButton()->click();
    EXPECT_EQ(shownFilters(*filters_->filterList()), kUser + QStringList{"*.xyz"});
    EXPECT_EQ(filters_->filterCountLabel()->text(), "3");
    EXPECT_EQ(fileMasks("filtr_user.dat"), kUser + QStringList{"*.xyz"});

    // A click into the field, unlike typing, picks the user's mode.
    radio(FilterMode::Safe)->click();
    clickInto(filters_->newFilterEdit());
    EXPECT_EQ(checkedMode(), FilterMode::UserDefined);
}

TEST_F(OptionsTabsTest, DeletingTheEntrySelectedInTheListRewritesTheModesFile) {
    QListWidget* list = filters_->filterList();
    filters_->deleteButton()->click();
    EXPECT_EQ(ui_.texts(), QStringList{"Nie zaznaczono żadnego typu filtra do usunięcia !"});

    list->setCurrentRow(1);
    EXPECT_EQ(core_->model().filters.selectedFilter, 1);
    filters_->deleteButton()->click();
    const QStringList left = {"*.tmp", "~*.*"};
    EXPECT_EQ(shownFilters(*list), left);
    EXPECT_EQ(fileMasks("filtr_a1.dat"), left);
    EXPECT_EQ(filters_->filterCountLabel()->text(), "2");
    // Nothing is selected afterwards, so a second press deletes nothing.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    filters_->deleteButton()->click();
    EXPECT_EQ(fileMasks("filtr_a1.dat"), left);
}

TEST_F(OptionsTabsTest, HintSwitchClearsTheListedHintsButKeepsTheStartButtons) {
    QCheckBox* hintsBox = settingsTab_->optionCheck(&OptionsState::showHints);
    ASSERT_NE(hintsBox, nullptr);
    ASSERT_TRUE(hintsBox->isChecked());
    std::vector<QWidget*> governed = {
        window_->folderTree(),         window_->closeButton(),      window_->fullListButton(),
        window_->pauseButton(),        settingsTab_->saveButton(),  filters_->storeModeButton(),
        filters_->addButton(),         filters_->deleteButton(),    filters_->sortButton(),
        radio(FilterMode::Safe),       radio(FilterMode::LessSafe), radio(FilterMode::Advanced),
        radio(FilterMode::UserDefined)};
    for (QWidget* w : governed)
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->metaObject()->className();

    hintsBox->click();
    EXPECT_FALSE(core_->model().options.hintsShown());
    for (QWidget* w : governed)
        EXPECT_TRUE(w->toolTip().isEmpty()) << w->metaObject()->className();
    EXPECT_FALSE(window_->startButton()->toolTip().isEmpty());

    // A folder change turns the tree's own flag on; the switch still rules.
    window_->selectFolder(home_.path());
    EXPECT_TRUE(window_->folderTree()->toolTip().isEmpty());

    hintsBox->click();
    EXPECT_EQ(radio(FilterMode::Safe)->toolTip(),
              "Skanowanie potrwa około 2 minut (w zależności od ilości plików na dysku)");
    EXPECT_FALSE(window_->folderTree()->toolTip().isEmpty());
}

TEST_F(OptionsTabsTest, SettingsEditedOnTheTabAreSavedAndTheSizeFieldFollowsItsBox) {
    EXPECT_EQ(settingsTab_->logFolderEdit()->text(), "/var/log/pylomir/");
    EXPECT_EQ(settingsTab_->optionCheck(&OptionsState::includeFolders), nullptr); // hidden

    ui_.folderAnswers = {std::optional<QString>("/srv/kopie"), std::nullopt};
    settingsTab_->backupFolderButton()->click();
    settingsTab_->logFolderButton()->click(); // cancelled: unchanged
    EXPECT_EQ(settingsTab_->backupFolderEdit()->text(), "/srv/kopie/");
    EXPECT_EQ(settingsTab_->logFolderEdit()->text(), "/var/log/pylomir/");

    settingsTab_->autoIgnoreThresholdEdit()->selectAll();
    typeInto(settingsTab_->autoIgnoreThresholdEdit(), "1000");
    settingsTab_->optionCheck(&OptionsState::htmlReportsEnabled)->click();
    settingsTab_->optionCheck(&OptionsState::autoIgnore)->click();
    EXPECT_FALSE(settingsTab_->autoIgnoreThresholdEdit()->isEnabled());
    settingsTab_->saveButton()->click();

    EXPECT_EQ(settings_->readString("Skanowan", "BAKKatalog"), "/srv/kopie/");
    EXPECT_EQ(settings_->readString("Skanowan", "RozmiarIgnoral"), "1000");
    EXPECT_EQ(settings_->readString("Ustawienia", "AutoHTML"), "1");
    EXPECT_EQ(settings_->readString("Ustawienia", "Ignorowanie"), "0");
    settingsTab_->optionCheck(&OptionsState::autoIgnore)->click();
    EXPECT_TRUE(settingsTab_->autoIgnoreThresholdEdit()->isEnabled());
}

TEST_F(OptionsTabsTest, FoundListButtonsAndMenuItemsSaveAndLoadTheList) {
    core_->model().foundList.assign({QStringLiteral("/r/a.tmp"), QStringLiteral("/r/b.tmp")});
    const QString file = home_.filePath("lista.pff");
    ui_.fileAnswers = {home_.filePath("lista"), file, file};

    settingsTab_->saveFoundListButton()->click();
    ASSERT_TRUE(QFile::exists(file));
    core_->model().foundList.clear();
    settingsTab_->loadFoundListButton()->click();
    EXPECT_EQ(core_->model().foundList.paths(), QStringList({"/r/a.tmp", "/r/b.tmp"}));
    EXPECT_EQ(window_->foundCountLabel()->text(), QStringLiteral("2 plików"));

    window_->loadFoundListAction()->trigger();
    EXPECT_EQ(window_->statusLabel()->text(), QStringLiteral("Wczytano listę plików"));
    window_->saveFoundListAction()->trigger(); // no answer left: cancelled
    EXPECT_EQ(window_->statusLabel()->text(), QStringLiteral("Anulowano zapisywanie listy plików"));
}

// Every tab of the strip shows its icon and its whole caption, the strip and
// "Zamknij program" share the tab control's width without scroll arrows, and
// every control of every page gets the room it asks for inside its tab. Set
// PYLOMIR_SCREENSHOTS to a folder to keep pictures of the pages.
TEST_F(OptionsTabsTest, TabsFitTheirControlsInTheFixedWindow) {
    EXPECT_EQ(window_->size(), QSize(926, 485));
    QTabWidget* tabs = window_->tabs();
    auto* bar = qobject_cast<ui::MainTabBar*>(tabs->tabBar());
    ASSERT_NE(bar, nullptr);
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    EXPECT_EQ(captions, (QStringList{"Skanowanie...", "Wybór filtrów", "Opisy filtrów",
                                     "Odzyskiwanie", "Ignorowania", "Ustawienia", "O programie"}));
    const QRect barInTabs(bar->mapTo(tabs, QPoint(0, 0)), bar->size());
    const ui::StripButton* close = window_->closeButton();
    const QRect closeInTabs(close->mapTo(tabs, QPoint(0, 0)), close->size());
    EXPECT_TRUE(close->isVisible());
    EXPECT_EQ(close->text(), "Zamknij program");
    EXPECT_TRUE(tabs->rect().contains(closeInTabs));
    EXPECT_TRUE(close->rect().contains(close->iconRect()));
    EXPECT_TRUE(close->rect().contains(close->captionRect()));
    EXPECT_FALSE(close->iconRect().intersects(close->captionRect()));
    const QRect closeText =
        QFontMetrics(close->font())
            .boundingRect(close->captionRect(), ui::StripButton::kCaptionFlags, close->text());
    EXPECT_TRUE(close->captionRect().contains(closeText)) << closeText.width();
    QList<QImage> icons;
    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(captions[i].toStdString());
        const QRect tab = bar->tabRect(i);
        EXPECT_EQ(tab.size(), QSize(ui::kTabWidth, ui::kTabHeight));
        // Reachable without scrolling, and clear of the close button.
        EXPECT_TRUE(bar->rect().contains(tab));
        EXPECT_FALSE(tab.translated(barInTabs.topLeft()).intersects(closeInTabs));
        const QRect text = bar->captionRect(i);
        EXPECT_TRUE(tab.contains(text));
        EXPECT_TRUE(tab.contains(bar->iconRect(i)));
        EXPECT_FALSE(text.intersects(bar->iconRect(i)));
        const QFontMetrics metrics(bar->font());
        EXPECT_LE(metrics.horizontalAdvance(captions[i]), text.width());
        EXPECT_LE(metrics.height(), text.height());
        const QImage icon = tabs->tabIcon(i).pixmap(16).toImage();
        EXPECT_FALSE(icon.isNull());
        EXPECT_FALSE(icons.contains(icon)) << "the same icon as another tab";
        icons << icon;
    }

    // Hot tracking: the tab under the mouse is marked until the mouse leaves.
    const QPointF over = bar->tabRect(2).center();
    QMouseEvent move(QEvent::MouseMove, over, bar->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->hoveredTab(), 2);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    EXPECT_EQ(bar->hoveredTab(), -1);

    const QString shots = qEnvironmentVariable("PYLOMIR_SCREENSHOTS");
    const std::pair<QWidget*, const char*> pages[] = {
        {filters_, "pylomir-filters.png"},
        {window_->filterDescriptionsPage(), "pylomir-filter-descriptions.png"},
        {window_->recoveryPage(), "pylomir-recovery.png"},
        {window_->ignoreListsPage(), "pylomir-ignore-lists.png"},
        {settingsTab_, "pylomir-settings.png"},
        {window_->aboutPage(), "pylomir-about.png"}};
    for (const auto& [page, file] : pages) {
        tabs->setCurrentWidget(page);
        QApplication::processEvents();
        for (QWidget* w : page->findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(w);
            if (!w->isVisibleTo(page) || (!label && !w->inherits("QAbstractButton")))
                continue;
            const QString name = label ? label->text() : qobject_cast<QAbstractButton*>(w)->text();
            const QRect inPage(w->mapTo(page, QPoint(0, 0)), w->size());
            EXPECT_TRUE(page->rect().contains(inPage)) << name.toStdString();
            if (label && label->wordWrap()) {
                EXPECT_GE(w->height(), w->heightForWidth(w->width())) << name.toStdString();
            } else {
                EXPECT_GE(w->width(), w->sizeHint().width()) << name.toStdString();
                EXPECT_GE(w->height(), w->sizeHint().height()) << name.toStdString();
            }
        }
        if (!shots.isEmpty())
            window_->grab().save(QDir(shots).filePath(QString::fromLatin1(file)));
    }
}

// Every hint of the window stays up 40 seconds; the hint switch empties
// exactly its own set and gives each its text back.
TEST_F(OptionsTabsTest, EveryHintStaysFortySecondsAndTheSwitchGovernsItsSet) {
    std::vector<std::pair<QWidget*, QString>> hinted;
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        if (!w->toolTip().isEmpty())
            hinted.emplace_back(w, w->toolTip());
    }
    ASSERT_GT(hinted.size(), 20u);
    for (const auto& [w, hint] : hinted)
        EXPECT_EQ(w->toolTipDuration(), ui::kHintMs) << hint.toStdString();

    const std::vector<QWidget*> switched = window_->hints().widgets();
    const auto isSwitched = [&](QWidget* w) {
        return std::find(switched.begin(), switched.end(), w) != switched.end();
    };
    // The start button and the threshold field keep theirs.
    EXPECT_FALSE(isSwitched(window_->startButton()));
    EXPECT_FALSE(isSwitched(settingsTab_->autoIgnoreThresholdEdit()));
    for (QWidget* w : switched)
        EXPECT_FALSE(w->toolTip().isEmpty()) << w->metaObject()->className();

    QCheckBox* hintsBox = settingsTab_->optionCheck(&OptionsState::showHints);
    hintsBox->click();
    for (const auto& [w, hint] : hinted) {
        const bool off = isSwitched(w) || w == window_->folderTree();
        EXPECT_EQ(w->toolTip().isEmpty(), off) << hint.toStdString();
    }
    hintsBox->click();
    for (const auto& [w, hint] : hinted)
        EXPECT_EQ(w->toolTip(), hint);
}

} // namespace
