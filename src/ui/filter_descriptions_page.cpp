#include "ui/filter_descriptions_page.h"

#include "ui/hint_switch.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace pylomir::ui {

using assess::FilterCategory;

namespace {

QColor baseColour(FilterCategory category) {
    switch (category) {
    case FilterCategory::UnknownAppTemporary:
        return QColor(0x80, 0x86, 0x8f); // grey
    case FilterCategory::Temporary:
        return QColor(0x3b, 0x78, 0xc2); // blue
    case FilterCategory::Internet:
        return QColor(0x23, 0x94, 0x8a); // teal
    case FilterCategory::ProgramBackup:
        return QColor(0xcf, 0x8a, 0x25); // amber
    case FilterCategory::RiskyToDelete:
        return QColor(0xc8, 0x3c, 0x3c); // red
    case FilterCategory::LogsAndReports:
        return QColor(0x76, 0x56, 0xb3); // violet
    case FilterCategory::InfoAndText:
        return QColor(0x4a, 0x94, 0x46); // green
    case FilterCategory::RegistryBackup:
        return QColor(0x4e, 0x64, 0x80); // slate
    }
    return Qt::gray;
}

// The white sign on the square, in a 16 × 16 frame.
void paintGlyph(QPainter& p, FilterCategory category) {
    const QColor white(Qt::white);
    p.setPen(QPen(white, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (category) {
    case FilterCategory::UnknownAppTemporary: { // a question mark
        QPainterPath hook;
        hook.moveTo(5.6, 6.0);
        hook.cubicTo(5.6, 3.0, 10.4, 3.0, 10.4, 6.0);
        hook.cubicTo(10.4, 7.9, 8.0, 7.8, 8.0, 9.9);
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(8.0, 12.4), 1.0, 1.0);
        break;
    }
    case FilterCategory::Temporary: { // an hourglass with sand below
        const QPointF glass[] = {{4.8, 3.6},   {11.2, 3.6}, {8.0, 8.0},
                                 {11.2, 12.4}, {4.8, 12.4}, {8.0, 8.0}};
        p.drawPolygon(glass, 6);
        p.setBrush(white);
        const QPointF sand[] = {{8.0, 9.6}, {10.2, 12.0}, {5.8, 12.0}};
        p.drawPolygon(sand, 3);
        break;
    }
    case FilterCategory::Internet: // a globe
        p.drawEllipse(QPointF(8.0, 8.0), 4.6, 4.6);
        p.drawEllipse(QPointF(8.0, 8.0), 1.9, 4.6);
        p.drawLine(QPointF(3.6, 8.0), QPointF(12.4, 8.0));
        break;
    case FilterCategory::ProgramBackup: // a sheet with its copy
        p.setPen(QPen(white, 1.2));
        p.drawRect(QRectF(3.8, 3.2, 5.6, 7.2));
        p.setBrush(white);
        p.drawRect(QRectF(6.6, 5.6, 5.6, 7.2));
        break;
    case FilterCategory::RiskyToDelete: // an exclamation mark
        p.setPen(QPen(white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.0, 3.8), QPointF(8.0, 9.0));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(8.0, 12.2), 1.2, 1.2);
        break;
    case FilterCategory::LogsAndReports: // lines of text
        p.drawLine(QPointF(4.5, 5.0), QPointF(11.5, 5.0));
        p.drawLine(QPointF(4.5, 8.0), QPointF(11.5, 8.0));
        p.drawLine(QPointF(4.5, 11.0), QPointF(9.0, 11.0));
        break;
    case FilterCategory::InfoAndText: // a lower-case i
        p.setPen(QPen(white, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.0, 7.2), QPointF(8.0, 12.2));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawEllipse(QPointF(8.0, 4.4), 1.2, 1.2);
        break;
    case FilterCategory::RegistryBackup: // the registry's blocks
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        for (const QPointF& at : {QPointF(4.0, 4.0), QPointF(8.6, 4.0), QPointF(4.0, 8.6)})
            p.drawRect(QRectF(at, QSizeF(3.4, 3.4)));
        p.setBrush(white.darker(125));
        p.drawRect(QRectF(8.6, 8.6, 3.4, 3.4));
        break;
    }
}

QPixmap paintCategory(FilterCategory category, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QColor base = baseColour(category);
    QLinearGradient shade(0, 0, 0, 16);
    shade.setColorAt(0, base.lighter(120));
    shade.setColorAt(1, base);
    p.setPen(QPen(base.darker(135), 1.0));
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 3.0, 3.0);
    paintGlyph(p, category);
    return pixmap;
}

