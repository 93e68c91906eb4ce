#include "ui/filters_page.h"

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

using scan::FilterMode;
using scan::FilterSets;
using scan::SearchFormModel;

struct ModeRow {
    FilterMode mode;
    bool SearchFormModel::*selected;
    void (FilterSets::*click)();
    const char* caption;
    const char* hint;
    const char* description;
};

// Top to bottom, as the group shows them.
const ModeRow kModes[] = {
    {FilterMode::Bezpieczny, &SearchFormModel::RadioButton4, &FilterSets::RadioButton4Click,
     "Bezpieczny", "Skanowanie potrwa około 2 minut (w zależności od ilości plików na dysku)",
     "Domyslny wybór filtra dla początkujących użytkowników. \r\nZapewnia 99% bezpieczeństwa "
     "stabilności po usunięciu."},
    {FilterMode::MniejBezpieczny, &SearchFormModel::RadioButton1, &FilterSets::RadioButton1Click,
     "Mniej Bezpieczny", "Skanowanie potrwa około 5 minut (w zależności od ilości plików na dysku)",
     "Wyszukanie bezpiecznych typów dla większości użytkowników z podejrzeniem 2% plików o "
     "niewielkim zagrożeniu."},
    {FilterMode::Zaawansowany, &SearchFormModel::RadioButton3, &FilterSets::RadioButton3Click,
     "Zaawansowany", "Skanowanie potrwa około 8 minut (w zależności od ilości plików na dysku)",
     "Wszystkie typy z bazy będą wyszukane. \r\nDla doświadczonych użytkowników, ze szczególnym "
     "zwróceniem uwagi na wynik skanowania (około 5% podejrzeń)"},
    {FilterMode::Uzytkownika, &SearchFormModel::RadioButton2, &FilterSets::RadioButton2Click,
     "Ustawienia użytkownika",
     "W tym trybie możesz sam zadecydować jakie typy plików mają być usuwane",
     "Użytkownik sam decyduje jakie typy chce wyszukać"},
};

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

FiltersPage::FiltersPage(scan::SearchForm& form, CommandRunner run, HintSwitch& hints,
                         QWidget* parent)
    : QWidget(parent), form_(form), m_(form.model()), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);

    auto* filtersGroup = new QGroupBox(
        QStringLiteral("Typy plików rozpoznawane przez program  (więcej informacji o formacie "
                       "pliku w: \"Opisy formatów\")"),
        this);
    auto* filtersRow = new QHBoxLayout(filtersGroup);
    ListBoxFiltry_ = new QListWidget(filtersGroup);
    // Many short masks: columns side by side rather than one long column.
    ListBoxFiltry_->setFlow(QListView::TopToBottom);
    ListBoxFiltry_->setWrapping(true);
    ListBoxFiltry_->setResizeMode(QListView::Adjust);
    ListBoxFiltry_->setSpacing(0);
    ListBoxFiltry_->setSelectionMode(QAbstractItemView::SingleSelection);
    filtersRow->addWidget(ListBoxFiltry_, 1);

    auto* listCommands = new QVBoxLayout;
    auto* count = new QHBoxLayout;
    count->setSpacing(4);
    count->addWidget(new QLabel(QStringLiteral("Ten tryb udostępnia:"), filtersGroup));
    Label_LiczbaFiltrow_ = new QLabel(filtersGroup);
    QFont bold = Label_LiczbaFiltrow_->font();
    bold.setBold(true);
    Label_LiczbaFiltrow_->setFont(bold);
    count->addWidget(Label_LiczbaFiltrow_);
    count->addWidget(new QLabel(QStringLiteral("typów filtrów"), filtersGroup));
    count->addStretch(1);
    listCommands->addLayout(count);
    listCommands->addSpacing(6);

    EditDodajFiltr_ = new QLineEdit(filtersGroup);
    EditDodajFiltr_->setPlaceholderText(QStringLiteral("np. *.tmp"));
    EditDodajFiltr_->installEventFilter(this);
    setHint(EditDodajFiltr_,
            QStringLiteral("Wpisz maskę nazwy pliku (np. *.tmp) i naciśnij \"Dodaj filtr\""));
    listCommands->addWidget(EditDodajFiltr_);
    Button10_ = new QPushButton(QStringLiteral("Dodaj filtr"), filtersGroup);
    Button10_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    listCommands->addWidget(Button10_);
    listCommands->addSpacing(6);
    Button14_ = new QPushButton(QStringLiteral("Usuń wybrany filtr"), filtersGroup);
    Button14_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    listCommands->addWidget(Button14_);
    Button20_ = new QPushButton(QStringLiteral("Sortuj listę filtrów"), filtersGroup);
    Button20_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    listCommands->addWidget(Button20_);
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
    Button21_ = new QPushButton(QStringLiteral("Zastosuj wprowadzone zmiany"), modesGroup);
    Button21_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
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
        connect(radio, &QRadioButton::clicked, this, [this, mode] {
            run_([this, mode] {
                if (!(m_.*mode.selected))
                    (form_.filterSets().*mode.click)();
            });
        });
    }
    modes->addWidget(Button21_, lastRow, 2, Qt::AlignRight | Qt::AlignBottom);
    modes->setColumnStretch(1, 1);
    page->addWidget(modesGroup);

    hints.add(Button10_, QStringLiteral("Dodaj wpisany typ pliku do listy filtrów użytkownika"));
    hints.add(Button14_, QStringLiteral("Usuń zaznaczony typ pliku z listy filtrów tego trybu"));
    hints.add(Button20_, QStringLiteral("Ułóż listę filtrów w kolejności alfabetycznej"));
    hints.add(Button21_, QStringLiteral("Zapamiętaj wybrany tryb skanowania na następne "
                                        "uruchomienia programu"));

    connect(ListBoxFiltry_, &QListWidget::itemSelectionChanged, this,
            &FiltersPage::selectionChanged);
    connect(EditDodajFiltr_, &QLineEdit::textEdited, this,
            [this](const QString& typed) { m_.EditDodajFiltr = typed; });
    connect(Button10_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.filterSets().Button10Click(); }); });
    connect(Button14_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.filterSets().Button14Click(); }); });
    connect(Button20_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.filterSets().Button20Click(); }); });
    connect(Button21_, &QPushButton::clicked, this,
            [this] { run_([this] { form_.filterSets().Button21Click(); }); });
}

