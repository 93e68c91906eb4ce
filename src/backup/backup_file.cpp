#include "backup/backup_file.h"

#include "backup/archive_format.h"
#include "core/message_pump.h"
#include "core/ui_port.h"
#include "engine/mask.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <zlib.h>

#include <cstring>

namespace pylomir::backup {

const char* const kCannotReadArchive = "Nie można odczytać pliku kopii zapasowej !";
const char* const kNotAnArchive = "To nie jest plik kopii zapasowej programu Pylomir !";
const char* const kArchiveReadError = "Stream read error";
const char* const kVolumePrompt = "Please insert disk %s and click OK to continue.";

namespace {

const QString kStreamName = QStringLiteral(":STREAM");
// Archives and files move through the component in chunks of this size.
constexpr qint64 kChunkSize = 256 * 1024;

// Names follow the platform: lower-cased where the file system ignores case
// (backslash paths), kept as they are elsewhere.
bool foldsCase() {
    return platform::separator() == QLatin1Char('\\');
}

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == platform::separator();
}

int zlibLevel(TCompressionLevel level) {
    switch (level) {
    case clFastest:
        return 1;
    case clNone:
        return 0;
    case clDefault:
        return Z_DEFAULT_COMPRESSION;
    case clMax:
        return 9;
    }
    return 100; // rejected by zlib: reported as a compressor failure
}

} // namespace

QString backupErrorMessage(qint32 code) {
    switch (code) {
    case ecReadData:
        return QStringLiteral("Nie można odczytać danych z pliku kopii zapasowej !");
    case ecOverwrite:
        return QStringLiteral("Nie można nadpisać istniejącego pliku. Sprawdź, czy plik nie jest "
                              "używany przez inny program !");
    case ecReadArchive:
        return QString::fromUtf8(kCannotReadArchive);
    case ecCreateArchive:
        return QStringLiteral("Nie można utworzyć kopii zapasowej pliku !");
    case ecNotArchive:
        return QString::fromUtf8(kNotAnArchive);
    case ecCompression:
        return QStringLiteral("Błąd przy kompresji pliku kopii zapasowej !");
    case ecTempFile:
        return QStringLiteral("Nie można utworzyć tymczasowego pliku, aby zapisać dane ID !");
    case ecOutsideFolder:
        return QStringLiteral("Pominięto pliki, które znalazłyby się poza wybranym folderem !");
    }
    return QString();
}

// Buffered archive output; remembers the first failure.
class TBackupFile::Writer {
public:
    Writer() : buffer_(kChunkSize, Qt::Uninitialized) {}
    ~Writer() { close(); }

    bool openFile(const QString& path) {
        close();
        file_ = std::make_unique<QFile>(path);
        if (!file_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            file_.reset();
            return ok_ = false;
        }
        device_ = file_.get();
        base_ = 0;
        return ok_ = true;
    }
    bool attach(QIODevice* device) {
        close();
        if (!device || !device->isWritable())
            return ok_ = false;
        device_ = device;
        base_ = device->isSequential() ? 0 : device->pos();
        return ok_ = true;
    }
    bool put(const char* data, qint64 n) {
        if (!ok_ || !device_)
            return false;
        if (used_ + n > buffer_.size() && !flush())
            return false;
        if (n >= buffer_.size()) {
            ok_ = device_->write(data, n) == n;
            base_ += n;
            return ok_;
        }
        std::memcpy(buffer_.data() + used_, data, size_t(n));
        used_ += n;
        return true;
    }
    bool put(const QByteArray& bytes) { return put(bytes.constData(), bytes.size()); }
    bool putInt(qint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        return put(bytes, 4);
    }
    // Position in the volume, buffered bytes included.
    qint64 pos() const { return base_ + used_; }
    bool flush() {
        if (!ok_ || !device_)
            return false;
        if (used_ > 0) {
            ok_ = device_->write(buffer_.constData(), used_) == used_;
            base_ += used_;
            used_ = 0;
        }
        return ok_;
    }
    // Flushes; closes the file, never a caller's stream.
    bool close() {
        if (!device_)
            return ok_;
        bool result = flush();
        if (file_) {
            file_->close();
            result = result && file_->error() == QFileDevice::NoError;
            file_.reset();
        }
        device_ = nullptr;
        used_ = 0;
        return ok_ = result;
    }

private:
    QByteArray buffer_;
    qint64 used_ = 0;
    qint64 base_ = 0;
    bool ok_ = false;
    QIODevice* device_ = nullptr;
    std::unique_ptr<QFile> file_;
};