// Report-style rows: each cell gets a line at its right and bottom edge.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight).darker(110));
        const QRect r = option.rect;
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(qMax(size.height(), 16) + 3); // room for the grid line
        return size;
    }
};

// The whole description, and the mask with its category, as a row's
// tooltip; rich text so that Qt wraps it.
QString rowToolTip(const assess::FilterDescription& row) {
    return QStringLiteral("<p><b>%1</b> - %2</p><p>%3</p>")
        .arg(row.mask.toHtmlEscaped(), assess::categoryCaption(row.category).toHtmlEscaped(),
             row.description.toHtmlEscaped());
}

// The legend by line and column; the third column's middle line is empty.
constexpr std::optional<FilterCategory> kLegend[3][3] = {
    {FilterCategory::Temporary, FilterCategory::UnknownAppTemporary,
     FilterCategory::RegistryBackup},
    {FilterCategory::Internet, FilterCategory::LogsAndReports, std::nullopt},
    {FilterCategory::InfoAndText, FilterCategory::RiskyToDelete, FilterCategory::ProgramBackup},
};

} // namespace

QIcon categoryIcon(FilterCategory category) {
    QIcon icon;
    icon.addPixmap(paintCategory(category, 16));
    icon.addPixmap(paintCategory(category, 32));
    return icon;
}

FilterDescriptionsPage::FilterDescriptionsPage(app::MainWindowCore& windowCore, CommandRunner run,
                                               HintSwitch& hints, QWidget* parent)
    : QWidget(parent), core_(windowCore), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(6, 6, 6, 6);
    page->setSpacing(6);
    buildList();
    page->addWidget(list_, 1);
    page->addWidget(buildLegend(hints));
    sync();
}

void FilterDescriptionsPage::buildList() {
    list_ = new QTreeWidget(this);
    list_->setColumnCount(2);
    list_->setHeaderLabels({assess::maskColumnCaption(), assess::descriptionColumnCaption()});
    list_->setRootIsDecorated(false);
    list_->setIndentation(0);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideRight);
    list_->setIconSize(QSize(16, 16));
    list_->setItemDelegate(new GridDelegate(list_));
    // A size smaller, the long masks and the description column's caption
    // fit the tab side by side.
    QFont small = list_->font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() * 0.9);
        list_->setFont(small);
    }
    // The long descriptions' tooltips stay up as long as the hints do.
    list_->setToolTipDuration(kHintMs);
    // The order is the model's; the header only names the columns.
    list_->setSortingEnabled(false);
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(true);

    QIcon icons[assess::kFilterCategoryCount];
    for (int i = 0; i < assess::kFilterCategoryCount; ++i)
        icons[i] = categoryIcon(static_cast<FilterCategory>(i));
    const QList<assess::FilterDescription>& rows = assess::filterDescriptions();
    items_.reserve(size_t(rows.size()));
    for (const assess::FilterDescription& row : rows) {
        auto* item = new QTreeWidgetItem({row.mask, row.description});
        item->setIcon(0, icons[int(row.category)]);
        const QString tip = rowToolTip(row);
        item->setToolTip(0, tip);
        item->setToolTip(1, tip);
        items_.push_back(item);
    }
    // Filled in the stored order to size the mask column; sync() then shows
    // the model's order.
    list_->addTopLevelItems(QList<QTreeWidgetItem*>(items_.begin(), items_.end()));
    list_->resizeColumnToContents(0);
    list_->setColumnWidth(0, list_->columnWidth(0) + 8);
    shownOrder_.clear();
    for (qsizetype i = 0; i < rows.size(); ++i)
        shownOrder_.append(i);
}

