// File names as the program holds them, and when two paths are the same.
//
// POSIX names are bytes, mostly but not always UTF-8. Valid UTF-8 decodes as
// usual; each byte that is not part of valid UTF-8 becomes its own reserved
// code point, a lone low surrogate U+DC80..U+DCFF that valid text never
// holds, and encoding turns it back into that byte. So every name survives
// the trip to text and back exactly, and two different names never become
// the same text. Windows names are UTF-16 already and need neither call.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstddef>

namespace pylomir::platform {

QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(QStringView name);
// Decodes into a buffer of at least bytes.size() units; returns the number
// written.
qsizetype decodeFileName(QByteArrayView bytes, char16_t* out);
// Whether a name holds bytes that are not UTF-8, which no text file of the
// program can carry.
bool holdsRawBytes(QStringView name);

// Whether two paths name the same entry as the file system compares names:
// letter case ignored on Windows, exact elsewhere. No other normalisation.
bool samePath(QStringView a, QStringView b);
// A hash consistent with samePath.
size_t pathHash(QStringView path);
// The text two paths share exactly when samePath holds, for keying a hash.
QString pathKey(QStringView path);

} // namespace pylomir::platform