// Buffered archive input that never trusts a length it has not seen.
class TBackupFile::Reader {
public:
    Reader() : buffer_(kChunkSize, Qt::Uninitialized) {}
    ~Reader() { close(); }

    bool openFile(const QString& path) {
        close();
        file_ = std::make_unique<QFile>(path);
        if (!file_->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            file_.reset();
            return false;
        }
        device_ = file_.get();
        return true;
    }
    void attach(QIODevice* device) {
        close();
        device_ = device;
    }
    // Closes the file; a caller's stream is left just after what was consumed.
    void close() {
        if (!device_)
            return;
        if (file_) {
            file_->close();
            file_.reset();
        } else if (!device_->isSequential() && end_ > pos_) {
            device_->seek(device_->pos() - (end_ - pos_));
        }
        device_ = nullptr;
        pos_ = end_ = 0;
    }
    // Bytes left, or -1 when the device cannot tell.
    qint64 left() const {
        if (device_->isSequential())
            return -1;
        return (end_ - pos_) + qMax<qint64>(0, device_->size() - device_->pos());
    }
    bool read(char* out, qint64 n) {
        while (n > 0) {
            if (pos_ == end_) {
                if (n >= buffer_.size()) {
                    const qint64 got = device_->read(out, n);
                    if (got <= 0)
                        return false;
                    out += got;
                    n -= got;
                    continue;
                }
                if (!refill())
                    return false;
            }
            const qint64 take = qMin(n, end_ - pos_);
            std::memcpy(out, buffer_.constData() + pos_, size_t(take));
            pos_ += take;
            out += take;
            n -= take;
        }
        return true;
    }
    bool readInt(qint32& value) {
        char bytes[4];
        if (!read(bytes, 4))
            return false;
        value = qFromLittleEndian<qint32>(bytes);
        return true;
    }
    // Callers bound n; a length beyond the end fails before anything is allocated.
    bool readBytes(QByteArray& out, qint64 n) {
        const qint64 available = left();
        if (n < 0 || (available >= 0 && n > available))
            return false;
        out.resize(n);
        return read(out.data(), n);
    }
    bool skip(qint64 n) {
        const qint64 buffered = qMin(n, end_ - pos_);
        pos_ += buffered;
        n -= buffered;
        if (n == 0)
            return true;
        if (!device_->isSequential()) {
            if (device_->size() - device_->pos() < n)
                return false;
            return device_->seek(device_->pos() + n);
        }
        while (n > 0) {
            if (!refill())
                return false;
            const qint64 take = qMin(n, end_ - pos_);
            pos_ += take;
            n -= take;
        }
        return true;
    }

private:
    bool refill() {
        const qint64 got = device_->read(buffer_.data(), buffer_.size());
        if (got <= 0)
            return false;
        pos_ = 0;
        end_ = got;
        return true;
    }

    QByteArray buffer_;
    qint64 pos_ = 0;
    qint64 end_ = 0;
    QIODevice* device_ = nullptr;
    std::unique_ptr<QFile> file_;
};

// One compressor and one decompressor, reset between blocks: the streams are
// the same as from fresh ones, without an allocation per block.
struct TBackupFile::Codec {
    z_stream deflater{};
    z_stream inflater{};
    bool deflaterReady = false;
    bool inflaterReady = false;
    int level = 0;

