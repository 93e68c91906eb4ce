// The "Opisy filtrów" tab as the user sees it: the rows with their icons and
// tooltips, the legend, the sort check box, and room for every caption.
#include "support/window_fixture.h"
#include "ui/filter_descriptions_page.h"
#include "ui/hint_switch.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTextDocumentFragment>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace {

using namespace pylomir;
using assess::FilterCategory;

QImage imageOf(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

class FilterDescriptionsPageTest : public pylomir::testing::WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // As the main window runs a command: the action, then a redraw.
        page = std::make_unique<ui::FilterDescriptionsPage>(
            *window,
            [this](const std::function<void()>& action) {
                action();
                page->sync();
            },
            hints);
        page->resize(728, 410);
        page->show();
    }
    void TearDown() override { page.reset(); }

    QTreeWidget* list() const { return page->descriptionList(); }
    QStringList shownMasks() const {
        QStringList masks;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            masks << list()->topLevelItem(i)->text(0);
        return masks;
    }
    QStringList sortedMasks() const {
        QStringList masks = shownMasks();
        std::sort(masks.begin(), masks.end(),
                  [this](const auto& a, const auto& b) { return locale.lessIgnoringCase(a, b); });
        return masks;
    }

    ui::HintSwitch hints;
    std::unique_ptr<ui::FilterDescriptionsPage> page;
};

TEST_F(FilterDescriptionsPageTest, ListsEveryRowWithItsIconAndWholeDescription) {
    EXPECT_EQ(list()->headerItem()->text(0), QStringLiteral("Typ pliku"));
    EXPECT_EQ(list()->headerItem()->text(1), assess::descriptionColumnCaption());
    const QList<assess::FilterDescription>& rows = assess::filterDescriptions();
    ASSERT_EQ(list()->topLevelItemCount(), 252);
    QImage icons[assess::kFilterCategoryCount];
    for (int c = 0; c < assess::kFilterCategoryCount; ++c)
        icons[c] = imageOf(ui::categoryIcon(static_cast<FilterCategory>(c)));
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list()->topLevelItem(i);
        const assess::FilterDescription& row = rows[i];
        SCOPED_TRACE(row.mask.toStdString());
        EXPECT_EQ(item->text(0), row.mask);
        EXPECT_EQ(item->text(1), row.description);
        ASSERT_FALSE(item->icon(0).isNull());
        EXPECT_EQ(imageOf(item->icon(0)), icons[int(row.category)]);
        // The tooltip gives the text the column cuts short.
        const QString tip = QTextDocumentFragment::fromHtml(item->toolTip(1)).toPlainText();
        EXPECT_TRUE(tip.contains(row.description));
        EXPECT_EQ(item->toolTip(0), item->toolTip(1));
    }
}

TEST_F(FilterDescriptionsPageTest, EightDistinctIconsOfSixteenPixels) {
    for (int a = 0; a < assess::kFilterCategoryCount; ++a) {
        const QIcon icon = ui::categoryIcon(static_cast<FilterCategory>(a));
        EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
        for (int b = a + 1; b < assess::kFilterCategoryCount; ++b)
            EXPECT_NE(imageOf(icon), imageOf(ui::categoryIcon(static_cast<FilterCategory>(b))))
                << a << " and " << b;
    }
}

TEST_F(FilterDescriptionsPageTest, LegendStandsInThreeColumns) {
    // Each column top to bottom; the third leaves its middle line empty.
    const std::optional<FilterCategory> columns[3][3] = {
        {FilterCategory::Temporary, FilterCategory::Internet, FilterCategory::InfoAndText},
        {FilterCategory::UnknownAppTemporary, FilterCategory::LogsAndReports,
         FilterCategory::RiskyToDelete},
        {FilterCategory::RegistryBackup, std::nullopt, FilterCategory::ProgramBackup},
    };
    for (int column = 0; column < 3; ++column) {
        for (int line = 0; line < 3; ++line) {
            SCOPED_TRACE(::testing::Message() << "line " << line << ", column " << column);
            const std::optional<FilterCategory> category = columns[column][line];
            QLabel* caption = page->legendCaption(line, column);
            QLabel* icon = page->legendIcon(line, column);
            if (!category) {
                EXPECT_EQ(caption, nullptr);
                EXPECT_EQ(icon, nullptr);
                continue;
            }
            ASSERT_NE(caption, nullptr);
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(caption->text(), assess::categoryCaption(*category));
            EXPECT_EQ(icon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                      imageOf(ui::categoryIcon(*category)));
            // Seen on screen: left to right by column, top to bottom by line.
            const QPoint at = caption->mapTo(page.get(), QPoint(0, 0));
            if (column > 0) {
                const QLabel* left = page->legendCaption(line, column - 1);
                EXPECT_GE(at.x(), left->mapTo(page.get(), QPoint(0, 0)).x() + left->width());
            }
            if (const QLabel* above = page->legendCaption(line - 1, column)) {
                EXPECT_GE(at.y(), above->mapTo(page.get(), QPoint(0, 0)).y() + above->height());
            }
        }
    }
}