FilterDescriptionsPage::~FilterDescriptionsPage() {
    // Rows the model's order left out belong to no list.
    for (QTreeWidgetItem* item : items_) {
        if (!item->treeWidget())
            delete item;
    }
}

QWidget* FilterDescriptionsPage::buildLegend(HintSwitch& hints) {
    auto* group = new QGroupBox(QStringLiteral("Opisy ikonek i sortowanie listy"), this);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    for (int line = 0; line < 3; ++line) {
        for (int column = 0; column < 3; ++column) {
            const std::optional<FilterCategory> category = kLegend[line][column];
            if (!category)
                continue;
            auto* icon = new QLabel(group);
            icon->setPixmap(categoryIcon(*category).pixmap(16, 16));
            icon->setFixedSize(16, 16);
            auto* caption = new QLabel(assess::categoryCaption(*category), group);
            // The first two columns' captions are long: they may take two
            // lines, the last column's short ones keep one.
            caption->setWordWrap(column < 2);
            grid->addWidget(icon, line, 2 * column);
            grid->addWidget(caption, line, 2 * column + 1);
            legendIcons_[line][column] = icon;
            legendCaptions_[line][column] = caption;
        }
    }
    // The first two captions' columns share what the last one leaves.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    sortedBox_ = new QCheckBox(
        QStringLiteral("Sortuj listę opisów plików tymczasowych według kolejności alfabetycznej"),
        group);
    grid->addWidget(sortedBox_, 3, 0, 1, 6);
    hints.add(sortedBox_, QStringLiteral("Układa listę według typu pliku. Po odznaczeniu lista "
                                         "zostaje w obecnej kolejności."));
    connect(sortedBox_, &QCheckBox::clicked, this,
            [this](bool on) { run_([this, on] { core_.filterDescriptionsTab().setSorted(on); }); });
    return group;
}

QLabel* FilterDescriptionsPage::legendCaption(int line, int column) const {
    if (line < 0 || line > 2 || column < 0 || column > 2)
        return nullptr;
    return legendCaptions_[line][column];
}

QLabel* FilterDescriptionsPage::legendIcon(int line, int column) const {
    if (line < 0 || line > 2 || column < 0 || column > 2)
        return nullptr;
    return legendIcons_[line][column];
}

void FilterDescriptionsPage::sync() {
    const core::FilterDescriptionsState& state = core_.model().filterDescriptions;
    if (shownOrder_ != state.rowOrder)
        showOrder(state.rowOrder);
    if (sortedBox_->isChecked() != state.sorted) {
        const QSignalBlocker blocker(sortedBox_);
        sortedBox_->setChecked(state.sorted);
    }
}

void FilterDescriptionsPage::showOrder(const QList<qsizetype>& order) {
    QTreeWidgetItem* current = list_->currentItem();
    list_->setUpdatesEnabled(false);
    // Taking the rows out keeps them alive; they go back in the new order.
    list_->invisibleRootItem()->takeChildren();
    QList<QTreeWidgetItem*> ordered;
    ordered.reserve(order.size());
    for (const qsizetype row : order) {
        if (row >= 0 && row < qsizetype(items_.size()))
            ordered.append(items_[size_t(row)]);
    }
    list_->addTopLevelItems(ordered);
    shownOrder_ = order;
    if (current && current->treeWidget()) {
        list_->setCurrentItem(current);
        list_->scrollToItem(current);
    }
    list_->setUpdatesEnabled(true);
}

} // namespace pylomir::ui