    ~Codec() {
        if (deflaterReady)
            deflateEnd(&deflater);
        if (inflaterReady)
            inflateEnd(&inflater);
    }
    bool startDeflate(int wanted) {
        if (deflaterReady && wanted == level)
            return deflateReset(&deflater) == Z_OK;
        if (deflaterReady)
            deflateEnd(&deflater);
        deflater = z_stream{};
        deflaterReady =
            deflateInit2(&deflater, wanted, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        level = wanted;
        return deflaterReady;
    }
    bool startInflate() {
        if (inflaterReady)
            return inflateReset(&inflater) == Z_OK;
        inflater = z_stream{};
        inflaterReady = inflateInit2(&inflater, 15) == Z_OK;
        return inflaterReady;
    }
};

// Marks an operation as running and releases its files however it ends.
struct TBackupFile::Guard {
    TBackupFile& owner;
    explicit Guard(TBackupFile& o) : owner(o) { owner.active_ = true; }
    ~Guard() {
        owner.writer_.reset();
        owner.reader_.reset();
        owner.busy_ = false;
        owner.active_ = false;
    }
};

TBackupFile::TBackupFile(QObject* owner)
    : QObject(owner), codec_(std::make_unique<Codec>()), input_(kChunkSize, Qt::Uninitialized),
      packed_(kBlockSize, Qt::Uninitialized), unpacked_(kBlockSize, Qt::Uninitialized) {}

TBackupFile::~TBackupFile() = default;

void TBackupFile::setBackupMode(TBackupMode mode) {
    if (mode == bmIncremental && backupMode_ != bmIncremental)
        setArchiveFlag_ = true;
    backupMode_ = mode;
}

platform::FileSystem& TBackupFile::fileSystem() const {
    return fs_ ? *fs_ : platform::realFileSystem();
}

// ---------------------------------------------------------------- backup

bool TBackupFile::Backup(const QStringList& FileList, const QString& ArchiveName) {
    if (active_)
        return false;
    Guard guard(*this);
    errorCode_ = 0;
    busy_ = true;
    const QStringList expanded = expand(FileList, ArchiveName);

    continue_ = true;
    progress(QString(), 0);

    // Measure, and drop files the 32-bit length fields cannot describe.
    totalSize64_ = 0;
    filesDone_ = 0;
    bytesDone_ = 0;
    QStringList work;
    QStringList listLines;
    for (const QString& entry : expanded) {
        const QString path = entry.trimmed();
        const QFileInfo info(path);
        if (!info.isFile()) {
            work << entry; // counted; skipped when storing
            continue;
        }
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            throw BackupError(platform::cannotOpenMessage(path, probe.errorString()));
        const qint64 size = probe.size();
        if (size > kMaxMemberSize) {
            setError(ecCreateArchive);
            continue;
        }
        work << entry;
        totalSize64_ += size;
        if (saveFileID_) {
            listLines << path + QLatin1Char('\t') +
                             QString::number(toDosDateTime(info.lastModified())) +
                             QLatin1Char('=') + QString::number(size);
        }
    }

    std::unique_ptr<QTemporaryFile> listFile;
    bool withList = false;
    if (saveFileID_) {
        const QString tempFolder = QDir::tempPath(); // empty when it does not exist
        listFile = std::make_unique<QTemporaryFile>(
            tempFolder.isEmpty() ? QString() : tempFolder + QStringLiteral("/FIDXXXXXX"));
        const QByteArray text = encodeList(listLines);
        if (!tempFolder.isEmpty() && listFile->open() && listFile->write(text) == text.size() &&
            listFile->flush()) {
            listFile->close();
            work.prepend(listFile->fileName());
            totalSize64_ += text.size();
            withList = true;
        } else {
            setError(ecTempFile);
            continue_ = false;
        }
    }

    // The header.
    fileCount_ = qint32(work.size() - (withList ? 1 : 0));
    totalSize_ = qint32(quint32(quint64(totalSize64_)));
    writer_ = std::make_unique<Writer>();
    volume_ = 1;
    blocksInVolume_ = 0;
    bool opened;
    if (ArchiveName == kStreamName) {
        volumePath_.clear();
        opened = writer_->attach(targetStream_);
    } else {
        volumePath_ = ArchiveName;
        opened = writer_->openFile(ArchiveName);
    }
    const QByteArray title = encodeText(backupTitle_);
    if (!opened || !writer_->putInt(qint32(title.size())) || !writer_->put(title) ||
        !writer_->putInt(totalSize_) || !writer_->putInt(fileCount_)) {
        setError(ecCreateArchive);
        continue_ = false;
    }

    // The members.
    bytesDone_ = 0;
    for (qsizetype i = 0; i < work.size() && continue_; ++i) {
        const bool isList = withList && i == 0;
        const QString path = work.at(i).trimmed();
        if (!QFileInfo(path).isFile())
            continue;
        if (storeFile(path, isList) && setArchiveFlag_ && !isList) {
            if (const auto found = fileSystem().findFirst(path))
                fileSystem().setAttributes(path, found->attributes & ~platform::faArchive);
        }
    }

    // The end marker.
    bool result = false;
    if (continue_) {
        result = writer_->putInt(0) && writer_->flush();
        if (!result) {
            setError(ecCreateArchive);
            continue_ = false;
        }
    }
    if (!writer_->close()) {
        if (errorCode_ == 0)
            setError(ecCreateArchive);
        result = false;
    }
    writer_.reset();
    listFile.reset();

    progress(QString(), 100);
    busy_ = false;
    if (errorCode_ != 0)
        reportError(errorCode_);
    return result && errorCode_ == 0;
}

QStringList TBackupFile::expand(const QStringList& fileList, const QString& archiveName) {
    const bool fold = foldsCase();
    const QString sep = QString(platform::separator());
    QString archivePath;
    if (archiveName != kStreamName) {
        archivePath = platform::toNative(QFileInfo(archiveName).absoluteFilePath());
        if (fold)
            archivePath = lowerAZ(archivePath);
    }

    QStringList work;
    QSet<QString> seen;
    for (const QString& entry : fileList) {
        QString mask = (fold ? lowerAZ(entry) : entry).trimmed();
        bool recursive = false;
        if (fold) {
            const qsizetype at = mask.indexOf(QLatin1String("/s"));
            if (at >= 0) {
                recursive = true;
                mask = mask.left(at).trimmed();
            }
        } else if (mask.size() > 2 && mask.endsWith(QLatin1String("/s"), Qt::CaseInsensitive) &&
                   mask.at(mask.size() - 3).isSpace()) {
            // "/s" is an ordinary part of POSIX paths; only a separate
            // trailing switch counts.
            recursive = true;
            mask = mask.chopped(2).trimmed();
        }
        qsizetype cut = mask.size() - 1;
        while (cut >= 0 && !isSeparator(mask.at(cut)))
            --cut;
        QString folder = mask.left(cut + 1);
        const QString name = mask.mid(cut + 1);
        if (QDir::isRelativePath(folder)) {
            folder = platform::toNative(QDir::currentPath()) + sep + folder;
            if (fold)
                folder = lowerAZ(folder);
        }
        expandFolder(folder, name, recursive, archivePath, work, seen);
    }
    return work;
}

void TBackupFile::expandFolder(const QString& folder, const QString& namePart, bool recursive,
                               const QString& archivePath, QStringList& work, QSet<QString>& seen) {
    platform::FileSystem& fs = fileSystem();
    if (recursive) {
        QStringList subFolders;
        if (auto listing = fs.list(folder)) {
            while (listing->next()) {
                const QStringView name = listing->name();
                if (name == u"." || name == u".." || !listing->isDirectory())
                    continue;
                if (listing->attributes() & (platform::faHidden | platform::faSysFile))
                    continue;
                subFolders << name.toString();
            }
        }
        for (const QString& sub : subFolders) {
            const QString path = folder + sub + platform::separator();
            expandFolder(foldsCase() ? lowerAZ(path) : path, namePart, true, archivePath, work,
                         seen);
        }
    }
    if (namePart.isEmpty())
        return;

    // A plain name is taken literally: no listing, and brackets in real file
    // names are not read as sets.
    if (!namePart.contains(QLatin1Char('*')) && !namePart.contains(QLatin1Char('?'))) {
        if (const auto found = fs.findFirst(folder + namePart)) {
            if (!(found->attributes & platform::faDirectory))
                addMatch(folder + namePart, found->attributes, archivePath, work, seen);
            return;
        }
    }
    const engine::Mask mask(namePart);
    auto listing = fs.list(folder);
    if (!listing)
        return;
    while (listing->next()) {
        const QStringView name = listing->name();
        if (name == u"." || name == u".." || listing->isDirectory())
            continue;
        if (mask.matches(name))
            addMatch(folder + name.toString(), listing->attributes(), archivePath, work, seen);
    }
}

void TBackupFile::addMatch(const QString& path, qint32 attributes, const QString& archivePath,
                           QStringList& work, QSet<QString>& seen) {
    const QString entry = foldsCase() ? lowerAZ(path) : path;
    if (seen.contains(entry) || entry == archivePath)
        return;
    if (backupMode_ == bmIncremental && !(attributes & platform::faArchive))
        return;
    seen.insert(entry);
    work << entry;
}

bool TBackupFile::storeFile(const QString& path, bool isList) {
    currentFile_ = path;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        setError(ecReadData);
        continue_ = false;
        return false;
    }
    const qint64 size = source.size();
    if (size > kMaxMemberSize) {
        // Grew past what the format can describe since it was measured.
        setError(ecCreateArchive);
        return false;
    }
    const QByteArray name = isList ? QByteArray(kListMemberName) : encodeText(path);
    if (!writer_->putInt(qint32(name.size())) || !writer_->put(name)) {
        setError(ecCreateArchive);
        continue_ = false;
        return false;
    }
    if (!writer_->putInt(toDosDateTime(QFileInfo(source).lastModified()))) {
        setError(ecReadData);
        continue_ = false;
        return false;
    }
    qint64 remaining = size;
    inputPos_ = inputLen_ = 0;
    bool ok = writeSegment(source, remaining);
    while (ok && remaining > 0 && continue_)
        ok = writeSegment(source, remaining);
    if (!ok || remaining > 0)
        return false;
    if (!isList)
        ++filesDone_;
    return true;
}

