#include "backup/archive_format.h"

#include "platform/file_system.h"

namespace pylomir::backup {

qint32 toDosDateTime(const QDateTime& local) {
    if (!local.isValid())
        return (1 << 5 | 1) << 16; // 1980-01-01 00:00:00
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 1980)
        return (1 << 5 | 1) << 16;
    if (d.year() > 2107)
        return qint32(0xFF9FBF7DU); // 2107-12-31 23:59:58
    const quint32 date = quint32((d.year() - 1980) * 512 + d.month() * 32 + d.day());
    const quint32 time = quint32(t.hour() * 2048 + t.minute() * 32 + t.second() / 2);
    return qint32(date << 16 | time);
}

QDateTime fromDosDateTime(qint32 dos) {
    const quint32 u = quint32(dos);
    const int date = int(u >> 16);
    const int time = int(u & 0xFFFF);
    const QDate d(1980 + (date >> 9), (date >> 5) & 15, date & 31);
    const QTime t((time >> 11), (time >> 5) & 63, (time & 31) * 2);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

void ListSizes::add(QByteArrayView text) {
    bytes_ += text.size();
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            endLine();
        } else if (c == '=') {
            inLine_ = sized_ = true;
            size_ = -1; // no digit yet
        } else if (c >= '0' && c <= '9' && sized_) {
            size_ = qMax<qint64>(size_, 0) * 10 + (c - '0');
            sized_ = size_ <= kMaxMemberSize;
        } else {
            inLine_ = true;
            sized_ = false;
        }
    }
}

// CR LF, CR and LF each end a line; the empty lines between are nothing.
void ListSizes::endLine() {
    if (!inLine_)
        return;
    if (sized_ && size_ >= 0)
        sum_ += size_;
    else
        valid_ = false;
    inLine_ = sized_ = false;
}

qint64 ListSizes::total(qint32 headerTotal) const {
    ListSizes ended = *this; // a last line without its line end counts too
    ended.endLine();
    const qint64 listed = ended.sum_ + ended.bytes_;
    if (ended.valid_ && quint32(quint64(listed)) == quint32(headerTotal))
        return listed;
    return quint32(headerTotal);
}

qint64 totalFromList(QByteArrayView listText, qint32 headerTotal) {
    ListSizes sizes;
    sizes.add(listText);
    return sizes.total(headerTotal);
}

PathStyle nativePathStyle() {
    return platform::separator() == QLatin1Char('\\') ? PathStyle::Windows : PathStyle::Posix;
}

QString lowerAZ(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    }
    return out;
}

QString volumeName(const QString& name, const QString& digits) {
    const qsizetype sep = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf('\\'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > sep ? name.left(dot) : name;
    return stem + QLatin1Char('.') + digits;
}

QString volumeDigits(int volume) {
    return (QStringLiteral("00") + QString::number(volume)).right(3);
}

} // namespace pylomir::backup
