// A UI port that records what a command asked and answers from a script.
#pragma once

#include "core/ui_port.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

namespace pylomir::testing {

class ScriptedUi : public core::UiPort {
public:
    struct Box {
        QString caption;
        QString text;
        core::MsgIcon icon = core::MsgIcon::None;
        core::MsgButtons buttons = core::MsgButtons::Ok;
    };
    std::vector<Box> boxes; // every message box, ShowMessage included (caption "")
    QStringList errors;     // default error boxes
    QStringList sounds;
    std::vector<core::WindowId> windows;
    QStringList opened;                             // what openWithShell was given
    QStringList viewed;                             // what openInTextViewer was given
    std::deque<std::optional<QString>> textAnswers; // for askText
    bool openSucceeds = true;
    std::deque<core::MsgAnswer> answers; // for messageBox; Ok/Yes when empty
    std::deque<std::optional<QString>> folderAnswers;
    QStringList folderStarts; // where each folder browser opened
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<core::FileDialogOptions> fileDialogs; // every file dialog shown, in order
    // Runs while a box is open (a modal box holds the caller there).
    std::function<void(const Box&)> whileBoxOpen;
    // Shows the window for real, where a test has one.
    std::function<void(core::WindowId)> onShowWindow;

    QStringList texts() const {
        QStringList out;
        for (const Box& b : boxes)
            out << b.text;
        return out;
    }

    void showMessage(const QString& text) override { record({QString(), text}); }
    core::MsgAnswer messageBox(const QString& caption, const QString& text, core::MsgIcon icon,
                               core::MsgButtons buttons) override {
        record({caption, text, icon, buttons});
        if (!answers.empty()) {
            const core::MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == core::MsgButtons::YesNo || buttons == core::MsgButtons::YesNoCancel
                   ? core::MsgAnswer::Yes
                   : core::MsgAnswer::Ok;
    }
    void showError(const QString& text) override { errors << text; }
    void playSound(const QString& name) override { sounds << name; }
    std::optional<QString> browseForFolder(const QString&, const QString& startFolder) override {
        folderStarts << startFolder;
        return next(folderAnswers);
    }
    std::optional<QString> openFileName(const core::FileDialogOptions& dialog) override {
        fileDialogs.push_back(dialog);
        return next(fileAnswers);
    }
    std::optional<QString> saveFileName(const core::FileDialogOptions& dialog) override {
        fileDialogs.push_back(dialog);
        return next(fileAnswers);
    }
    void showWindow(core::WindowId w) override {
        windows.push_back(w);
        if (onShowWindow)
            onShowWindow(w);
    }

    bool openWithShell(const QString& target) override {
        opened << target;
        return openSucceeds;
    }
    bool openInTextViewer(const QString& path) override {
        viewed << path;
        return openSucceeds;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override {
        return next(textAnswers);
    }

private:
    void record(const Box& b) {
        boxes.push_back(b);
        if (whileBoxOpen)
            whileBoxOpen(b);
    }
    static std::optional<QString> next(std::deque<std::optional<QString>>& q) {
        if (q.empty())
            return std::nullopt;
        // Copied out as plain values: gcc's -O2 flow analysis misreads a moved optional.
        const bool answered = q.front().has_value();
        const QString value = answered ? *q.front() : QString();
        q.pop_front();
        return answered ? std::optional<QString>(value) : std::nullopt;
    }
};

} // namespace pylomir::testing