bool TBackupFile::readInput(QIODevice& source, qint64 n, qint64 remaining) {
    qint64 have = inputLen_ - inputPos_;
    if (have >= n)
        return true;
    std::memmove(input_.data(), input_.constData() + inputPos_, size_t(have));
    inputPos_ = 0;
    inputLen_ = have;
    const qint64 wanted = qMin<qint64>(input_.size(), remaining);
    while (inputLen_ < wanted) {
        const qint64 got = source.read(input_.data() + inputLen_, wanted - inputLen_);
        if (got <= 0)
            break;
        inputLen_ += got;
    }
    return inputLen_ >= n;
}

bool TBackupFile::writeSegment(QIODevice& source, qint64& remaining) {
    qint32 failure = 0;
    if (!writer_->put(kSegmentSignature, 4))
        failure = ecCreateArchive;
    const bool limited = maxSize_ > 0 && !volumePath_.isEmpty();
    const qint64 limit = qint64(maxSize_) - kVolumeSlack;
    while (!failure && remaining > 0 && continue_ &&
           (!limited || writer_->pos() < limit || (volume_ > 1 && blocksInVolume_ == 0))) {
        const qint64 n = qMin<qint64>(kBlockSize, remaining);
        if (!readInput(source, n, remaining)) {
            failure = ecCreateArchive;
            break;
        }
        const char* data = input_.constData() + inputPos_;
        inputPos_ += n;
        remaining -= n;
        bytesDone_ += n;

        if (!codec_->startDeflate(zlibLevel(compressionLevel_))) {
            failure = ecCompression;
        } else {
            z_stream& z = codec_->deflater;
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
            z.avail_in = uInt(n);
            z.next_out = reinterpret_cast<Bytef*>(packed_.data());
            z.avail_out = kBlockSize;
            const int result = deflate(&z, Z_FINISH);
            bool written;
            if (result == Z_STREAM_END) {
                const qint32 length = kBlockSize - qint32(z.avail_out);
                written = writer_->putInt(length) && writer_->put(packed_.constData(), length);
            } else if (result == Z_OK || result == Z_BUF_ERROR) {
                // The stream would not fit in a block: store the data as it is.
                written = writer_->putInt(-qint32(n)) && writer_->put(data, n);
            } else {
                failure = ecCompression;
                written = true;
            }
            if (!written)
                failure = ecCreateArchive;
            ++blocksInVolume_;
        }
        pump();
        progress(currentFile_, percent());
    }
    if (!writer_->putInt(0) && !failure)
        failure = ecCreateArchive;
    if (failure) {
        setError(failure);
        continue_ = false;
        return false;
    }
    if (remaining > 0 && continue_)
        return nextVolume();
    return true;
}

