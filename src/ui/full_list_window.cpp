#include "ui/full_list_window.h"

#include "ui/centring.h"

#include <QListView>
#include <QScreen>
#include <QStringListModel>
#include <QVBoxLayout>

namespace pylomir::ui {

FullListWindow::FullListWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), pathList_(new QListView(this)),
      model_(new QStringListModel(this)) {
    setWindowTitle(QStringLiteral("Wszystkie znalezione pliki"));
    resize(796, 238);
    // A side window must not keep the program running after the main one closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    pathList_->setModel(model_);
    pathList_->setUniformItemSizes(true);
    pathList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pathList_->setStyleSheet(QStringLiteral("QListView { background: black; color: white; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pathList_);
}

void FullListWindow::setLines(const QStringList& lines) {
    if (lines == lines_)
        return;
    lines_ = lines;
    model_->setStringList(lines_);
}

void FullListWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(*this, centred_);
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void FullListWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

} // namespace pylomir::ui
