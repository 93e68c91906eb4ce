#include "platform/file_names.h"

#include "platform/locale_formats.h"

#include <QHash>

namespace pylomir::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + the byte, 0x80..0xFF
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at p (lead byte >= 0x80), or 0.
// Overlong forms, encoded surrogates and code points past U+10FFFF are not
// valid (Unicode table 3-7).
int validSequence(const unsigned char* p, qsizetype left) {
    const unsigned char b = p[0];
    int length;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0)
            low = 0xA0;
        else if (b == 0xED)
            high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0)
            low = 0x90;
        else if (b == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (!isContinuation(p[i]))
            return 0;
    return length;
}

bool isEscape(const char16_t* p, qsizetype i) {
    // A low surrogate right after a high one is half of a pair, not a byte.
    return p[i] >= kFirstEscape && p[i] <= kLastEscape &&
           (i == 0 || !QChar::isHighSurrogate(p[i - 1]));
}

} // namespace

qsizetype decodeFileName(QByteArrayView bytes, char16_t* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    char16_t* o = out;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            *o++ = b;
            ++i;
            continue;
        }
        const int length = validSequence(p + i, n - i);
        if (length == 0) {
            *o++ = char16_t(kEscapeBase + b);
            ++i;
            continue;
        }
        char32_t c = b & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (p[i + k] & 0x3F);
        if (QChar::requiresSurrogates(c)) {
            *o++ = QChar::highSurrogate(c);
            *o++ = QChar::lowSurrogate(c);
        } else {
            *o++ = char16_t(c);
        }
        i += length;
    }
    return o - out;
}

QString decodeFileName(QByteArrayView bytes) {
    QString name(bytes.size(), Qt::Uninitialized);
    name.resize(decodeFileName(bytes, reinterpret_cast<char16_t*>(name.data())));
    return name;
}

QByteArray encodeFileName(QStringView name) {
    const char16_t* p = name.utf16();
    const qsizetype n = name.size();
    QByteArray out(n * 3, Qt::Uninitialized); // no unit takes more than 3 bytes
    char* o = out.data();
    const auto put = [&o](char32_t v) { *o++ = char(v); };
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = p[i];
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), p[++i]);
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else if (isEscape(p, i)) {
            put(c - kEscapeBase);
        } else {
            // Any other lone surrogate came from no name; it goes out as
            // the replacement character, as Qt's own encoder writes it.
            if (QChar::isSurrogate(c))
                c = QChar::ReplacementCharacter;
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    out.truncate(o - out.constData());
    return out;
}

bool holdsRawBytes(QStringView name) {
    const char16_t* p = name.utf16();
    for (qsizetype i = 0; i < name.size(); ++i)
        if (isEscape(p, i))
            return true;
    return false;
}

#ifdef _WIN32

bool samePath(QStringView a, QStringView b) {
    return sameText(a, b);
}

size_t pathHash(QStringView path) {
    return foldedHash(path);
}

QString pathKey(QStringView path) {
    return path.toString().toCaseFolded();
}

#else

bool samePath(QStringView a, QStringView b) {
    return a == b;
}

size_t pathHash(QStringView path) {
    return qHash(path);
}

QString pathKey(QStringView path) {
    return path.toString();
}

#endif

} // namespace pylomir::platform