bool TBackupFile::nextVolume() {
    ++volume_;
    if (volume_ > kMaxVolumes) {
        // Three digits name the volumes; more would overwrite earlier ones.
        setError(ecCreateArchive);
        continue_ = false;
        return false;
    }
    const QString digits = volumeDigits(volume_);
    const QByteArray record = QByteArray(kVolumeRecordPrefix) + digits.toLatin1();
    const bool closed =
        writer_->putInt(kVolumeRecordLength) && writer_->put(record) && writer_->close();
    if (!closed) {
        setError(ecCreateArchive);
        continue_ = false;
        return false;
    }
    askForDisk(quint16(volume_), QString::number(volume_), false);
    if (!continue_)
        return true;
    volumePath_ = volumeName(volumePath_, digits);
    if (!writer_->openFile(volumePath_)) {
        setError(ecCreateArchive);
        continue_ = false;
        return false;
    }
    blocksInVolume_ = 0;
    return true;
}

// ---------------------------------------------------------------- restore

bool TBackupFile::Restore(const QString& ArchiveName, const QString& RestorePath) {
    if (active_)
        return false;
    QString restorePath = RestorePath;
    if (!restorePath.isEmpty() && !isSeparator(restorePath.back()))
        restorePath += platform::separator();
    errorCode_ = 0;
    filesDone_ = 0;
    continue_ = true;

    Guard guard(*this);
    reader_ = std::make_unique<Reader>();
    if (ArchiveName == kStreamName) {
        if (!sourceStream_)
            throw BackupError(QString::fromUtf8(kCannotReadArchive));
        reader_->attach(sourceStream_);
        volumePath_.clear();
    } else {
        if (!QFileInfo::exists(ArchiveName))
            return false;
        if (!reader_->openFile(ArchiveName))
            throw BackupError(QString::fromUtf8(kCannotReadArchive));
        volumePath_ = ArchiveName;
    }
    busy_ = true;

    qint32 titleLength = 0;
    qint32 total = 0;
    qint32 count = 0;
    QByteArray title;
    if (!reader_->readInt(titleLength) || titleLength < 0 || titleLength > kMaxTitleLength ||
        !reader_->readBytes(title, titleLength) || !reader_->readInt(total) ||
        !reader_->readInt(count))
        throw BackupError(QString::fromUtf8(kCannotReadArchive));
    totalSize_ = total;
    totalSize64_ = quint32(total);
    fileCount_ = count;
    bytesDone_ = 0;

    bool skippedOutside = false;
    Member member;
    lastFolder_.clear();
    restoreBase_.clear();
    while (continue_) {
        qint32 nameLength = 0;
        if (!reader_->readInt(nameLength))
            throw BackupError(QString::fromUtf8(kArchiveReadError));
        if (nameLength == 0)
            break;
        QByteArray name;
        if (nameLength < 0 || nameLength > kMaxNameLength || !reader_->readBytes(name, nameLength))
            throw BackupError(QString::fromUtf8(kNotAnArchive));
        if (name.startsWith(kVolumeRecordPrefix)) {
            changeVolume(name, member);
            continue;
        }
        qint32 fileDate = 0;
        if (!reader_->readInt(fileDate))
            throw BackupError(QString::fromUtf8(kArchiveReadError));

        const bool isList = name == kListMemberName;
        bool outside = false;
        QString target = targetPath(decodeText(name), restorePath, outside);
        currentFile_ = target;
        if (!isList && !outside && target.contains(QChar(0))) {
            // No file can have this name: it cannot be created.
            setError(ecReadData);
            continue_ = false;
            break;
        }
        bool doRestore = !isList && !outside && targetWanted(target, fileDate);
        skippedOutside = skippedOutside || outside;
        const QString proposed = target;
        if (!isList && !outside && OnRestoreFile) {
            OnRestoreFile(this, target, fileDate, doRestore);
            currentFile_ = target;
        }
        if (doRestore) {
            const QString folder = QFileInfo(target).absolutePath();
            if (folder != lastFolder_) { // members of one folder come together
                QDir().mkpath(folder);
                lastFolderInside_ = -1;
            }
            doRestore = QFileInfo(folder).isDir();
            lastFolder_ = doRestore ? folder : QString();
            // Links already in the restore folder must not lead out of it
            // either (a target the owner chose is its own business).
            if (doRestore && !restorePath.isEmpty() && target == proposed &&
                !resolvesInside(target, restorePath)) {
                doRestore = false;
                skippedOutside = true;
            }
        }
        member = Member{target, fileDate, doRestore, true};
        if (doRestore)
            restoreMember(member, false);
        else
            skipSegment();
    }
    reader_.reset();

    if (skippedOutside) {
        if (errorCode_ == 0)
            setError(ecOutsideFolder);
        else
            reportError(ecOutsideFolder);
    }
    const bool result = errorCode_ == 0 && continue_;
    progress(QString(), 100);
    busy_ = false;
    if (errorCode_ != 0)
        reportError(errorCode_);
    return result;
}

