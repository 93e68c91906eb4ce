// The small dialog of "Idź do lokalizacji pliku...": the folder to open,
// editable, and the two buttons. It has no caption bar and no border of
// the system's; it draws its own thin frame.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace pylomir::ui {

class GoToLocationDialog : public QDialog {
    Q_OBJECT
public:
    GoToLocationDialog(app::MainWindowCore& windowCore, CommandRunner run,
                       QWidget* parent = nullptr);

    // Shows the dialog modally until a command closes it.
    void present();
    void sync();

    QLineEdit* folderEdit() const { return folderEdit_; }
    QPushButton* goButton() const { return goButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

public slots:
    // Escape and "Anuluj".
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    app::MainWindowCore& core_;
    CommandRunner run_;
    QLineEdit* folderEdit_ = nullptr;
    QPushButton* goButton_ = nullptr;     // "Idź do lokalizacji pliku", the default
    QPushButton* cancelButton_ = nullptr; // "Anuluj"
    bool centred_ = false;
};

} // namespace pylomir::ui
