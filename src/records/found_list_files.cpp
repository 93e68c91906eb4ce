#include "records/found_list_files.h"

#include "platform/file_system.h"
#include "platform/text_file.h"

#include <utility>

namespace pylomir::records {

namespace {

const QString kExtension = QStringLiteral(".pff");

} // namespace

QString foundListFileName(const QString& chosen) {
    if (chosen.endsWith(kExtension, Qt::CaseInsensitive))
        return chosen;
    return chosen + kExtension;
}

LoadedLines checkLoadedLines(const QStringList& lines) {
    LoadedLines out;
    out.paths.reserve(lines.size());
    for (const QString& line : lines) {
        if (platform::isLiteralFullPath(line))
            out.paths.append(line);
        else
            ++out.dropped;
    }
    return out;
}

QString droppedLinesMessage(const QString& path, qsizetype dropped) {
    return QStringLiteral("Z pliku \"%1\" nie wczytano wierszy, które nie są pełnymi ścieżkami "
                          "plików (puste, ze ścieżką względną, z \"*\", \"?\" lub \"..\"): %2.")
        .arg(path)
        .arg(dropped);
}

FoundListFiles::FoundListFiles(const core::FoundList& foundList, core::StatusLine& status,
                               const core::Services& services, Hooks hooks)
    : found_(foundList), status_(status), s_(services), hooks_(std::move(hooks)) {}

FoundListFiles::Outcome FoundListFiles::saveFoundList() {
    core::FileDialogOptions dialog;
    dialog.title = QStringLiteral("Zapisz listę");
    dialog.filter = kFoundListFilter;
    const std::optional<QString> chosen = s_.ui->saveFileName(dialog);
    if (!chosen)
        return Outcome::Cancelled;
    const QString path = foundListFileName(*chosen);
    QString reason;
    QStringList skipped;
    if (!platform::writeListFile(*s_.fileSystem, path, found_.paths(), &reason, &skipped)) {
        s_.ui->showError(platform::cannotCreateMessage(path, reason));
        return Outcome::Failed;
    }
    if (!skipped.isEmpty())
        s_.ui->showError(platform::skippedLinesMessage(path, skipped));
    return Outcome::Done;
}

FoundListFiles::Outcome FoundListFiles::loadFoundList() {
    core::FileDialogOptions dialog;
    dialog.title = QStringLiteral("Wczytaj listę wyszukanych plików");
    dialog.filter = kFoundListFilter;
    const std::optional<QString> chosen = s_.ui->openFileName(dialog);
    if (!chosen) {
        // The caption turns to the loaded count even so.
        hooks_.showLoadedList(std::nullopt);
        return Outcome::Cancelled;
    }
    QString reason;
    QStringList lines;
    if (!platform::readListFile(*s_.fileSystem, *chosen, lines, &reason)) {
        s_.ui->showError(platform::cannotOpenMessage(*chosen, reason));
        return Outcome::Failed;
    }
    LoadedLines loaded = checkLoadedLines(lines);
    hooks_.showLoadedList(std::move(loaded.paths));
    if (loaded.dropped > 0)
        s_.ui->messageBox(QStringLiteral("Wczytaj listę wyszukanych plików"),
                          droppedLinesMessage(*chosen, loaded.dropped), core::MsgIcon::Warning,
                          core::MsgButtons::Ok);
    return Outcome::Done;
}

void FoundListFiles::saveFoundListFromMenu() {
    switch (saveFoundList()) {
    case Outcome::Done:
        status_.show(QStringLiteral("Zapisano listę plików"));
        break;
    case Outcome::Cancelled:
        status_.show(QStringLiteral("Anulowano zapisywanie listy plików"));
        break;
    case Outcome::Failed:
        // The error box gave the reason; an earlier success must not stay.
        status_.show(QStringLiteral("Nie zapisano listy plików"));
        return;
    }
    hooks_.resetAlert();
}

void FoundListFiles::loadFoundListFromMenu() {
    switch (loadFoundList()) {
    case Outcome::Done:
        status_.show(QStringLiteral("Wczytano listę plików"));
        break;
    case Outcome::Cancelled:
        status_.show(QStringLiteral("Anulowano wczytywanie listy plików"));
        break;
    case Outcome::Failed:
        status_.show(QStringLiteral("Nie wczytano listy plików"));
        return;
    }
    hooks_.resetAlert();
}

} // namespace pylomir::records