QString TBackupFile::targetPath(const QString& name, const QString& restorePath,
                                bool& outside) const {
    outside = false;
    if (restorePath.isEmpty())
        return name;
    const bool windows = foldsCase();
    QString relative;
    if (restoreFullPath_) {
        // Cut the drive prefix: "c:\" on Windows, the root "/" elsewhere.
        relative = windows ? name.mid(3) : (name.startsWith(QLatin1Char('/')) ? name.mid(1) : name);
    } else {
        qsizetype cut = name.size() - 1;
        while (cut >= 0 && !(name.at(cut) == QLatin1Char('/') ||
                             (windows && (name.at(cut) == QLatin1Char('\\') ||
                                          name.at(cut) == QLatin1Char(':')))))
            --cut;
        relative = name.mid(cut + 1);
    }
    // The target must stay below the restore folder: no climbing out, no
    // absolute remainder, no drive or stream names.
    QString unified = relative;
    if (windows)
        unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = unified.split(QLatin1Char('/'));
    outside = relative.isEmpty() || parts.first().isEmpty() || parts.last().isEmpty() ||
              parts.last() == QLatin1String(".");
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || (windows && part.contains(QLatin1Char(':'))))
            outside = true;
    }
    return restorePath + relative;
}

bool TBackupFile::resolvesInside(const QString& target, const QString& restorePath) {
    if (QFileInfo(target).isSymLink())
        return false;
    if (lastFolderInside_ < 0) {
        if (restoreBase_.isEmpty())
            restoreBase_ = QFileInfo(restorePath).canonicalFilePath();
        const QString folder = QFileInfo(QFileInfo(target).absolutePath()).canonicalFilePath();
        lastFolderInside_ =
            !restoreBase_.isEmpty() &&
            (folder == restoreBase_ || folder.startsWith(restoreBase_ + QLatin1Char('/')));
    }
    return lastFolderInside_ == 1;
}

