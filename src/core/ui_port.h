// Everything a window asks of the user goes through this port, so every
// command runs headless in tests with scripted answers.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace pylomir::core {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The embedded sounds, by their resource names.
inline const QString kScanStartSound = QStringLiteral("JABLKO");
inline const QString kDoneSound = QStringLiteral("GOTOWE"); // a scan ends, a backup is ready
inline const QString kAlertSound = QStringLiteral("ALERT"); // a medium or high risk

// The windows that one window may show.
enum class WindowId { FullList, GoToLocation, ObjectInfo, BackupProgress, AdvancedRestore };

struct FileDialogOptions {
    QString title;
    QString filter; // "Name|*.ext" pairs, as the program writes them
    QString defaultName;
    QString initialDir;
};

class UiPort {
public:
    virtual ~UiPort() = default;
    // A plain information box captioned with the application's title.
    virtual void showMessage(const QString& text) = 0;
    // A message box with its own caption, icon and buttons.
    virtual MsgAnswer messageBox(const QString& caption, const QString& text, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // The application's default error box (errors that reach the top).
    virtual void showError(const QString& text) = 0;
    // Plays one of the embedded sounds above without waiting.
    virtual void playSound(const QString& name) = 0;
    // The folder browser, opened at startFolder (or the nearest folder that
    // exists); nothing when cancelled.
    virtual std::optional<QString> browseForFolder(const QString& title,
                                                   const QString& startFolder) = 0;
    virtual std::optional<QString> openFileName(const FileDialogOptions& dialog) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogOptions& dialog) = 0;
    // Shows another window of the program.
    virtual void showWindow(WindowId window) = 0;
    // Opens a file, folder or link with the program the desktop has for it;
    // false when nothing took it.
    virtual bool openWithShell(const QString& target) = 0;
    // Shows a plain-text file in a text viewer of its own, without waiting;
    // false when nothing took it.
    virtual bool openInTextViewer(const QString& path) = 0;
    // A text input box; nothing when cancelled.
    virtual std::optional<QString> askText(const QString& title, const QString& prompt,
                                           const QString& proposal) = 0;
};

// The answer that can lose nothing: Ok where there is nothing to choose,
// otherwise Cancel (or No where there is no Cancel).
MsgAnswer safeAnswer(MsgButtons buttons);

// A port with nobody behind it: it shows nothing, asks nothing and gives
// every question its safe answer. The command line and the benchmarks build
// on it.
class NullUiPort : public UiPort {
public:
    void showMessage(const QString&) override {}
    MsgAnswer messageBox(const QString&, const QString&, MsgIcon, MsgButtons buttons) override {
        return safeAnswer(buttons);
    }
    void showError(const QString&) override {}
    void playSound(const QString&) override {}
    std::optional<QString> browseForFolder(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialogOptions&) override { return std::nullopt; }
    void showWindow(WindowId) override {}
    bool openWithShell(const QString&) override { return false; }
    bool openInTextViewer(const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

} // namespace pylomir::core
