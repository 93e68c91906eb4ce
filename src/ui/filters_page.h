// The "Wybór filtrów" tab: the current mode's filter list, the four mode
// radio buttons and the commands that edit the list.
#pragma once

#include "scan/search_form.h"
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
    FiltersPage(scan::SearchForm& form, CommandRunner run, HintSwitch& hints,
                QWidget* parent = nullptr);

    void sync();

    QListWidget* filterList() const { return ListBoxFiltry_; }
    QLabel* filterCountLabel() const { return Label_LiczbaFiltrow_; }
    QLineEdit* newFilterEdit() const { return EditDodajFiltr_; }
    QPushButton* addButton() const { return Button10_; }
    QPushButton* deleteButton() const { return Button14_; }
    QPushButton* sortButton() const { return Button20_; }
    QPushButton* storeModeButton() const { return Button21_; }
    // In the order of scan::FilterMode.
    QRadioButton* modeButton(scan::FilterMode mode) const {
        return modeButtons_[static_cast<std::size_t>(mode)];
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectionChanged();

    scan::SearchForm& form_;
    scan::SearchFormModel& m_;
    CommandRunner run_;

    QListWidget* ListBoxFiltry_ = nullptr; // the filter list; its check marks mean nothing
    QStringList shownFilters_;             // what the list widget holds
    QLabel* Label_LiczbaFiltrow_ = nullptr;
    QLineEdit* EditDodajFiltr_ = nullptr;
    QPushButton* Button10_ = nullptr; // "Dodaj filtr"
    QPushButton* Button14_ = nullptr; // "Usuń wybrany filtr"
    QPushButton* Button20_ = nullptr; // "Sortuj listę filtrów"
    QPushButton* Button21_ = nullptr; // "Zastosuj wprowadzone zmiany": store the mode
    // RadioButton4, RadioButton1, RadioButton3, RadioButton2.
    std::array<QRadioButton*, 4> modeButtons_{};
};

} // namespace pylomir::ui
