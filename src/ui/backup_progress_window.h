// The small window that counts down once a backup archive is written: no
// frame, always on top, and it closes by itself.
#pragma once

#include "backup/backup_commands.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

namespace pylomir::ui {

class BackupProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit BackupProgressWindow(backup::BackupProgress& progress, QWidget* parent = nullptr);

    // Starts the countdown and shows the window modally until it closes.
    void run();

    QLabel* headingLabel() const { return headingLabel_; }
    QLabel* archiveNameLabel() const { return archiveNameLabel_; }
    QLabel* folderLabel() const { return folderLabel_; }
    QLabel* messageLabel() const { return messageLabel_; }
    QLabel* fileCountLabel() const { return fileCountLabel_; }
    QProgressBar* countdownBar() const { return countdownBar_; }
    QTimer& countdownTimer() { return countdownTimer_; }

public slots:
    // Nobody closes it by hand, Escape included.
    void reject() override {}

private:
    void sync();
    void advanceCountdown();

    backup::BackupProgress& progress_;
    QLabel* headingLabel_ = nullptr;
    QLabel* archiveNameLabel_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QLabel* fileCountLabel_ = nullptr; // red, bold
    QProgressBar* countdownBar_ = nullptr;
    QTimer countdownTimer_;
};

} // namespace pylomir::ui
