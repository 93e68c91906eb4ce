// The backup archive format.
//
// All integers are little-endian signed 32-bit ("i32"). A text is stored as
// i32 byte length followed by its bytes, without terminator (see "Texts").
//
// Archive (volume 1, or the caller's stream for the name ":STREAM"):
//
//   header   := i32 titleLength, titleLength bytes title,
//               i32 totalSize   (sum of all members' data sizes, list included)
//               i32 fileCount   (files the backup set out to store, list excluded)
//   member*
//   i32 0       end marker, where the next member's nameLength would stand
//
//   member   := i32 nameLength (> 0), nameLength bytes name,
//               i32 fileDate (DOS date-time, local time: see toDosDateTime)
//               segment [volume-record segment]...
//
//   segment  := 'E' 'C' '2' 0x00   (kSegmentSignature)
//               block*
//               i32 0               end of segment
//
//   block    := i32 blockLength, payload
//               blockLength > 0: a complete zlib stream (header, deflate
//                   data, Adler-32) of blockLength <= kBlockSize bytes that
//                   inflates to 1..kBlockSize data bytes; every block is its
//                   own stream, so blocks can be skipped by length and a
//                   member can continue in the next volume without
//                   compressor state.
//               blockLength < 0: -blockLength (1..kBlockSize) data bytes as
//                   they are, used when the zlib stream would not fit in
//                   kBlockSize bytes.
//
// An empty file is a member with one segment holding no blocks.
//
// Volumes. When the volume is full (maxVolumeSize set and the position reached
// maxVolumeSize - kVolumeSlack) the writer closes the segment in progress and
// writes a volume record where the next nameLength would stand:
//
//   record   := i32 12 (kVolumeRecordLength), "NEXT:DISK" (kVolumeRecordPrefix)
//               followed by three decimal digits (002...)
//
// The next volume has no header: it starts with a segment continuing the
// interrupted member, then the remaining members and, in the last volume, the
// end marker. Volume n >= 2 is named after the previous one with its
// extension replaced by "." and the three digits (x.backup, x.002, x.003...).
// A volume that was just opened always takes at least one block, so a small
// maxVolumeSize cannot stall the writer; at most 999 volumes are written. A
// reader takes them in that order: each record names the volume after its
// own, and one naming any other is damage.
//
// The information list is the first member when requested, named
// "FILE:LIST" (kListMemberName). Its data is text, one line per stored file:
//
//   line     := path TAB fileDate(decimal) "=" size(decimal, 64-bit) CR LF
//
// Texts (title, names, the list). Bytes are Windows-1250. A text holding a
// character Windows-1250 cannot represent is stored instead as the UTF-8
// byte-order mark EF BB BF followed by its UTF-8 bytes; a Windows-1250 text
// whose bytes would begin with EF BB BF is stored the same way, so a reader
// tells the two forms apart by the first three bytes alone. Member names are
// full paths; with backslash separators they are lower-cased (A to Z only),
// with '/' separators their letter case is kept.
#pragma once

#include "platform/text_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace pylomir::backup {

inline constexpr char kSegmentSignature[4] = {'E', 'C', '2', '\0'};
// Largest number of data bytes in one block and largest blockLength.
inline constexpr qint32 kBlockSize = 16384;
// Room kept below maxVolumeSize for the block in progress and the closing fields.
inline constexpr qint32 kVolumeSlack = kBlockSize + 100;
inline constexpr char kListMemberName[] = "FILE:LIST";
inline constexpr char kVolumeRecordPrefix[] = "NEXT:DISK";
inline constexpr qint32 kVolumeRecordLength = 12;
inline constexpr int kMaxVolumes = 999;
// The archive name that stands for the caller's stream instead of a file.
inline constexpr char kStreamArchiveName[] = ":STREAM";

// Reader limits for damaged archives: no real path or title comes near them.
inline constexpr qint32 kMaxNameLength = 32 * 1024;
inline constexpr qint32 kMaxTitleLength = 1024 * 1024;
inline constexpr qint64 kMaxListBytes = 64 * 1024 * 1024;
// A list entry costs far more than its text: lines beyond this are not read.
inline constexpr qsizetype kMaxListLines = 1'000'000;

// Largest file the 32-bit length fields can describe.
inline constexpr qint64 kMaxMemberSize = 0x7FFFFFFF;

// DOS date-time of a local time: date in the high 16 bits, time (2-second
// resolution) in the low 16. Times outside 1980..2107 are clamped.
qint32 toDosDateTime(const QDateTime& local);
// The local time of a DOS date-time; invalid when the fields are out of range.
QDateTime fromDosDateTime(qint32 dos);

// Text codec of titles, names and the list (see "Texts" above): the
// program's own text encoding.
using platform::decodeText;
using platform::encodeText;

// The list member's text and back. Lines are split at CR LF, CR or LF; unlike
// a list file, a NUL does not end a damaged list.
inline QByteArray encodeList(const QStringList& lines) {
    return platform::encodeLines(lines);
}
inline QStringList decodeList(QByteArrayView bytes) {
    return platform::splitLines(platform::decodeText(bytes));
}

// The sizes of the information list's lines added up as its text arrives,
// block by block: the size is the decimal after a line's last "=". A line
// that holds none, or a size no member can have, spoils the sum.
class ListSizes {
public:
    void add(QByteArrayView text);
    // The data of the whole archive: the sizes and the list's own bytes,
    // when every line had its size and the sum agrees with the header's
    // 32-bit total; otherwise that total read as unsigned.
    qint64 total(qint32 headerTotal) const;
    // Part of the list could not be read: the sum is not the archive's.
    void spoil() { valid_ = false; }

private:
    void endLine();

    qint64 sum_ = 0;
    qint64 bytes_ = 0;
    qint64 size_ = 0;     // the digits after the line's last "=" so far
    bool inLine_ = false; // the line has text
    bool sized_ = false;  // ... and a "=" followed by digits only, so far
    bool valid_ = true;   // every line ended so far had its size
};

// The archive's data total from the whole text of its information list and
// the header's total (see ListSizes).
qint64 totalFromList(QByteArrayView listText, qint32 headerTotal);

// How paths are written: Windows paths use '\', may begin with a drive and
// are lower-cased in the archive (their file system ignores case); POSIX
// paths use '/' and keep their case.
enum class PathStyle { Windows, Posix };
// The style of the machine's own paths.
PathStyle nativePathStyle();
inline QChar separatorOf(PathStyle style) {
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}
// '/' everywhere, and the style's own separator.
inline bool isSeparator(QChar c, PathStyle style) {
    return c == QLatin1Char('/') || c == separatorOf(style);
}

// Lower-cases A to Z only.
QString lowerAZ(const QString& text);

// The name of the volume after `name` for the three digits (x.backup -> x.002).
QString volumeName(const QString& name, const QString& digits);
// The three-digit form of a volume number: "002", "010", "999".
QString volumeDigits(int volume);

} // namespace pylomir::backup
