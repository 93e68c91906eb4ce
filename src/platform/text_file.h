// The program's text files: Windows-1250 with CR LF after every line.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace pylomir::platform {

// Encodes a text as Windows-1250, or, when a character has no byte there (or
// the bytes would begin like a UTF-8 byte-order mark), as the mark followed
// by UTF-8. A file name's bytes that are not UTF-8 (file_names.h) go out as
// they are, so names round-trip exactly.
QByteArray encodeText(const QString& text);
// Decodes either form of encodeText; bytes that are not UTF-8 after the mark
// decode as file names do.
QString decodeText(QByteArrayView bytes);
// Splits a text at CR LF, CR or LF; a last line without a line end counts.
QStringList splitLines(const QString& text);

// Encodes lines as Windows-1250, each followed by CR LF. When a line holds a
// character the code page cannot represent, the whole text is written as
// UTF-8 with a byte-order mark instead, so nothing is lost.
QByteArray encodeLines(const QStringList& lines);
// Decodes either form; splits at CR LF, CR or LF; stops at a NUL byte.
// An empty text gives no lines; a last line without a line end is a line.
QStringList decodeLines(const QByteArray& bytes);

class FileSystem;

// The built-in Windows-1250 table that serves builds whose Qt lacks the code
// page. Encoding fails when a character has no byte.
bool encodeCp1250ByTable(QStringView text, QByteArray& out);
QString decodeCp1250ByTable(QByteArrayView bytes);

// The most lines a list or filter file may hold: each line costs memory of
// its own, so a small file of line ends could otherwise exhaust it.
inline constexpr qsizetype kMaxListLines = 1'000'000;

// Reads a list file. On failure returns false with the system's reason; a
// path that is not a regular file (a folder, FIFO or device) and a file of
// more than maxLines lines are failures too, and the lines are left as they
// were.
bool readListFile(FileSystem& fs, const QString& path, QStringList& lines,
                  QString* reason = nullptr, qsizetype maxLines = kMaxListLines);
// Writes a list file through a temporary file and a rename; on failure the
// old file stays as it was and the system's reason is returned. A line
// holding a name that is not UTF-8 (holdsRawBytes), a line break or a NUL is
// left out and listed in skipped: the file could only hold some other name,
// or several, in its place.
bool writeListFile(FileSystem& fs, const QString& path, const QStringList& lines,
                   QString* reason = nullptr, QStringList* skipped = nullptr);

// The file layer's error texts for a file that cannot be opened or created.
QString cannotOpenMessage(const QString& path, const QString& reason);
QString cannotCreateMessage(const QString& path, const QString& reason);
// The message that tells which lines writeListFile left out.
QString skippedLinesMessage(const QString& path, const QStringList& skipped);
// The notice that a list whose file could not be read is kept from
// overwriting that file.
QString unreadListNotSavedMessage(const QString& path);

} // namespace pylomir::platform
