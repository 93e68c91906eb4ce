#include "ui/backup_progress_window.h"
#include "ui/widget_sync.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

constexpr int kClientWidth = 407;
constexpr int kClientHeight = 119;

} // namespace

BackupProgressWindow::BackupProgressWindow(backup::BackupProgress& progress, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      progress_(progress) {
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);
    setAutoFillBackground(true);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    silver.setColor(QPalette::WindowText, Qt::black);
    setPalette(silver);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(2);
    headingLabel_ = new QLabel(this);
    QFont bold = headingLabel_->font();
    bold.setBold(true);
    headingLabel_->setFont(bold);
    headingLabel_->setAlignment(Qt::AlignCenter);
    layout->addWidget(headingLabel_);
    archiveNameLabel_ = new QLabel(this);
    folderLabel_ = new QLabel(this);
    layout->addWidget(archiveNameLabel_);
    layout->addWidget(folderLabel_);

    auto* messageRow = new QHBoxLayout;
    messageRow->setSpacing(4);
    messageLabel_ = new QLabel(this);
    fileCountLabel_ = new QLabel(this);
    fileCountLabel_->setFont(bold);
    fileCountLabel_->setStyleSheet(QStringLiteral("color: red;"));
    messageRow->addWidget(messageLabel_, 1);
    messageRow->addWidget(fileCountLabel_);
    messageRow->addWidget(new QLabel(QStringLiteral("plików"), this));
    layout->addLayout(messageRow);
    // Long names are cut at the window's edge rather than widening it.
    for (QLabel* label : {archiveNameLabel_, folderLabel_, messageLabel_})
        label->setMinimumWidth(1);

    countdownBar_ = new QProgressBar(this);
    countdownBar_->setRange(0, backup::kCountdownSteps);
    countdownBar_->setTextVisible(false);
    countdownBar_->setFixedHeight(16);
    layout->addStretch(1);
    layout->addWidget(countdownBar_);

    connect(&countdownTimer_, &QTimer::timeout, this, &BackupProgressWindow::advanceCountdown);
    sync();
}

void BackupProgressWindow::sync() {
    const backup::BackupProgressState& s = progress_.state();
    setText(headingLabel_, s.headingText);
    setText(archiveNameLabel_, s.archiveNameText);
    setText(folderLabel_, s.folderText);
    setText(messageLabel_, s.messageText);
    setText(fileCountLabel_, s.fileCountText);
    countdownBar_->setValue(s.countdownStep);
}

void BackupProgressWindow::run() {
    progress_.startCountdown();
    sync();
    // Centred on the screen at every showing.
    if (QScreen* screen =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    countdownTimer_.start(progress_.state().countdownIntervalMs);
    exec();
    countdownTimer_.stop();
}

void BackupProgressWindow::advanceCountdown() {
    const bool last = progress_.advanceCountdown();
    sync();
    if (!last)
        return;
    countdownTimer_.stop();
    QTimer::singleShot(backup::BackupProgress::kClosePauseMs, this, [this] { accept(); });
}

} // namespace pylomir::ui
