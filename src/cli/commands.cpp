#include "cli/commands.h"

#include "cli/console_ui.h"

namespace pylomir::cli {

std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& args,
                                const QString& command) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args))
        return usageError(command, parser.errorText());
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        // The parser names the program by the path it was started with.
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String("[options]"));
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
        if (options >= 0 && options < lineEnd)
            text.replace(0, options, QStringLiteral("Usage: pylomir-cli %1 ").arg(command));
        printOut(text);
        return kExitOk;
    }
    return std::nullopt;
}

int usageError(const QString& command, const QString& message) {
    printError(
        QStringLiteral("pylomir-cli %1: %2\nTry 'pylomir-cli %1 --help'.").arg(command, message));
    return kExitUsage;
}

} // namespace pylomir::cli
