#include "cli/console_ui.h"

#include "cli/progress_line.h"
#include "platform/file_names.h"

#include <cstdio>

namespace pylomir::cli {

namespace {

// UTF-8, except that a file name's bytes that are not UTF-8 go out as they
// are: a printed path is the path itself, and a script can pass it on.
void write(FILE* stream, const QString& text) {
    const QByteArray bytes = platform::encodeFileName(text);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

void printError(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!out.endsWith(QLatin1Char('\n')))
        out += QLatin1Char('\n');
    eraseProgress();
    std::fflush(stdout); // keep the order of interleaved output on a terminal
    write(stderr, out);
    std::fflush(stderr);
}

void printOut(const QString& text) {
    write(stdout, text);
}

void ConsoleUi::showMessage(const QString& text) {
    if (notesShown_ && (!boxShown_ || boxShown_(text)))
        printError(text);
}

core::MsgAnswer ConsoleUi::messageBox(const QString& caption, const QString& text,
                                      core::MsgIcon icon, core::MsgButtons buttons) {
    const QString title = caption.trimmed();
    const bool error = icon == core::MsgIcon::Error || title == QStringLiteral("Błąd");
    // "Błąd: Błąd skanowania..." would say it twice.
    const bool shown = (error || notesShown_) && (!boxShown_ || boxShown_(text));
    if (shown)
        printError(title.isEmpty() || text.startsWith(title) ? text
                                                             : title + QStringLiteral(": ") + text);
    if (error)
        recordError(text);
    return core::safeAnswer(buttons);
}

void ConsoleUi::showError(const QString& text) {
    printError(text);
    recordError(text);
}

void ConsoleUi::recordError(const QString& text) {
    errors_ << text;
    if (context_) {
        const QString context = context_();
        if (!context.isEmpty())
            printError(context);
    }
}

} // namespace pylomir::cli