bool TBackupFile::targetWanted(const QString& target, qint32 fileDate) const {
    const QFileInfo info(target);
    const bool exists = info.isFile();
    const bool older = exists && toDosDateTime(info.lastModified()) < fileDate;
    switch (restoreMode_) {
    case rmAll:
        return true;
    case rmNoOverwrite:
        return !exists;
    case rmNewer:
        return !exists || older;
    case rmExisting:
        return exists;
    case rmExistingNewer:
        return exists && older;
    }
    return false;
}

void TBackupFile::restoreMember(const Member& member, bool append) {
    QFile out(member.target);
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Unbuffered |
                                     (append ? QIODevice::Append : QIODevice::Truncate);
    if (!out.open(mode)) {
        setError(ecReadData);
        continue_ = false;
        return;
    }
    const Segment read = readSegment(&out, nullptr);
    if (read == Segment::Ok) {
        if (!append)
            ++filesDone_;
    } else if (read != Segment::Stopped) {
        setError(ecReadData);
        continue_ = false;
    }
    QString name = member.target;
    QIODevice* stream = &out;
    if (OnFileRestored)
        OnFileRestored(this, name, stream);
    const QDateTime time = fromDosDateTime(member.fileDate);
    if (time.isValid())
        out.setFileTime(time, QFileDevice::FileModificationTime);
    out.close();
}

TBackupFile::Segment TBackupFile::readSegment(QIODevice* file, QByteArray* memory) {
    char signature[4];
    if (!reader_->read(signature, 4) || std::memcmp(signature, kSegmentSignature, 4) != 0)
        return Segment::BadSignature;
    while (continue_) {
        qint32 length = 0;
        if (!reader_->readInt(length))
            return Segment::Damaged;
        if (length == 0)
            return Segment::Ok;
        if (length < -kBlockSize || length > kBlockSize)
            return Segment::Damaged;
        const qint32 n = length < 0 ? -length : length;
        if (!reader_->read(packed_.data(), n))
            return Segment::Damaged;
        const char* data = packed_.constData();
        qint64 produced = n;
        if (length > 0) {
            produced = 0;
            if (!codec_->startInflate()) {
                setError(ecCompression);
                continue_ = false;
            } else {
                z_stream& z = codec_->inflater;
                z.next_in = reinterpret_cast<Bytef*>(packed_.data());
                z.avail_in = uInt(n);
                z.next_out = reinterpret_cast<Bytef*>(unpacked_.data());
                z.avail_out = kBlockSize;
                const int result = inflate(&z, Z_NO_FLUSH);
                produced = kBlockSize - qint64(z.avail_out);
                data = unpacked_.constData();
                // A block is one whole stream: anything short of its end
                // (damage, a missing tail, more than a block) is an error.
                if (result != Z_STREAM_END) {
                    setError(ecCompression);
                    continue_ = false;
                }
            }
        }
        if (produced > 0) {
            if (file) {
                if (file->write(data, produced) != produced)
                    return Segment::WriteFailed;
            } else {
                if (memory->size() + produced > kMaxListBytes)
                    return Segment::Damaged;
                memory->append(data, produced);
            }
        }
        pump();
        if (file) {
            bytesDone_ += produced;
            progress(currentFile_, percent());
        }
    }
    return Segment::Stopped;
}

void TBackupFile::skipSegment() {
    char signature[4];
    if (!reader_->read(signature, 4) || std::memcmp(signature, kSegmentSignature, 4) != 0)
        throw BackupError(QString::fromUtf8(kNotAnArchive));
    while (continue_) {
        qint32 length = 0;
        if (!reader_->readInt(length) || length < -kBlockSize || length > kBlockSize)
            throw BackupError(QString::fromUtf8(kNotAnArchive));
        if (length == 0)
            return;
        if (!reader_->skip(length < 0 ? -qint64(length) : length))
            throw BackupError(QString::fromUtf8(kNotAnArchive));
        pump();
    }
}