TEST_F(FilterDescriptionsPageTest, CheckBoxSortsTheViewAndUncheckingKeepsTheOrder) {
    QCheckBox* box = page->sortedCheckBox();
    EXPECT_EQ(box->text(), QStringLiteral("Sortuj listę opisów plików tymczasowych według "
                                          "kolejności alfabetycznej"));
    ASSERT_FALSE(box->isChecked());
    const QStringList stored = shownMasks();
    ASSERT_NE(stored, sortedMasks());

    box->click();
    EXPECT_TRUE(model().filterDescriptions.sorted);
    const QStringList sorted = shownMasks();
    EXPECT_EQ(sorted, sortedMasks());
    EXPECT_EQ(sorted.size(), 252);

    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(model().filterDescriptions.sorted);
    EXPECT_EQ(shownMasks(), sorted);

    box->click();
    EXPECT_EQ(shownMasks(), sorted);

    // The model's state reaches the box too.
    model().filterDescriptions.sorted = false;
    page->sync();
    EXPECT_FALSE(box->isChecked());
}

TEST_F(FilterDescriptionsPageTest, ARedrawWithNothingChangedKeepsTheRowsAndCurrentRow) {
    QTreeWidgetItem* first = list()->topLevelItem(0);
    list()->setCurrentItem(list()->topLevelItem(40));
    page->sync();
    EXPECT_EQ(list()->topLevelItem(0), first);
    EXPECT_EQ(list()->indexOfTopLevelItem(list()->currentItem()), 40);
    // A reorder keeps the current row current, wherever it lands.
    QTreeWidgetItem* current = list()->currentItem();
    page->sortedCheckBox()->click();
    EXPECT_EQ(list()->currentItem(), current);
}

TEST_F(FilterDescriptionsPageTest, EveryCaptionHasRoomInTheTab) {
    // The tab's size is fixed: the page may not ask for more.
    EXPECT_LE(page->minimumSizeHint().width(), 728);
    EXPECT_LE(page->minimumSizeHint().height(), 410);
    ASSERT_EQ(page->size(), QSize(728, 410));
    QHeaderView* header = list()->header();
    const QFontMetrics headerMetrics(header->font());
    EXPECT_GE(header->sectionSize(1),
              headerMetrics.horizontalAdvance(assess::descriptionColumnCaption()) + 8);
    EXPECT_LE(header->sectionSize(0) + header->sectionSize(1), list()->viewport()->width());
    const QFontMetrics listMetrics(list()->font());
    int widestMask = 0;
    for (const assess::FilterDescription& row : assess::filterDescriptions())
        widestMask = std::max(widestMask, listMetrics.horizontalAdvance(row.mask));
    EXPECT_GE(header->sectionSize(0), widestMask + 16);

    // The legend's captions, whole, and the check box beneath them.
    QList<QWidget*> shown{page->sortedCheckBox()};
    for (int line = 0; line < 3; ++line) {
        for (int column = 0; column < 3; ++column) {
            QLabel* caption = page->legendCaption(line, column);
            if (!caption)
                continue;
            SCOPED_TRACE(caption->text().toStdString());
            shown << caption << page->legendIcon(line, column);
            if (caption->wordWrap())
                EXPECT_GE(caption->height(), caption->heightForWidth(caption->width()));
            else
                EXPECT_GE(caption->width(), caption->sizeHint().width());
        }
    }
    EXPECT_GE(page->sortedCheckBox()->width(), page->sortedCheckBox()->sizeHint().width());
    for (qsizetype a = 0; a < shown.size(); ++a) {
        const QRect rect(shown[a]->mapTo(page.get(), QPoint(0, 0)), shown[a]->size());
        EXPECT_TRUE(page->rect().contains(rect));
        for (qsizetype b = a + 1; b < shown.size(); ++b) {
            const QRect other(shown[b]->mapTo(page.get(), QPoint(0, 0)), shown[b]->size());
            EXPECT_FALSE(rect.intersects(other)) << a << " and " << b;
        }
    }
}

} // namespace
