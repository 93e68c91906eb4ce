// The UI port of the command line: nobody is there to answer, so every box
// goes to standard error and every question gets its safe answer.
#pragma once

#include "engine/message_pump.h"
#include "scan/ui_port.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pylomir::cli {

// Writes one message to standard error, line breaks of the window's texts
// ("\r" included) made into newlines.
void printError(const QString& text);
// Writes text to standard output as it is.
void printOut(const QString& text);

class ConsoleUi : public scan::UiPort {
public:
    void showMessage(const QString& text) override;
    // Ok where there is nothing to choose; otherwise Cancel or No, so that
    // no question can lead to lost data or a wait for input.
    scan::MsgAnswer messageBox(const QString& caption, const QString& text, scan::MsgIcon icon,
                               scan::MsgButtons buttons) override;
    void showError(const QString& text) override;
    void playSound(const QString&) override {}
    std::optional<QString> browseForFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> openFileName(const scan::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const scan::FileDialogOptions&) override {
        return std::nullopt;
    }
    void showWindow(scan::WindowId) override {}

    // Errors reported since the last reset: error boxes and "Błąd" boxes.
    const QStringList& errors() const { return errors_; }
    void resetErrors() { errors_.clear(); }
    // What the window shows beside an error box (the folder a scan failed
    // in), printed under the error's text when not empty.
    void setErrorContext(std::function<QString()> context) { context_ = std::move(context); }

private:
    void recordError(const QString& text);

    QStringList errors_;
    std::function<QString()> context_;
};

// Nothing waits for window messages on the command line.
class NoMessagePump : public engine::MessagePump {
public:
    void processPendingMessages() override {}
};

} // namespace pylomir::cli
