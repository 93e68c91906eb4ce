// Found-list files: the found list saved to a ".pff" file and loaded back
// later, to delete or inspect its files without scanning again.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"
#include "core/status_line.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace pylomir::records {

// The dialogs' filter, as the program writes it.
inline const QString kFoundListFilter = QStringLiteral("Pylomir Find Files - *.PFF|*.pff");

// The name a list is saved under: the chosen one with ".pff" appended unless
// it ends with that already (letter case ignored).
QString foundListFileName(const QString& chosen);

// The lines of a loaded file that may stand on the found list: full paths
// that name one file by themselves. A relative path, a ".." part or a
// wildcard would make a later deletion act on files nobody listed.
struct LoadedLines {
    QStringList paths;
    qsizetype dropped = 0; // empty lines included
};
LoadedLines checkLoadedLines(const QStringList& lines);

// The message that tells how many lines of the file at path were left out.
QString droppedLinesMessage(const QString& path, qsizetype dropped);

class FoundListFiles {
public:
    enum class Outcome { Done, Cancelled, Failed };

    // What the command asks of the subsystems that own the state it changes.
    struct Hooks {
        // The loaded paths replace the found list (none: the open dialog was
        // cancelled), and the count is shown as loaded.
        std::function<void(const std::optional<QStringList>&)> showLoadedList;
        // The alert images hidden, its text "-".
        std::function<void()> resetAlert;
    };

    // Reads the found list; writes only the status text.
    FoundListFiles(const core::FoundList& foundList, core::StatusLine& status,
                   const core::Services& services, Hooks hooks);

    // "Zapisz listę znalez. plików  ": every entry, in list order.
    Outcome saveFoundList();
    // "Wczytaj listę znalez. plików".
    Outcome loadFoundList();
    // The found list's menu items: the same, then a status text that says
    // what happened, and the alert reset.
    void saveFoundListFromMenu();
    void loadFoundListFromMenu();

private:
    const core::FoundList& found_;
    core::StatusLine& status_;
    core::Services s_;
    Hooks hooks_;
};

} // namespace pylomir::records
