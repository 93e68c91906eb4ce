#include "cli/path_output.h"

#include "cli/progress_line.h"
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

// A JSON string of UTF-8 bytes.
namespace {

QByteArray jsonUtf8String(const QByteArray& bytes) {
    QByteArray out = "\"";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += ch;
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            out += "\\u00" + QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            out += ch;
        }
    }
    return out + '"';
}

} // namespace

// A name's bytes that are not UTF-8 cannot stand in JSON as they are; each
// is written as the escape of its reserved code point (U+DC80..U+DCFF), which a reader
// with surrogate escapes (Python's "surrogateescape") turns back into the byte.
QByteArray jsonString(const QString& text) {
    QByteArray out;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart) {
            const QByteArray run = jsonUtf8String(text.mid(runStart, end - runStart).toUtf8());
            out += run.mid(1, run.size() - 2);
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF) {
            flush(i);
            out += "\\udc" + QByteArray::number(u & 0xFF, 16).rightJustified(2, '0');
            runStart = i + 1;
        }
    }
    flush(text.size());
    return '"' + out + '"';
}

QByteArray jsonMember(const char* name, const QByteArray& value) {
    return jsonString(QString::fromUtf8(name)) + ": " + value;
}

QByteArray jsonStrings(const QStringList& texts, const QByteArray& indent) {
    QByteArrayList items;
    items.reserve(texts.size());
    for (const QString& text : texts)
        items << jsonString(text);
    return jsonArray(items, indent);
}

QByteArray jsonArray(const QByteArrayList& items, const QByteArray& indent) {
    if (items.isEmpty())
        return "[]";
    const QByteArray inner = '\n' + indent + "    ";
    return '[' + inner + items.join(',' + inner) + '\n' + indent + ']';
}

QByteArray jsonObject(const QByteArrayList& members, const QByteArray& indent) {
    if (members.isEmpty())
        return "{}";
    const QByteArray inner = '\n' + indent + "    ";
    return '{' + inner + members.join(',' + inner) + '\n' + indent + '}';
}

void writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeErr(const QByteArray& bytes) {
    eraseProgress();
    std::fflush(stdout); // keep the order of interleaved output on a terminal
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace pylomir::cli
