// The UI port of the command line: nobody is there to answer, so every box
// goes to standard error and every question gets its safe answer.
#pragma once

#include "core/ui_port.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace pylomir::cli {

// Writes one message to standard error, line breaks of the window's texts
// ("\r" included) made into newlines.
void printError(const QString& text);
// Writes text to standard output as it is.
void printOut(const QString& text);

class ConsoleUi : public core::NullUiPort {
public:
    void showMessage(const QString& text) override;
    // Every question gets its safe answer, so that none can lead to lost
    // data or a wait for input.
    core::MsgAnswer messageBox(const QString& caption, const QString& text, core::MsgIcon icon,
                               core::MsgButtons buttons) override;
    void showError(const QString& text) override;

    // Errors reported since the last reset: error boxes and "Błąd" boxes.
    const QStringList& errors() const { return errors_; }
    void resetErrors() { errors_.clear(); }
    // What the window shows beside an error box (the folder a scan failed
    // in), printed under the error's text when not empty.
    void setErrorContext(std::function<QString()> context) { context_ = std::move(context); }
    // Whether notes (message boxes that are not errors) are printed; errors
    // always are.
    void setNotesShown(bool shown) { notesShown_ = shown; }
    // Whether a box's text is printed (an error is recorded all the same):
    // for a box whose content the command prints in full its own way.
    void setBoxFilter(std::function<bool(const QString&)> shown) { boxShown_ = std::move(shown); }

private:
    void recordError(const QString& text);

    QStringList errors_;
    std::function<QString()> context_;
    std::function<bool(const QString&)> boxShown_;
    bool notesShown_ = true;
};

} // namespace pylomir::cli
