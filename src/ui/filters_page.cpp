#include "ui/filters_page.h"

#include "core/shown_texts.h"
#include "ui/hint_switch.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <iterator>

namespace pylomir::ui {

namespace {

using core::FilterMode;

struct ModeRow {
    FilterMode mode;
    const char* caption;
    const char* hint;
    const char* description;
};

// Top to bottom, as the group shows them.
const ModeRow kModes[] = {
    {FilterMode::Safe, "Bezpieczny",
     "Skanowanie potrwa około 2 minut (w zależności od ilości plików na dysku)",
     "Domyslny wybór filtra dla początkujących użytkowników. \r\nZapewnia 99% bezpieczeństwa "
     "stabilności po usunięciu."},
    {FilterMode::LessSafe, "Mniej Bezpieczny",
     "Skanowanie potrwa około 5 minut (w zależności od ilości plików na dysku)",
     "Wyszukanie bezpiecznych typów dla większości użytkowników z podejrzeniem 2% plików o "
     "niewielkim zagrożeniu."},
    {FilterMode::Advanced, "Zaawansowany",
     "Skanowanie potrwa około 8 minut (w zależności od ilości plików na dysku)",
     "Wszystkie typy z bazy będą wyszukane. \r\nDla doświadczonych użytkowników, ze szczególnym "
     "zwróceniem uwagi na wynik skanowania (około 5% podejrzeń)"},
    {FilterMode::UserDefined, "Ustawienia użytkownika",
     "W tym trybie możesz sam zadecydować jakie typy plików mają być usuwane",
     "Użytkownik sam decyduje jakie typy chce wyszukać"},
};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

FiltersPage::FiltersPage(app::MainWindowCore& windowCore, CommandRunner run, HintSwitch& hints,
                         QWidget* parent)
    : QWidget(parent), core_(windowCore), f_(windowCore.model().filters), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    auto* filtersGroup = new QGroupBox(
        QStringLiteral("Typy plików rozpoznawane przez program  (więcej informacji o formacie "
                       "pliku w: \"Opisy formatów\")"),
        this);
    auto* filtersRow = new QHBoxLayout(filtersGroup);
    filterList_ = new QListWidget(filtersGroup);
    // Many short masks: columns side by side rather than one long column.
    filterList_->setFlow(QListView::TopToBottom);
    filterList_->setWrapping(true);
    filterList_->setResizeMode(QListView::Adjust);
    filterList_->setSpacing(0);
    filterList_->setSelectionMode(QAbstractItemView::SingleSelection);
    filtersRow->addWidget(filterList_, 1);

    auto* listCommands = new QVBoxLayout;
    auto* count = new QHBoxLayout;
    count->setSpacing(4);
    count->addWidget(new QLabel(QStringLiteral("Ten tryb udostępnia:"), filtersGroup));
    filterCountLabel_ = new QLabel(filtersGroup);
    QFont bold = filterCountLabel_->font();
    bold.setBold(true);
    filterCountLabel_->setFont(bold);
    count->addWidget(filterCountLabel_);
    count->addWidget(new QLabel(QStringLiteral("typów filtrów"), filtersGroup));
    count->addStretch(1);
    listCommands->addLayout(count);
    listCommands->addSpacing(6);

    newFilterEdit_ = new QLineEdit(filtersGroup);
    newFilterEdit_->setPlaceholderText(QStringLiteral("np. *.tmp"));
    newFilterEdit_->installEventFilter(this);
    setHint(newFilterEdit_,
            QStringLiteral("Wpisz maskę nazwy pliku (np. *.tmp) i naciśnij \"Dodaj filtr\""));
    listCommands->addWidget(newFilterEdit_);
    addButton_ = new QPushButton(QStringLiteral("Dodaj filtr"), filtersGroup);
    addButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    listCommands->addWidget(addButton_);
    listCommands->addSpacing(6);
    deleteButton_ = new QPushButton(QStringLiteral("Usuń wybrany filtr"), filtersGroup);
    deleteButton_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    listCommands->addWidget(deleteButton_);
    sortButton_ = new QPushButton(QStringLiteral("Sortuj listę filtrów"), filtersGroup);
    sortButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    listCommands->addWidget(sortButton_);
    listCommands->addStretch(1);
    auto* commandsBox = new QWidget(filtersGroup);
    commandsBox->setLayout(listCommands);
    commandsBox->setFixedWidth(240);
    listCommands->setContentsMargins(0, 0, 0, 0);
    filtersRow->addWidget(commandsBox);
    page->addWidget(filtersGroup, 1);

