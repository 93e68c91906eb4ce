// The UI port in real windows: Qt message boxes, dialogs and sounds.
#pragma once

#include "core/ui_port.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace pylomir::ui {

// Turns the program's "Name|*.ext|Name|*.a;*.b" filters into Qt's
// "Name (*.ext);;Name (*.a *.b)".
QString toQtFilter(const QString& filter);

// Where the folder browser opens for a wanted folder: the folder itself, or
// its nearest parent that exists; the home folder when there is none (or the
// text is no absolute path), never the working folder.
QString folderToStartAt(const QString& wanted);

class QtUiPort : public core::UiPort {
public:
    // The window that owns the boxes and dialogs.
    void setOwner(QWidget* owner) { owner_ = owner; }
    void setWindowShower(std::function<void(core::WindowId)> shower) {
        showWindow_ = std::move(shower);
    }
    // Runs before a modal box or dialog opens, so the window behind it shows
    // the state that led to it (a paused scan, say).
    void setBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }

    void showMessage(const QString& text) override;
    core::MsgAnswer messageBox(const QString& caption, const QString& text, core::MsgIcon icon,
                               core::MsgButtons buttons) override;
    void showError(const QString& text) override;
    void playSound(const QString& name) override;
    std::optional<QString> browseForFolder(const QString& title,
                                           const QString& startFolder) override;
    std::optional<QString> openFileName(const core::FileDialogOptions& dialog) override;
    std::optional<QString> saveFileName(const core::FileDialogOptions& dialog) override;
    void showWindow(core::WindowId window) override;
    bool openWithShell(const QString& target) override;
    bool openInTextViewer(const QString& path) override;
    std::optional<QString> askText(const QString& title, const QString& prompt,
                                   const QString& proposal) override;

private:
    void prepareModal() const;
    // A box opened from another modal window (the advanced restore) belongs
    // over that window, not behind it.
    QWidget* boxOwner() const;

    QPointer<QWidget> owner_;
    std::function<void()> beforeModal_;
    std::function<void(core::WindowId)> showWindow_;
};

} // namespace pylomir::ui
