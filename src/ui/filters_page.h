// The "Wybór filtrów" tab: the current mode's filter list, the four mode
// radio buttons and the commands that edit the list.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QStringList>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace pylomir::ui {

class HintSwitch;

class FiltersPage : public QWidget {
    Q_OBJECT
public:
    FiltersPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                QWidget* parent = nullptr);

    void sync();

    QListWidget* filterList() const { return filterList_; }
    QLabel* filterCountLabel() const { return filterCountLabel_; }
    QLineEdit* newFilterEdit() const { return newFilterEdit_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* sortButton() const { return sortButton_; }
    QPushButton* storeModeButton() const { return storeModeButton_; }
    QRadioButton* modeButton(core::FilterMode mode) const {
        return modeButtons_[static_cast<std::size_t>(mode)];
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged();

    app::MainWindowCore& core_;
    const core::FiltersState& f_;
    CommandRunner run_;

    QListWidget* filterList_ = nullptr; // its check marks mean nothing
    QStringList shownFilters_;          // what the list widget holds
    QLabel* filterCountLabel_ = nullptr;
    QLineEdit* newFilterEdit_ = nullptr;
    QPushButton* addButton_ = nullptr;       // "Dodaj filtr"
    QPushButton* deleteButton_ = nullptr;    // "Usuń wybrany filtr"
    QPushButton* sortButton_ = nullptr;      // "Sortuj listę filtrów"
    QPushButton* storeModeButton_ = nullptr; // "Zastosuj wprowadzone zmiany": store the mode
    // In the order of core::FilterMode.
    std::array<QRadioButton*, 4> modeButtons_{};
};

} // namespace pylomir::ui
