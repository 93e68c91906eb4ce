// What the commands over the window's state share: the main window's core
// over the machine's services and its start-up; for "scan" and "clean" also
// the scanning mode and the scan of one folder.
#pragma once

#include "app/main_window_core.h"
#include "cli/console_ui.h"
#include "cli/progress_line.h"
#include "core/main_window_model.h"
#include "core/message_pump.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"

#include <QByteArrayList>
#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <QCommandLineParser>

#include <memory>
#include <optional>

namespace pylomir::cli {

// --mode and its argument.
QCommandLineOption modeOption();
// "bezpieczny", "mniej-bezpieczny", "zaawansowany" or "uzytkownika"
// (also "użytkownika"), any letter case.
std::optional<core::FilterMode> parseMode(const QString& text);

// --older-than, --larger-than and --smaller-than: which found files the
// search engine's own date and size tests let through.
struct EntryBounds {
    std::optional<qint64> olderThanDays; // last modified before today minus this
    std::optional<qint64> largerThan;    // bytes, exclusive
    std::optional<qint64> smallerThan;   // bytes, exclusive
};
// Adds the three options to a scanning command.
void addEntryBoundOptions(QCommandLineParser& parser);

// The FOLDER, --mode and bounds of a scanning command.
struct ScanArguments {
    QString folder;
    std::optional<core::FilterMode> mode; // none: the stored one
    EntryBounds bounds;
};
// Reads them from a parsed command line; when they are wrong, reports the
// usage error and returns its exit status.
std::optional<int> readScanArguments(const QCommandLineParser& parser,
                                     const QCommandLineOption& modeOption, const QString& command,
                                     ScanArguments& arguments);

// "Znalazłem:", "Rozmiar:", "Zignorowano:" and "Podejrzanych:" on standard
// error.
void printSummary(const core::ScanState& scan);
// The summary's members in JSON: the counts, the error, the skipped
// folders and the summary's labelled texts.
QByteArrayList scanSummaryJson(const core::MainWindowModel& m, const QStringList& unlisted,
                               const QStringList& errors);
// The folders a scan skipped, one a line, escaped as text output is.
void printUnlistedFolders(const QString& command, const QStringList& folders);

class ScanSession {
public:
    // Opens the settings store; command names the subcommand in messages.
    // The session's files go through fileSystem (the machine's when null).
    explicit ScanSession(const QString& command, platform::FileSystem* fileSystem = nullptr);
    // Tells of a damaged settings file's copy, however the command ended.
    ~ScanSession();
    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

    // The window's start-up, then the filters of the mode (the stored one
    // when none is given). False when the mode's filters could not be read.
    bool start(std::optional<core::FilterMode> mode);
    // The window's start-up alone; its notes (an unset log folder) concern
    // the window and are not printed.
    void startWithoutNotes();
    // Scans folder (made absolute) as the start button does. Every skipped
    // folder is kept for the caller to name, not ten of them in a box.
    // Only files within bounds are found. A progress line shows on a
    // terminal while it lasts.
    void scan(const QString& folder, const EntryBounds& bounds = {});

    app::MainWindowCore& windowCore() { return *windowCore_; }
    const core::MainWindowModel& model() const { return windowCore_->model(); }
    const core::Services& services() const { return services_; }
    ConsoleUi& ui() { return ui_; }
    // The message hook of the session's work, which draws its progress.
    ProgressPump& progress() { return pump_; }
    // What the scan reported: its errors, and the folders it could not list.
    const QStringList& scanErrors() const { return scanErrors_; }
    const QStringList& unlistedFolders() const { return unlisted_; }

private:
    QString command_;
    std::unique_ptr<platform::SettingsStore> settings_;
    platform::LocaleFormats locale_;
    ConsoleUi ui_;
    ProgressPump pump_;
    core::Services services_;
    std::unique_ptr<app::MainWindowCore> windowCore_;
    QStringList scanErrors_;
    QStringList unlisted_;
};

} // namespace pylomir::cli