    auto* modesGroup = new QGroupBox(QStringLiteral("Wybór trybu skanowania dysku"), this);
    auto* modes = new QGridLayout(modesGroup);
    modes->setHorizontalSpacing(10);
    modes->setVerticalSpacing(4);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    storeModeButton_ = new QPushButton(QStringLiteral("Zastosuj wprowadzone zmiany"), modesGroup);
    storeModeButton_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    const int lastRow = static_cast<int>(std::size(kModes)) - 1;
    int row = 0;
    for (const ModeRow& mode : kModes) {
        auto* radio = new QRadioButton(text(mode.caption), modesGroup);
        // The model decides which one is selected, none included.
        radio->setAutoExclusive(false);
        radio->setFont(bold);
        hints.add(radio, text(mode.hint));
        modeButtons_[static_cast<std::size_t>(mode.mode)] = radio;
        auto* description = new QLabel(hintText(text(mode.description)), modesGroup);
        description->setWordWrap(true);
        description->setFont(small);
        modes->addWidget(radio, row, 0, Qt::AlignTop);
        // The last description is short and leaves room for the button.
        modes->addWidget(description, row, 1, 1, row == lastRow ? 1 : 2, Qt::AlignTop);
        ++row;
        connect(radio, &QRadioButton::clicked, this, [this, mode = mode.mode] {
            run_([this, mode] { core_.filterSets().selectMode(mode); });
        });
    }
    modes->addWidget(storeModeButton_, lastRow, 2, Qt::AlignRight | Qt::AlignBottom);
    modes->setColumnStretch(1, 1);
    page->addWidget(modesGroup);

    hints.add(addButton_, QStringLiteral("Dodaj wpisany typ pliku do listy filtrów użytkownika"));
    hints.add(deleteButton_,
              QStringLiteral("Usuń zaznaczony typ pliku z listy filtrów tego trybu"));
    hints.add(sortButton_, QStringLiteral("Ułóż listę filtrów w kolejności alfabetycznej"));
    hints.add(storeModeButton_, QStringLiteral("Zapamiętaj wybrany tryb skanowania na następne "
                                               "uruchomienia programu"));

    connect(filterList_, &QListWidget::itemSelectionChanged, this, &FiltersPage::selectionChanged);
    scan::FilterSets& sets = core_.filterSets();
    connect(newFilterEdit_, &QLineEdit::textEdited, this,
            [&sets](const QString& typed) { sets.setNewFilterText(typed); });
    connect(addButton_, &QPushButton::clicked, this,
            [this, &sets] { run_([&sets] { sets.addFilter(); }); });
    connect(deleteButton_, &QPushButton::clicked, this,
            [this, &sets] { run_([&sets] { sets.deleteFilter(); }); });
    connect(sortButton_, &QPushButton::clicked, this,
            [this, &sets] { run_([&sets] { sets.sortFilters(); }); });
    connect(storeModeButton_, &QPushButton::clicked, this,
            [this, &sets] { run_([&sets] { sets.storeMode(); }); });
}

bool FiltersPage::eventFilter(QObject* watched, QEvent* event) {
    // A click into the field picks the user's own mode; the field still
    // gets the click to place its cursor.
    if (watched == newFilterEdit_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        run_([this] { core_.filterSets().switchToUserMode(); });
    return QWidget::eventFilter(watched, event);
}

void FiltersPage::selectionChanged() {
    const QList<QListWidgetItem*> selected = filterList_->selectedItems();
    core_.filterSets().selectFilter(selected.isEmpty() ? -1 : filterList_->row(selected.front()));
}

void FiltersPage::sync() {
    const QSignalBlocker blocker(filterList_);
    if (shownFilters_ != f_.filters) {
        shownFilters_ = f_.filters;
        filterList_->clear();
        for (const QString& filter : shownFilters_) {
            auto* item = new QListWidgetItem(filter, filterList_);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    const qsizetype index = f_.selectedFilter;
    if (index >= 0 && index < filterList_->count()) {
        if (filterList_->currentRow() != index ||
            !filterList_->item(static_cast<int>(index))->isSelected())
            filterList_->setCurrentRow(static_cast<int>(index));
    } else if (!filterList_->selectedItems().isEmpty() || filterList_->currentRow() >= 0) {
        filterList_->setCurrentRow(-1);
        filterList_->clearSelection();
    }

    const QString count = core::filterCountText(f_);
    if (filterCountLabel_->text() != count)
        filterCountLabel_->setText(count);
    if (newFilterEdit_->text() != f_.newFilterText)
        newFilterEdit_->setText(f_.newFilterText);
    for (const ModeRow& mode : kModes) {
        QRadioButton* radio = modeButton(mode.mode);
        const bool selected = f_.selectedMode == mode.mode;
        if (radio->isChecked() != selected)
            radio->setChecked(selected);
    }
}

} // namespace pylomir::ui