bool FiltersPage::eventFilter(QObject* watched, QEvent* event) {
    // A click into the field picks the user's own mode; the field still
    // gets the click to place its cursor.
    if (watched == EditDodajFiltr_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        run_([this] { form_.filterSets().EditDodajFiltrClick(); });
    return QWidget::eventFilter(watched, event);
}

void FiltersPage::selectionChanged() {
    const QList<QListWidgetItem*> selected = ListBoxFiltry_->selectedItems();
    m_.ListBoxFiltryItemIndex = selected.isEmpty() ? -1 : ListBoxFiltry_->row(selected.front());
}

void FiltersPage::sync() {
    const QSignalBlocker blocker(ListBoxFiltry_);
    if (shownFilters_ != m_.ListBoxFiltry) {
        shownFilters_ = m_.ListBoxFiltry;
        ListBoxFiltry_->clear();
        for (const QString& filter : shownFilters_) {
            auto* item = new QListWidgetItem(filter, ListBoxFiltry_);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    const qsizetype index = m_.ListBoxFiltryItemIndex;
    if (index >= 0 && index < ListBoxFiltry_->count()) {
        if (ListBoxFiltry_->currentRow() != index ||
            !ListBoxFiltry_->item(static_cast<int>(index))->isSelected())
            ListBoxFiltry_->setCurrentRow(static_cast<int>(index));
    } else if (!ListBoxFiltry_->selectedItems().isEmpty() || ListBoxFiltry_->currentRow() >= 0) {
        ListBoxFiltry_->setCurrentRow(-1);
        ListBoxFiltry_->clearSelection();
    }

    if (Label_LiczbaFiltrow_->text() != m_.Label_LiczbaFiltrow)
        Label_LiczbaFiltrow_->setText(m_.Label_LiczbaFiltrow);
    if (EditDodajFiltr_->text() != m_.EditDodajFiltr)
        EditDodajFiltr_->setText(m_.EditDodajFiltr);
    for (const ModeRow& mode : kModes) {
        QRadioButton* radio = modeButton(mode.mode);
        if (radio->isChecked() != m_.*mode.selected)
            radio->setChecked(m_.*mode.selected);
    }
}

} // namespace pylomir::ui
