#include "cli/path_output.h"

#include "platform/file_names.h"
#include "platform/file_system.h"

#include <cstdio>

namespace pylomir::cli {

QByteArray pathBytes(const QString& path) {
    return platform::encodeFileName(path);
}

// Where the backslash is the separator it stays as it is: such names cannot
// hold control characters.
QByteArray textField(const QByteArray& bytes) {
    const bool escapeBackslash = platform::separator() != QLatin1Char('\\');
    QByteArray out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '\n') {
            out += "\\n";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b == '\\' && escapeBackslash) {
            out += "\\\\";
        } else if (b < 0x20 || b == 0x7F) {
            const char octal[] = {'\\', char('0' + (b >> 6)), char('0' + ((b >> 3) & 7)),
                                  char('0' + (b & 7))};
            out.append(octal, sizeof octal);
        } else {
            out += ch;
        }
    }
    return out;
}

QByteArray pathLines(const QStringList& paths, bool nullEnded) {
    QByteArray out;
    for (const QString& path : paths) {
        if (nullEnded)
            out += pathBytes(path) + '\0';
        else
            out += textField(pathBytes(path)) + '\n';
    }
    return out;
}

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeErr(const QByteArray& bytes) {
    std::fflush(stdout); // keep the order of interleaved output on a terminal
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace pylomir::cli
