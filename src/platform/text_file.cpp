#include "platform/text_file.h"

#include "platform/file_names.h"
#include "platform/file_system.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace pylomir::platform {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// Windows-1250 bytes 0x80..0xFF. Qt normally converts through ICU; this
// table serves builds without it. Unassigned bytes map to the C1 controls,
// as Windows itself does.
constexpr std::array<char16_t, 128> kCp1250High = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// The converters, or an invalid one when this Qt build lacks the code page.
QStringEncoder cp1250Encoder() {
    return QStringEncoder("windows-1250");
}
QStringDecoder cp1250Decoder() {
    return QStringDecoder("windows-1250");
}

} // namespace

bool encodeCp1250ByTable(QStringView text, QByteArray& out) {
    out.resize(text.size());
    char* p = out.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            *p++ = static_cast<char>(u);
            continue;
        }
        qsizetype i = 0;
        while (i < 128 && kCp1250High[i] != u)
            ++i;
        if (i == 128)
            return false;
        *p++ = static_cast<char>(0x80 + i);
    }
    return true;
}

QString decodeCp1250ByTable(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* p = out.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *p++ = QChar(b < 0x80 ? char16_t(b) : kCp1250High[b - 0x80]);
    }
    return out;
}

namespace {

// Windows-1250 when every character has a byte; false otherwise.
bool encodeCp1250(const QString& text, QByteArray& out) {
    QStringEncoder enc = cp1250Encoder();
    if (!enc.isValid())
        return encodeCp1250ByTable(text, out);
    out = enc.encode(text);
    return !enc.hasError();
}

QString decodeCp1250(QByteArrayView bytes) {
    QStringDecoder dec = cp1250Decoder();
    if (!dec.isValid())
        return decodeCp1250ByTable(bytes);
    return dec.decode(bytes);
}

} // namespace

QByteArray encodeText(const QString& text) {
    QByteArray bytes;
    // A single-byte text that happens to begin with the mark's bytes would
    // read back as UTF-8, so it too goes out as UTF-8.
    if (encodeCp1250(text, bytes) && !bytes.startsWith(kBom))
        return bytes;
    // A file name that is not UTF-8 goes out as its own bytes, so that it
    // reads back as the same name.
    return QByteArray(kBom) + encodeFileName(text);
}

QString decodeText(QByteArrayView bytes) {
    return bytes.startsWith(kBom) ? decodeFileName(bytes.sliced(3)) : decodeCp1250(bytes);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

namespace {

// The text of a list file: everything before the first NUL byte.
QByteArrayView listText(QByteArrayView bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return nul >= 0 ? bytes.first(nul) : bytes;
}

// The number of lines splitLines will find in the decoded text. Line ends
// are the same single bytes in both encodings, so the count needs no
// decoding, and a file with too many lines is refused before it costs
// memory per line.
qsizetype countLines(QByteArrayView text) {
    if (text.startsWith(kBom))
        text = text.sliced(3);
    qsizetype lines = 0;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        ++lines;
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return start < n ? lines + 1 : lines;
}

} // namespace

QByteArray encodeLines(const QStringList& lines) {
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return encodeText(text);
}

QStringList decodeLines(const QByteArray& bytes) {
    return splitLines(decodeText(listText(bytes)));
}

bool readListFile(FileSystem& fs, const QString& path, QStringList& lines, QString* reason,
                  qsizetype maxLines) {
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    // Opening a FIFO or a device would wait for a writer or read forever.
    if (const std::optional<PathStatus> st = fs.status(path); st && !st->isFile)
        return fail(st->isFolder ? QStringLiteral("Is a directory")
                                 : QStringLiteral("Not a regular file"));
    const std::unique_ptr<QIODevice> file = fs.openForReading(path, reason);
    if (!file)
        return false;
    QString text;
    {
        const QByteArray bytes = file->readAll();
        // A read that fails half way must not pass for a shorter list.
        if (!file->atEnd())
            return fail(file->errorString());
        const QByteArrayView view = listText(bytes);
        if (countLines(view) > maxLines)
            return fail(QStringLiteral("The file has more than %1 lines").arg(maxLines));
        text = decodeText(view);
    } // the bytes go before the lines are made
    lines = splitLines(text);
    return true;
}

bool writeListFile(FileSystem& fs, const QString& path, const QStringList& lines, QString* reason,
                   QStringList* skipped) {
    // A name that is not UTF-8 has no faithful form in either encoding of a
    // list file; writing it as some other name would make the entry lie.
    QStringList written;
    written.reserve(lines.size());
    if (skipped)
        skipped->clear();
    // A line break (or a NUL, which ends the text) inside a name would read
    // back as other entries: a name split that way could ignore, or offer to
    // delete, a file nobody listed.
    const auto splitsOnReading = [](const QString& line) {
        for (const QChar c : line) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0))
                return true;
        }
        return false;
    };
    for (const QString& line : lines) {
        if (!holdsRawBytes(line) && !splitsOnReading(line))
            written.append(line);
        else if (skipped)
            skipped->append(line);
    }
    const std::unique_ptr<OutputFile> file = fs.openForWriting(path, WriteMode::Replace, reason);
    if (!file)
        return false;
    const QByteArray bytes = encodeLines(written);
    if (file->device().write(bytes) != bytes.size() || !file->finish()) {
        if (reason)
            *reason = file->errorString();
        return false; // the unfinished temporary file goes with `file`
    }
    return true;
}

QString cannotOpenMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
}

QString cannotCreateMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason);
}

QString skippedLinesMessage(const QString& path, const QStringList& skipped) {
    constexpr qsizetype kShown = 10;
    QStringList shown = skipped.mid(0, kShown);
    // One name per line, whatever the names hold.
    for (QString& name : shown) {
        name.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        name.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        name.replace(QChar(0), QLatin1String("\\0"));
    }
    QString names = shown.join(QLatin1Char('\n'));
    if (skipped.size() > kShown)
        names += QStringLiteral("\n… i %1 innych").arg(skipped.size() - kShown);
    return QStringLiteral("Nie zapisano do pliku \"%1\" nazw, których nie da się w nim zapisać "
                          "(zawierają bajty spoza UTF-8 albo znaki końca wiersza):\n%2")
        .arg(path, names);
}

QString unreadListNotSavedMessage(const QString& path) {
    return QStringLiteral("Nie zapisano pliku \"%1\", bo nie udało się go wcześniej odczytać - "
                          "zapis usunąłby jego zawartość. Zmiany tej listy obowiązują tylko do "
                          "zamknięcia programu.")
        .arg(path);
}

} // namespace pylomir::platform