void TBackupFile::changeVolume(const QByteArray& record, const Member& member) {
    const QByteArray digits = record.mid(9, 3);
    bool wellFormed = !volumePath_.isEmpty() && digits.size() == 3;
    for (const char c : digits)
        wellFormed = wellFormed && c >= '0' && c <= '9';
    if (!wellFormed)
        throw BackupError(QString::fromUtf8(kNotAnArchive));
    reader_->close();

    QString shown = QString::fromLatin1(digits);
    while (shown.startsWith(QLatin1Char('0')))
        shown.remove(0, 1);
    const QString next = volumeName(volumePath_, QString::fromLatin1(digits));
    for (bool again = false;; again = true) {
        askForDisk(quint16(digits.toUInt()), shown, again);
        if (!continue_)
            return;
        if (QFileInfo::exists(next))
            break;
    }
    volumePath_ = next;
    if (!reader_->openFile(next))
        throw BackupError(QString::fromUtf8(kCannotReadArchive));
    if (member.valid && member.restoring)
        restoreMember(member, true);
    else
        skipSegment();
}

// ---------------------------------------------------------------- information

void TBackupFile::GetArchiveInfo(const QString& ArchiveName, QStringList* List, QString& Title) {
    if (active_)
        return;
    Guard guard(*this);
    Title.clear();
    totalSize_ = 0;
    totalSize64_ = 0;
    fileCount_ = 0;
    filesDone_ = 0;
    errorCode_ = 0;

    reader_ = std::make_unique<Reader>();
    if (ArchiveName == kStreamName) {
        if (!sourceStream_) {
            setError(ecReadArchive);
            reportError(ecReadArchive);
            return;
        }
        reader_->attach(sourceStream_);
    } else {
        if (!QFileInfo::exists(ArchiveName))
            return;
        if (!reader_->openFile(ArchiveName)) {
            setError(ecReadArchive);
            reportError(ecReadArchive);
            return;
        }
    }

    qint32 titleLength = 0;
    qint32 total = 0;
    qint32 count = 0;
    qint32 nameLength = 0;
    QByteArray title;
    bool ok = reader_->readInt(titleLength) && titleLength >= 0 && titleLength <= kMaxTitleLength &&
              reader_->readBytes(title, titleLength);
    if (ok)
        Title = decodeText(title);
    ok = ok && reader_->readInt(total) && reader_->readInt(count);
    if (ok) {
        totalSize_ = total;
        totalSize64_ = quint32(total);
        fileCount_ = count;
    }
    ok = ok && reader_->readInt(nameLength);
    if (ok && nameLength > 0 && List) {
        QByteArray name;
        ok = nameLength <= kMaxNameLength && reader_->readBytes(name, nameLength);
        if (ok && name == kListMemberName) {
            qint32 fileDate = 0;
            QByteArray text;
            continue_ = true;
            ok = reader_->readInt(fileDate) && readSegment(nullptr, &text) == Segment::Ok;
            if (ok)
                *List = decodeList(text);
        }
    }
    reader_.reset();
    if (!ok && errorCode_ == 0)
        setError(ecNotArchive);
    if (errorCode_ != 0)
        reportError(errorCode_);
}

// ---------------------------------------------------------------- shared

TPercentage TBackupFile::percent() const {
    if (totalSize64_ <= 0)
        return 0;
    return TPercentage(qBound(qint64(0), bytesDone_ * 100 / totalSize64_, qint64(100)));
}

void TBackupFile::progress(const QString& name, TPercentage percent) {
    if (OnProgress)
        OnProgress(this, name, percent, continue_);
}

void TBackupFile::pump() {
    if (pump_)
        pump_->processPendingMessages();
}

void TBackupFile::askForDisk(quint16 volume, const QString& shown, bool again) {
    if (OnNeedDisk) {
        OnNeedDisk(this, volume, continue_);
        return;
    }
    if (!ui_) {
        // Nobody to ask: go on once, but never wait for a volume forever.
        continue_ = !again;
        return;
    }
    const core::MsgAnswer answer = ui_->messageBox(
        QStringLiteral("Informacja"), QString::fromUtf8(kVolumePrompt).replace("%s", shown),
        core::MsgIcon::Information, core::MsgButtons::OkCancel);
    continue_ = answer == core::MsgAnswer::Ok;
}

void TBackupFile::setError(qint32 code) {
    errorCode_ = code;
}

void TBackupFile::reportError(qint32 code) {
    const QString message = backupErrorMessage(code);
    if (OnError)
        OnError(this, code, message);
    else if (ui_)
        ui_->messageBox(QStringLiteral("Błąd"), message, core::MsgIcon::Error,
                        core::MsgButtons::Ok);
}

} // namespace pylomir::backup
