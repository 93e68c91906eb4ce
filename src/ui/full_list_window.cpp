#include "ui/full_list_window.h"

#include "ui/centring.h"

#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QVBoxLayout>

namespace pylomir::ui {

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window), view_(new QListView(this)), model_(new QStringListModel(this)) {
    setWindowTitle(QStringLiteral("Wszystkie znalezione pliki"));
    resize(796, 238);
    // A side window must not keep the program running after the main one closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    view_->setModel(model_);
    view_->setUniformItemSizes(true);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setStyleSheet(QStringLiteral("QListView { background: black; color: white; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void TForm1::setLines(const QStringList& lines) {
    if (lines == lines_)
        return;
    lines_ = lines;
    model_->setStringList(lines_);
}

void TForm1::showEvent(QShowEvent* event) {
    centreOnFirstShow(*this, centred_);
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void TForm1::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

} // namespace pylomir::ui
