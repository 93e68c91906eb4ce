// The "Opisy filtrów" tab: every known mask with its category icon and
// description, the icons' legend and the sort check box.
#pragma once

#include "app/main_window_core.h"
#include "assess/filter_descriptions.h"
#include "ui/command_runner.h"

#include <QIcon>
#include <QList>
#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace pylomir::ui {

class HintSwitch;

// The 16 × 16 icon of a row category (also drawn at twice the size for
// dense screens); the list and the legend use the same ones.
QIcon categoryIcon(assess::FilterCategory category);

class FilterDescriptionsPage : public QWidget {
    Q_OBJECT
public:
    FilterDescriptionsPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                           QWidget* parent = nullptr);
    ~FilterDescriptionsPage() override;

    // Brings the rows' order and the check box up to the model; does nothing
    // when neither changed, so it is cheap to call on every redraw.
    void sync();

    QTreeWidget* descriptionList() const { return list_; }
    QCheckBox* sortedCheckBox() const { return sortedBox_; }
    // The legend's caption and icon in a line (0 to 2) of a column (0 to 2);
    // null where the legend leaves the place empty.
    QLabel* legendCaption(int line, int column) const;
    QLabel* legendIcon(int line, int column) const;

private:
    void buildList();
    QWidget* buildLegend(HintSwitch& hints);
    void showOrder(const QList<qsizetype>& order);

    app::MainWindowCore& core_;
    CommandRunner run_;

    QTreeWidget* list_ = nullptr;
    std::vector<QTreeWidgetItem*> items_; // by stored row; owned by the list
    QList<qsizetype> shownOrder_;         // the order the list shows now
    QLabel* legendCaptions_[3][3] = {};   // [line][column]
    QLabel* legendIcons_[3][3] = {};
    QCheckBox* sortedBox_ = nullptr; // "Sortuj listę opisów plików tymczasowych ..."
};

} // namespace pylomir::ui
