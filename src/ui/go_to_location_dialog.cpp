#include "ui/go_to_location_dialog.h"

#include "ui/centring.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

constexpr int kClientWidth = 386;
constexpr int kClientHeight = 78;
constexpr int kEditWidth = 369;

} // namespace

GoToLocationDialog::GoToLocationDialog(app::MainWindowCore& windowCore, CommandRunner run,
                                       QWidget* parent)
    : QDialog(parent), core_(windowCore), run_(std::move(run)) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    auto* page = new QVBoxLayout(this);
    const int side = (kClientWidth - kEditWidth) / 2;
    page->setContentsMargins(side, 9, kClientWidth - kEditWidth - side, 8);
    page->setSpacing(7);
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setFixedWidth(kEditWidth);
    page->addWidget(folderEdit_);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    goButton_ = new QPushButton(QStringLiteral("Idź do lokalizacji pliku"), this);
    goButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("Anuluj"), this);
    cancelButton_->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(goButton_);
    buttons->addWidget(cancelButton_);
    page->addLayout(buttons);

    assess::GoToLocation& location = core_.goToLocation();
    connect(folderEdit_, &QLineEdit::textEdited, this,
            [&location](const QString& typed) { location.setFolderText(typed); });
    connect(goButton_, &QPushButton::clicked, this,
            [this, &location] { run_([&location] { location.openFolder(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &GoToLocationDialog::reject);
    sync();
}

void GoToLocationDialog::present() {
    sync();
    if (core_.model().goToLocation.visible) {
        folderEdit_->setFocus();
        exec();
    }
}

void GoToLocationDialog::sync() {
    const core::GoToLocationState& state = core_.model().goToLocation;
    // Rewriting an equal text would move the caret under the user's hands.
    if (folderEdit_->text() != state.folderText)
        folderEdit_->setText(state.folderText);
    if (!state.visible && isVisible())
        done(QDialog::Rejected);
}

void GoToLocationDialog::reject() {
    run_([this] { core_.goToLocation().cancel(); });
    sync();
}

void GoToLocationDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnFirstShow(*this, centred_);
}

void GoToLocationDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Without the system's border the dialog needs its own edge to stand
    // out on the desktop.
    QPainter p(this);
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(edge);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(edge.adjusted(1, 1, -1, -1));
}

} // namespace pylomir::ui
