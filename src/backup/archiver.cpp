#include "backup/archiver.h"

#include "core/message_pump.h"
#include "core/ui_port.h"
#include "platform/file_names.h"
#include "platform/file_system.h"
#include "platform/text_file.h"

#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>

namespace pylomir::backup {

namespace {

// File data is read in chunks of this size.
constexpr qint64 kChunkSize = 256 * 1024;
// Blocks read ahead of the writer for each thread that codes them (the
// calling thread too), and at most.
constexpr int kBlocksAheadPerWorker = 4;
constexpr int kMaxBlocksAhead = 64;
// Inputs looked up on other threads: at least so many, so many at a time.
constexpr qsizetype kMinProbedInputs = 16;
constexpr qsizetype kProbedTogether = 8;
const char* const kVolumePrompt = "Please insert disk %s and click OK to continue.";

bool isStream(const QString& archivePath) {
    return archivePath == QLatin1String(kStreamArchiveName);
}

// Where the text's first `lines` lines end (CR LF, CR or LF each), when more
// text follows them; -1 when the text holds no more than that.
qsizetype endOfLines(QByteArrayView text, qsizetype lines) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size() && count < lines; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (++count == lines)
            return i + 1 < text.size() ? i + 1 : -1;
    }
    return lines <= 0 && !text.isEmpty() ? 0 : -1;
}

// A restore target as the file system tells files apart: absolute, with one
// kind of separator, letter case ignored where the system ignores it.
QString targetKey(const QString& target) {
    return platform::pathKey(platform::absolutePath(target));
}

} // namespace

// Marks an operation as running and lets go of its files however it ends.
// A volume still being written is discarded, so a backup that did not
// complete leaves nothing that looks like a whole archive.
struct Archiver::Operation {
    Archiver& archiver;
    explicit Operation(Archiver& a) : archiver(a) { archiver.active_ = true; }
    ~Operation() {
        archiver.writer_.detach();
        archiver.volumeOut_.reset();
        archiver.memberOut_.reset();
        archiver.reader_.detach();
        archiver.volumeIn_.reset();
        archiver.inputs_.clear();
        archiver.work_.clear();
        archiver.ring_.reset();
        archiver.pool_.reset();
        archiver.busy_ = false;
        archiver.active_ = false;
    }
};

Archiver::Archiver()
    : input_(kChunkSize, Qt::Uninitialized), payload_(kBlockSize, Qt::Uninitialized) {}

Archiver::~Archiver() = default;

void Archiver::setBackupScope(BackupScope scope) {
    if (scope == BackupScope::Incremental && backupScope_ != BackupScope::Incremental)
        clearArchiveAttribute_ = true;
    backupScope_ = scope;
}

platform::FileSystem& Archiver::fileSystem() const {
    return fs_ ? *fs_ : platform::realFileSystem();
}

// ---------------------------------------------------------------- backup

bool Archiver::backup(const QStringList& files, const QString& archivePath) {
    if (active_)
        return false;
    Operation operation(*this);
    setError(ecNone);
    busy_ = true;
    filesDone_ = 0;
    stored_.clear();
    written_ = false;
    const QString archive = isStream(archivePath) ? QString() : platform::absolutePath(archivePath);
    Expansion expanded =
        expandEntries(fileSystem(), nativePathStyle(), backupScope_, files, archive);
    skipped_ = std::move(expanded.unlistable);
    probeInputs(expanded.work);

    // Nothing is written over a file that is to be stored.
    const QString replaced = expanded.namingArchive.isEmpty()
                                 ? inputReplacedBy(expanded.work, archive)
                                 : expanded.namingArchive.first();
    if (!replaced.isEmpty()) {
        busy_ = false;
        setError(ecArchiveIsInput, replaced);
        reportError(errorCode_, errorPath_);
        return false;
    }

    keepGoing_ = true;
    progress(QString(), 0);
    QStringList listLines;
    QStringList work = measure(expanded.work, listLines);
    std::unique_ptr<platform::OutputFile> listFile;
    if (storeInfoList_) {
        listFile = writeInfoList(listLines);
        if (listFile) {
            work.prepend(listFile->path());
        } else {
            setError(ecTempFile);
            keepGoing_ = false;
        }
    }
    const bool withList = listFile != nullptr;
    fileCount_ = qint32(work.size() - (withList ? 1 : 0));
    totalSize_ = qint32(quint32(quint64(fullTotalSize_)));
    // A copy without compression gains nothing from other threads.
    startPool(compressionLevel_ == CompressionLevel::None ? 0 : codecThreads_);
    // Begun even when the list failed: the archive's own failures come first.
    // Nothing follows the header then, and the volume is discarded.
    startArchive(archivePath);

    bytesDone_ = 0;
    work_ = std::move(work);
    nextInput_ = 0;
    withList_ = withList;
    inputPos_ = inputLen_ = 0;
    while (keepGoing_) {
        readAhead();
        if (inputs_.empty())
            break;
        Input& input = inputs_.front();
        if (storeFile(input) && clearArchiveAttribute_ && !input.isList) {
            if (const auto found = fileSystem().findFirst(input.path))
                fileSystem().setAttributes(input.path, found->attributes & ~platform::faArchive);
        }
        inputs_.pop_front();
    }
    const bool complete = finishArchive();
    written_ = complete;
    listFile.reset();

    if (!skipped_.isEmpty()) {
        if (errorCode_ == 0)
            setError(ecSkippedInput, namingFiles(skipped_));
        else
            reportError(ecSkippedInput, namingFiles(skipped_));
    }
    progress(QString(), 100);
    busy_ = false;
    if (errorCode_ != 0)
        reportError(errorCode_, errorPath_);
    return complete && errorCode_ == 0;
}

// The input that writing the archive (or one of its further volumes) would
// replace, through links too; empty when there is none.
QString Archiver::inputReplacedBy(const QStringList& work, const QString& archive) {
    if (archive.isEmpty())
        return QString();
    platform::FileSystem& fs = fileSystem();
    const auto archiveStatus = fs.status(archive);
    QString archiveReal; // looked up once a file looks like the archive
    for (qsizetype i = 0; i < work.size(); ++i) {
        const QString path = work.at(i).trimmed();
        if (archiveStatus && archiveStatus->isFile) {
            // Size and time first: most inputs differ there already.
            const auto status = statusOf(i, path);
            if (status && status->isFile && status->size == archiveStatus->size &&
                status->modified == archiveStatus->modified) {
                if (archiveReal.isEmpty())
                    archiveReal = fs.canonicalPath(archive);
                if (fs.canonicalPath(path) == archiveReal)
                    return path;
            }
        }
        // A later volume: the same name with a three-digit extension.
        const qsizetype dot = path.size() - 4;
        if (maxVolumeSize_ <= 0 || dot < 0 || path.at(dot) != QLatin1Char('.'))
            continue;
        const QString digits = path.mid(dot + 1);
        bool isNumber = false;
        const int volume = digits.toInt(&isNumber);
        if (!isNumber || volume < 2 || volumeDigits(volume) != digits)
            continue;
        const QString volumePath = volumeName(archive, digits);
        if (volumePath == path || fs.canonicalPath(volumePath) == fs.canonicalPath(path))
            return path;
    }
    return QString();
}

// The work list with the entries' sizes added up. An entry that names
// nothing or a folder stays (it is counted, though nothing is stored for
// it); one that is neither file nor folder is left out and noted, never
// opened; a file the 32-bit length fields cannot describe is left out. A
// file that exists but cannot be opened ends the backup before anything is
// written.
QStringList Archiver::measure(const QStringList& expanded, QStringList& listLines) {
    fullTotalSize_ = 0;
    filesDone_ = 0;
    bytesDone_ = 0;
    QStringList work;
    for (qsizetype i = 0; i < expanded.size(); ++i) {
        const QString& entry = expanded.at(i);
        const QString path = entry.trimmed();
        const auto status = statusOf(i, path);
        if (!status || status->isFolder) {
            work << entry;
            continue;
        }
        if (!status->isFile) {
            // A FIFO or a device would block or never end.
            skipped_ << path;
            continue;
        }
        const Probe opened = probes_.empty() ? probe(path) : std::move(probes_[size_t(i)]);
        if (!opened.opened)
            throw ArchiveError(platform::cannotOpenMessage(path, opened.reason));
        const qint64 size = opened.size;
        if (size > kMaxMemberSize) {
            setError(ecCreateArchive, path);
            continue;
        }
        work << entry;
        fullTotalSize_ += size;
        if (storeInfoList_) {
            listLines << path + QLatin1Char('\t') +
                             QString::number(toDosDateTime(status->modified)) + QLatin1Char('=') +
                             QString::number(size);
        }
    }
    probes_.clear();
    return work;
}

// Whether a regular file opens, and its size then.
Archiver::Probe Archiver::probe(const QString& path) {
    Probe result;
    const std::unique_ptr<QIODevice> file = fileSystem().openForReading(path, &result.reason);
    result.opened = file != nullptr;
    if (file)
        result.size = file->size();
    return result;
}

std::optional<platform::PathStatus> Archiver::statusOf(qsizetype i, const QString& path) {
    return probes_.empty() ? fileSystem().status(path) : probes_[size_t(i)].status;
}

// Many inputs are looked up on as many threads as the codecs get, before
// anything is decided on them, as measure() would look them up in turn: a
// lookup costs the system more than the calling thread. Files after one that
// does not open are opened too, and closed again at once.
void Archiver::probeInputs(const QStringList& expanded) {
    probes_.clear();
    platform::FileSystem& fs = fileSystem();
    if (codecThreads_ == 0 || expanded.size() < kMinProbedInputs || !fs.looksUpFromAnyThread())
        return;
    probes_.resize(size_t(expanded.size()));
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (;;) {
            const qsizetype from = next.fetch_add(kProbedTogether);
            if (from >= expanded.size())
                return;
            const qsizetype to = qMin(from + kProbedTogether, expanded.size());
            for (qsizetype i = from; i < to; ++i) {
                const QString path = expanded.at(i).trimmed();
                auto status = fs.status(path);
                Probe p;
                if (status && status->isFile && !status->isFolder)
                    p = probe(path);
                p.status = std::move(status);
                probes_[size_t(i)] = std::move(p);
            }
        }
    };
    std::vector<std::thread> helpers;
    const int count = int(qMin<qsizetype>(codecThreads_, expanded.size() / kProbedTogether));
    for (int t = 0; t < count; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: fewer hands, the same answers
        }
    }
    work();
    for (std::thread& t : helpers)
        t.join();
}

// The information list in a temporary file, stored like any other file;
// null when it cannot be written.
std::unique_ptr<platform::OutputFile> Archiver::writeInfoList(const QStringList& lines) {
    auto file = fileSystem().createTemporaryFile(QStringLiteral("FID"));
    const QByteArray text = encodeList(lines);
    if (!file || file->device().write(text) != text.size() || !file->finish())
        return nullptr;
    fullTotalSize_ += text.size();
    return file;
}

bool Archiver::startArchive(const QString& archivePath) {
    volume_ = 1;
    blocksInVolume_ = 0;
    bool opened;
    if (isStream(archivePath)) {
        volumePath_.clear();
        opened = writer_.attach(targetStream_);
    } else {
        volumePath_ = archivePath;
        opened = openVolume();
    }
    if (!opened || !writer_.putText(encodeText(title_)) || !writer_.putInt(totalSize_) ||
        !writer_.putInt(fileCount_)) {
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
        return false;
    }
    return true;
}

// Volumes are written under a temporary name and put in place only when
// they are whole.
bool Archiver::openVolume() {
    volumeOut_ = fileSystem().openForWriting(volumePath_, platform::WriteMode::Replace);
    return volumeOut_ && writer_.attach(&volumeOut_->device());
}

// Writes a file the read-ahead opened, its blocks taken from the ring.
bool Archiver::storeFile(Input& input) {
    currentFile_ = input.path;
    if (!input.source) {
        setError(ecReadData, input.path);
        keepGoing_ = false;
        return false;
    }
    if (input.size > kMaxMemberSize) {
        // Grew past what the format can describe since it was measured.
        setError(ecCreateArchive, input.path);
        return false;
    }
    if (!writer_.putText(input.isList ? QByteArray(kListMemberName) : encodeText(input.path))) {
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
        return false;
    }
    if (!writer_.putInt(input.date)) {
        setError(ecReadData, volumePath_);
        keepGoing_ = false;
        return false;
    }
    qint64 remaining = input.size; // not yet written
    bool ok = writeSegment(remaining);
    while (ok && remaining > 0 && keepGoing_)
        ok = writeSegment(remaining);
    if (!ok || remaining > 0)
        return false;
    if (!input.isList) {
        ++filesDone_;
        stored_ << input.path;
    }
    return true;
}

// Opens the next file of the work list that is a file, behind those the
// writer has not taken yet; false when there is none or enough are open.
// After a file that cannot be opened or read whole nothing more is: the
// writer stops there.
bool Archiver::openNextInput() {
    if (qsizetype(inputs_.size()) >= maxInputs_ ||
        (!inputs_.empty() && (!inputs_.back().source || inputs_.back().broken)))
        return false;
    while (nextInput_ < work_.size()) {
        const qsizetype i = nextInput_++;
        Input input;
        input.path = work_.at(i).trimmed();
        const auto status = fileSystem().status(input.path);
        if (!status || !status->isFile)
            continue;
        input.isList = withList_ && i == 0;
        input.source = fileSystem().openForReading(input.path);
        if (input.source) {
            input.size = input.source->size();
            if (input.size <= kMaxMemberSize) {
                input.unread = input.size;
                input.date = toDosDateTime(status->modified);
            }
        }
        inputPos_ = inputLen_ = 0;
        inputs_.push_back(std::move(input));
        return true;
    }
    return false;
}

// Makes n bytes of the source available at inputPos_, reading ahead as far
// as the chunk and the remaining bytes allow.
bool Archiver::readInput(QIODevice& source, qint64 n, qint64 remaining) {
    const qint64 have = inputLen_ - inputPos_;
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

namespace {
// What a block of the backup's ring holds.
enum BackupBlock { kInput, kUnreadable };
// What an item of the restore's ring holds.
enum RestoreBlock { kData, kSegmentEnd, kBroken };
} // namespace

// Hands the next blocks to the ring, in order, as far as it takes them,
// going on into the next files. A block a file does not give whole ends that
// file's read-ahead; it fails only when the writer gets to it, as it would
// have without it.
void Archiver::readAhead() {
    BlockRing& ring = *ring_;
    while (!ring.full()) {
        if (inputs_.empty() || inputs_.back().unread == 0) {
            if (!openNextInput())
                return;
            continue;
        }
        Input& input = inputs_.back();
        BlockJob& job = ring.next();
        const qint64 n = qMin<qint64>(kBlockSize, input.unread);
        bool whole;
        if (inputPos_ == inputLen_ && n == input.unread) {
            // A file's last block (most files have just one) goes straight
            // into the job.
            qint64 got = 0;
            while (got < n) {
                const qint64 more = input.source->read(job.input.data() + got, n - got);
                if (more <= 0)
                    break;
                got += more;
            }
            whole = got == n;
        } else {
            whole = readInput(*input.source, n, input.unread);
            if (whole) {
                std::memcpy(job.input.data(), input_.constData() + inputPos_, size_t(n));
                inputPos_ += n;
            }
        }
        if (!whole) {
            job.tag = kUnreadable;
            ring.keep();
            input.unread = 0;
            input.broken = true;
            continue;
        }
        input.unread -= n;
        job.tag = kInput;
        job.inputSize = n;
        job.kind = BlockJob::Kind::Compress;
        job.zlibLevel = zlibLevel(compressionLevel_);
        ring.submit();
    }
}

// One segment of the current file: as many blocks as the volume takes, then
// on to the next volume when data is left.
bool Archiver::writeSegment(qint64& remaining) {
    BlockRing& ring = *ring_;
    qint32 failure = ecNone;
    QString failedFile = volumePath_;
    if (!writer_.put(kSegmentSignature, 4))
        failure = ecCreateArchive;
    const bool limited = maxVolumeSize_ > 0 && !volumePath_.isEmpty();
    const qint64 limit = qint64(maxVolumeSize_) - kVolumeSlack;
    while (!failure && remaining > 0 && keepGoing_ &&
           (!limited || writer_.pos() < limit || (volume_ > 1 && blocksInVolume_ == 0))) {
        readAhead();
        BlockJob& job = ring.front();
        if (job.tag == kUnreadable) {
            failure = ecCreateArchive;
            failedFile = currentFile_;
            break;
        }
        const qint64 n = job.inputSize;
        remaining -= n;
        bytesDone_ += n;

        bool written = true;
        switch (job.packed) {
        case BlockCodec::Packed::Compressed:
            written = writer_.putInt(qint32(job.outputSize)) && writer_.put(job.out());
            ++blocksInVolume_;
            break;
        case BlockCodec::Packed::Raw:
            written = writer_.putInt(-qint32(n)) && writer_.put(job.in());
            ++blocksInVolume_;
            break;
        case BlockCodec::Packed::Failed:
            failure = ecCompression;
            failedFile.clear();
            break;
        }
        ring.pop();
        if (!written)
            failure = ecCreateArchive;
        pump();
        progress(currentFile_, percent());
    }
    if (!writer_.putInt(0) && !failure)
        failure = ecCreateArchive;
    if (failure) {
        setError(failure, failedFile);
        keepGoing_ = false;
        return false;
    }
    if (remaining > 0 && keepGoing_)
        return nextVolume();
    return true;
}

// Closes the full volume with the record naming the next and puts it in
// place before the next one is asked for.
bool Archiver::nextVolume() {
    ++volume_;
    if (volume_ > kMaxVolumes) {
        // Three digits name the volumes; more would overwrite earlier ones.
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
        return false;
    }
    const QString digits = volumeDigits(volume_);
    const QByteArray record = QByteArray(kVolumeRecordPrefix) + digits.toLatin1();
    const bool closed = writer_.putInt(kVolumeRecordLength) && writer_.put(record) &&
                        writer_.detach() && volumeOut_->finish();
    if (!closed) {
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
        return false;
    }
    volumeOut_.reset();
    askForVolume(quint16(volume_), QString::number(volume_), false);
    if (!keepGoing_)
        return true;
    volumePath_ = volumeName(volumePath_, digits);
    if (!openVolume()) {
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
        return false;
    }
    blocksInVolume_ = 0;
    return true;
}

// Ends the archive with its end marker and puts the last volume in place;
// true when the archive is complete. A last volume that did not get its end
// marker is discarded.
bool Archiver::finishArchive() {
    const bool marked = keepGoing_ && writer_.putInt(0);
    const bool flushed = writer_.detach();
    const bool complete = marked && flushed && (!volumeOut_ || volumeOut_->finish());
    volumeOut_.reset();
    if (keepGoing_ && !complete) {
        setError(ecCreateArchive, volumePath_);
        keepGoing_ = false;
    } else if (!flushed && errorCode_ == 0) {
        setError(ecCreateArchive, volumePath_);
    }
    return complete;
}

// ---------------------------------------------------------------- restore

bool Archiver::restore(const QString& archivePath, const QString& targetFolder) {
    if (active_)
        return false;
    const QString folder = asFolder(targetFolder, nativePathStyle());
    setError(ecNone);
    filesDone_ = 0;
    keepGoing_ = true;

    Operation operation(*this);
    switch (openArchive(archivePath)) {
    case Opened::Missing:
        return false;
    case Opened::Failed:
        raise(kCannotReadArchive);
    case Opened::Ok:
        break;
    }
    busy_ = true;
    if (!readHeader(nullptr))
        raise(kCannotReadArchive);
    startPool(codecThreads_);
    bytesDone_ = 0;
    volume_ = 1;
    lastFolder_.clear();
    targetBase_.clear();
    restoredTargets_.clear();
    listSizes_ = ListSizes();
    if (!folder.isEmpty()) {
        // Everything restored stays below the chosen folder, as it really is.
        if (fileSystem().createFolder(folder))
            targetBase_ = fileSystem().canonicalPath(folder);
        if (targetBase_.isEmpty()) {
            setError(ecCreateFolder, targetFolder);
            keepGoing_ = false;
        }
    }

    bool skippedOutside = false;
    QStringList sameTarget;
    QStringList irregular;
    Member member;
    bool first = true;
    while (keepGoing_) {
        qint32 nameLength = 0;
        if (!reader_.readInt(nameLength))
            raise(kArchiveReadError);
        if (nameLength == 0)
            break;
        QByteArray name;
        if (nameLength < 0 || nameLength > kMaxNameLength || !reader_.readBytes(name, nameLength))
            raise(kNotAnArchive);
        if (name.startsWith(kVolumeRecordPrefix)) {
            changeVolume(name, member);
            continue;
        }
        // No segment of the previous member can follow any more.
        finishMember(member);
        if (member.isList) // the percentage now rests on the list's sizes
            fullTotalSize_ = listSizes_.total(totalSize_);
        if (!keepGoing_)
            break;
        qint32 fileDate = 0;
        if (!reader_.readInt(fileDate))
            raise(kArchiveReadError);

        const bool isList = name == kListMemberName;
        const QString storedName = decodeText(name);
        const RestoreTarget proposed =
            restoreTarget(storedName, folder, restoreFolderTree_, nativePathStyle());
        QString target = proposed.path;
        currentFile_ = target;
        const bool eligible = !isList && !proposed.outside && !proposed.irregular;
        if (eligible && target.contains(QChar(0))) {
            // No file can have this name: it cannot be created.
            setError(ecReadData, volumePath_);
            keepGoing_ = false;
            break;
        }
        if (!isList) {
            skippedOutside = skippedOutside || proposed.outside;
            if (proposed.irregular)
                irregular << storedName;
        }
        // Into a folder, two members can name one target: the first one
        // written keeps it, whatever the rule says of the file it became.
        const auto taken = [&] {
            return !folder.isEmpty() && restoredTargets_.contains(targetKey(target));
        };
        bool shouldRestore = eligible && (taken() || isWanted(target, fileDate));
        if (eligible && onRestoringFile) {
            onRestoringFile(this, target, fileDate, shouldRestore);
            currentFile_ = target;
        }
        if (shouldRestore && taken()) {
            shouldRestore = false;
            sameTarget << storedName;
        }
        if (shouldRestore) {
            // A target the owner chose is its own business; ours stay inside.
            const bool contained = !folder.isEmpty() && target == proposed.path;
            switch (prepareFolder(target, contained)) {
            case FolderState::Ready:
                // A link at the target leads out of the folder: it is left
                // alone and reported.
                if (contained && fileSystem().isLink(target)) {
                    shouldRestore = false;
                    skippedOutside = true;
                }
                break;
            case FolderState::Outside:
                shouldRestore = false;
                skippedOutside = true;
                break;
            case FolderState::Failed:
                setError(ecCreateFolder,
                         parentFolder(platform::absolutePath(target), nativePathStyle()));
                keepGoing_ = false;
                break;
            }
            if (!keepGoing_)
                break;
        }
        const bool sized = isList && first;
        first = false;
        member = Member{target, fileDate, shouldRestore, true, sized};
        if (shouldRestore)
            startMember(member);
        else
            skipSegment(sized);
    }
    if (keepGoing_)
        finishMember(member);
    // A member that did not come out whole is dropped: what was at its
    // target stays as it was.
    memberOut_.reset();
    reader_.detach();
    volumeIn_.reset();

    if (skippedOutside)
        noteSkipped(ecOutsideFolder);
    if (!sameTarget.isEmpty())
        noteSkipped(ecSameTarget, namingFiles(sameTarget));
    if (!irregular.isEmpty())
        noteSkipped(ecIrregularName, namingFiles(irregular));
    const bool result = errorCode_ == 0 && keepGoing_;
    progress(QString(), 100);
    busy_ = false;
    if (errorCode_ != 0)
        reportError(errorCode_, errorPath_);
    return result;
}

Archiver::Opened Archiver::openArchive(const QString& archivePath) {
    if (isStream(archivePath)) {
        volumePath_.clear();
        if (!sourceStream_)
            return Opened::Failed;
        reader_.attach(sourceStream_);
        return Opened::Ok;
    }
    volumePath_ = archivePath;
    if (!fileSystem().exists(archivePath))
        return Opened::Missing;
    volumeIn_ = fileSystem().openForReading(archivePath);
    if (!volumeIn_)
        return Opened::Failed;
    reader_.attach(volumeIn_.get());
    return Opened::Ok;
}

// Reads the header into the counters, and the title when asked; false when
// the header is cut short or damaged.
bool Archiver::readHeader(QString* title) {
    qint32 titleLength = 0;
    QByteArray titleBytes;
    if (!reader_.readInt(titleLength) || titleLength < 0 || titleLength > kMaxTitleLength ||
        !reader_.readBytes(titleBytes, titleLength))
        return false;
    if (title)
        *title = decodeText(titleBytes);
    qint32 total = 0;
    qint32 count = 0;
    if (!reader_.readInt(total) || !reader_.readInt(count))
        return false;
    totalSize_ = total;
    fullTotalSize_ = quint32(total);
    fileCount_ = count;
    return true;
}

bool Archiver::isWanted(const QString& target, qint32 fileDate) {
    if (restoreRule_ == RestoreRule::Always)
        return true; // whatever is there
    const auto status = fileSystem().status(target);
    const bool exists = status && status->isFile;
    const bool older = exists && toDosDateTime(status->modified) < fileDate;
    return targetWanted(restoreRule_, exists, older);
}

// Makes the target's folder. A contained target's folder must lie inside the
// target folder once links are followed, and that is checked on the part
// that exists before anything is made: a link there must not lead the new
// folders elsewhere.
Archiver::FolderState Archiver::prepareFolder(const QString& target, bool contained) {
    const PathStyle style = nativePathStyle();
    const QString folder = parentFolder(platform::absolutePath(target), style);
    if (folder == lastFolder_ && (lastFolderContained_ || !contained)) {
        // Members of one folder come together: just make sure it is still there.
        const auto status = fileSystem().status(folder);
        if (status && status->isFolder)
            return FolderState::Ready;
    }
    lastFolder_.clear();
    if (contained) {
        QString existing = folder;
        while (!fileSystem().status(existing) && !fileSystem().isLink(existing)) {
            const QString up = parentFolder(existing, style);
            if (up.isEmpty() || up == existing)
                return FolderState::Outside;
            existing = up;
        }
        if (!isWithinFolder(fileSystem().canonicalPath(existing), targetBase_, style))
            return FolderState::Outside;
    }
    if (!fileSystem().createFolder(folder))
        return FolderState::Failed;
    // What was made may have met a link put there meanwhile.
    if (contained && !isWithinFolder(fileSystem().canonicalPath(folder), targetBase_, style))
        return FolderState::Outside;
    lastFolder_ = folder;
    lastFolderContained_ = contained;
    return FolderState::Ready;
}

// Each restored file is written under a temporary name beside its target and
// takes the target's place only when the member is whole (finishMember), so
// a link at the target is replaced, never written through, and a member that
// fails leaves the target as it was. The file stays open across volumes.
void Archiver::startMember(const Member& member) {
    memberBytes_ = 0;
    memberOut_ = fileSystem().openForWriting(member.target, platform::WriteMode::ReplaceUnsynced);
    if (!memberOut_) {
        setError(ecReadData, member.target);
        keepGoing_ = false;
        return;
    }
    fillMember(member);
}

// Reads the member's segment in the current volume into its file.
void Archiver::fillMember(const Member& member) {
    switch (readSegment(&memberOut_->device(), nullptr)) {
    case Segment::Ok:
    case Segment::Full:
    case Segment::Stopped:
        break;
    case Segment::WriteFailed:
        setError(ecReadData, member.target);
        keepGoing_ = false;
        break;
    case Segment::BadSignature:
    case Segment::Damaged:
        setError(ecReadData, volumePath_);
        keepGoing_ = false;
        break;
    }
}

// Puts a whole member in place; nothing when it was not restored.
void Archiver::finishMember(const Member& member) {
    if (!memberOut_)
        return;
    QString name = member.target;
    QIODevice* file = &memberOut_->device();
    if (onFileRestored)
        onFileRestored(this, name, file);
    const QDateTime time = fromDosDateTime(member.fileDate);
    if (time.isValid())
        memberOut_->setModifiedTime(time);
    if (memberOut_->finish()) {
        ++filesDone_;
        if (!targetBase_.isEmpty())
            restoredTargets_.insert(targetKey(member.target));
    } else if (errorCode_ == 0) {
        setError(ecReadData, member.target);
        keepGoing_ = false;
    }
    memberOut_.reset();
}

// Reads one segment into a file, or into memory (the information list).
Archiver::Segment Archiver::readSegment(QIODevice* file, QByteArray* memory) {
    char signature[4];
    if (!reader_.read(signature, 4) || std::memcmp(signature, kSegmentSignature, 4) != 0)
        return Segment::BadSignature;
    if (file && ring_)
        return readFileSegment(*file);
    while (keepGoing_) {
        qint32 length = 0;
        if (!reader_.readInt(length))
            return Segment::Damaged;
        if (length == 0)
            return Segment::Ok;
        if (length < -kBlockSize || length > kBlockSize)
            return Segment::Damaged;
        const qint32 n = length < 0 ? -length : length;
        if (!reader_.read(payload_.data(), n))
            return Segment::Damaged;
        QByteArrayView data(payload_.constData(), n);
        if (length > 0) {
            if (!codec_.inflate(data)) {
                setError(ecCompression, volumePath_);
                keepGoing_ = false;
            }
            data = codec_.unpacked(); // what a damaged block gave is still written
        }
        if (!data.isEmpty()) {
            if (file) {
                // No real member is larger: the data would only fill the disk.
                memberBytes_ += data.size();
                if (memberBytes_ > limits_.memberBytes)
                    return Segment::Damaged;
                if (file->write(data.data(), data.size()) != data.size())
                    return Segment::WriteFailed;
            } else {
                if (memory->size() + data.size() > kMaxListBytes)
                    return Segment::Damaged;
                memory->append(data);
                // Every CR and every LF ends a line (CR LF ends one): past
                // the line limit, the rest of the list is not wanted.
                listBreaksLF_ += std::count(data.begin(), data.end(), '\n');
                listBreaksCR_ += std::count(data.begin(), data.end(), '\r');
                if (qMax(listBreaksLF_, listBreaksCR_) > limits_.listLines)
                    return Segment::Full;
            }
        }
        pump();
        if (file) {
            bytesDone_ += data.size();
            progress(currentFile_, percent());
        }
    }
    return Segment::Stopped;
}

// The ring's next item: the segment's next block, its end, or what is broken
// there. Past the end of the segment in work the read-ahead goes on into the
// members after it, but only over bytes already in the reader's buffer and
// only while all is well formed: it never waits for a device, never reads
// past a volume record or the archive's end, and the reader can always be
// put back where an item ends.
void Archiver::inflateAhead() {
    BlockRing& ring = *ring_;
    while (!ring.full() && ahead_ != Ahead::Nothing) {
        const bool beyond = endsAhead_ > 0; // past the segment in work
        if (ahead_ == Ahead::Member && !(beyond && skipMemberAhead())) {
            reader_.rewindTo(aheadEnd_);
            ahead_ = Ahead::Nothing;
            return;
        }
        BlockJob& job = ring.next();
        job.mark = reader_.consumed();
        qint32 length = 0;
        if (beyond) {
            const QByteArrayView buffered = reader_.buffered();
            if (buffered.size() >= 4)
                length = qFromLittleEndian<qint32>(buffered.data());
            const qint64 n = length < 0 ? -qint64(length) : length;
            if (buffered.size() < 4 || length < -kBlockSize || length > kBlockSize ||
                buffered.size() < 4 + n) {
                reader_.rewindTo(aheadEnd_);
                ahead_ = Ahead::Nothing;
                return;
            }
        }
        if (!reader_.readInt(length) || length < -kBlockSize || length > kBlockSize) {
            job.tag = kBroken;
        } else if (length == 0) {
            job.tag = kSegmentEnd;
        } else {
            job.inputSize = length < 0 ? -length : length;
            job.tag = reader_.read(job.input.data(), job.inputSize) ? kData : kBroken;
        }
        job.end = aheadEnd_ = reader_.consumed();
        if (job.tag == kData) {
            ahead_ = Ahead::Blocks;
        } else if (job.tag == kSegmentEnd) {
            ahead_ = Ahead::Member;
            ++endsAhead_;
        } else {
            ahead_ = Ahead::Nothing;
        }
        if (job.tag == kData && length > 0) {
            job.kind = BlockJob::Kind::Inflate;
            ring.submit();
        } else {
            job.kind = BlockJob::Kind::Compress; // stored as it is, or no block
            ring.keep();
        }
    }
}

// Passes over the next member's name, date and segment signature when they
// are whole in the buffer and name a member; false otherwise, with the
// reader wherever it got to.
bool Archiver::skipMemberAhead() {
    const QByteArrayView buffered = reader_.buffered();
    if (buffered.size() < 4)
        return false;
    const qint32 nameLength = qFromLittleEndian<qint32>(buffered.data());
    if (nameLength <= 0 || nameLength > kMaxNameLength || buffered.size() < 12 + nameLength)
        return false;
    const QByteArrayView name = buffered.sliced(4, nameLength);
    if (name.startsWith(QByteArrayView(kVolumeRecordPrefix)) ||
        std::memcmp(buffered.data() + 8 + nameLength, kSegmentSignature, 4) != 0)
        return false;
    return reader_.skip(12 + nameLength);
}

void Archiver::popAhead() {
    if (ring_->front().tag == kSegmentEnd)
        --endsAhead_;
    ring_->pop();
}

void Archiver::clearAhead() {
    ring_->clear();
    endsAhead_ = 0;
    ahead_ = Ahead::Nothing;
}

// A file's segment with its blocks read and inflated ahead of the writer,
// from the reader's position on. Blocks read ahead while the member before
// was written are taken when they start just there (a member that was
// skipped in between leaves them behind). Whatever ends the segment early,
// the archive is left just after the last block written, and after a whole
// segment just after its end, as if nothing had been read ahead.
Archiver::Segment Archiver::readFileSegment(QIODevice& file) {
    BlockRing& ring = *ring_;
    const qint64 at = reader_.consumed();
    while (!ring.empty() && ring.front().mark < at)
        popAhead();
    if (!ring.empty() && (ring.front().mark != at || reader_.buffered().size() < aheadEnd_ - at ||
                          !reader_.skip(aheadEnd_ - at)))
        clearAhead();
    if (ring.empty()) {
        endsAhead_ = 0;
        aheadEnd_ = at;
    }
    // Until its end is read, more of this segment follows the last item,
    // however far the read-ahead got before.
    if (endsAhead_ == 0)
        ahead_ = Ahead::Blocks;
    const auto leave = [&](Segment segment) {
        const qint64 end = ring.front().end;
        popAhead();
        if (segment == Segment::Ok)
            reader_.rewindTo(end);
        else if (!ring.empty())
            reader_.rewindTo(ring.front().mark);
        return segment;
    };
    while (keepGoing_) {
        inflateAhead();
        BlockJob& job = ring.front();
        if (job.tag == kSegmentEnd)
            return leave(Segment::Ok);
        if (job.tag == kBroken)
            return leave(Segment::Damaged);
        QByteArrayView data = job.in();
        if (job.kind == BlockJob::Kind::Inflate) {
            if (!job.inflated) {
                setError(ecCompression, volumePath_);
                keepGoing_ = false;
            }
            data = job.out(); // what a damaged block gave is still written
        }
        if (!data.isEmpty()) {
            // No real member is larger: the data would only fill the disk.
            memberBytes_ += data.size();
            if (memberBytes_ > limits_.memberBytes)
                return leave(Segment::Damaged);
            if (file.write(data.data(), data.size()) != data.size())
                return leave(Segment::WriteFailed);
        }
        const qint64 size = data.size();
        popAhead();
        pump();
        bytesDone_ += size;
        progress(currentFile_, percent());
    }
    if (!ring.empty())
        reader_.rewindTo(ring.front().mark);
    return Segment::Stopped;
}

// Passes over a segment; the information list's is read for its sizes on
// the way (sumList): damage to its fields is the archive's, a block that
// does not inflate only spoils the sum.
void Archiver::skipSegment(bool sumList) {
    char signature[4];
    if (!reader_.read(signature, 4) || std::memcmp(signature, kSegmentSignature, 4) != 0)
        raise(kNotAnArchive);
    while (keepGoing_) {
        qint32 length = 0;
        if (!reader_.readInt(length) || length < -kBlockSize || length > kBlockSize)
            raise(kNotAnArchive);
        if (length == 0)
            return;
        const qint32 n = length < 0 ? -length : length;
        if (!sumList) {
            if (!reader_.skip(n))
                raise(kNotAnArchive);
        } else {
            if (!reader_.read(payload_.data(), n))
                raise(kNotAnArchive);
            if (length < 0)
                listSizes_.add(QByteArrayView(payload_.constData(), n));
            else if (codec_.inflate(QByteArrayView(payload_.constData(), n)))
                listSizes_.add(codec_.unpacked());
            else
                listSizes_.spoil();
        }
        pump();
    }
}

// Goes on in the volume the record names, with the member it interrupted.
// Volumes only ever go forward, one at a time: a record naming any other
// volume would read the same files again without end.
void Archiver::changeVolume(const QByteArray& record, const Member& member) {
    const QByteArray digits = record.mid(9, 3);
    bool wellFormed = !volumePath_.isEmpty() && digits.size() == 3;
    for (const char c : digits)
        wellFormed = wellFormed && c >= '0' && c <= '9';
    if (!wellFormed)
        raise(kNotAnArchive);
    const int number = digits.toInt();
    if (number != volume_ + 1) {
        setError(ecReadArchive, volumePath_);
        keepGoing_ = false;
        return;
    }
    if (ring_)
        clearAhead(); // what was read ahead lies in this volume
    reader_.detach();
    volumeIn_.reset();

    QString shown = QString::fromLatin1(digits);
    while (shown.startsWith(QLatin1Char('0')))
        shown.remove(0, 1);
    const QString next = volumeName(volumePath_, QString::fromLatin1(digits));
    for (bool again = false;; again = true) {
        askForVolume(quint16(number), shown, again);
        if (!keepGoing_)
            return;
        if (fileSystem().exists(next))
            break;
    }
    volumePath_ = next;
    volume_ = number;
    volumeIn_ = fileSystem().openForReading(next);
    if (!volumeIn_)
        raise(kCannotReadArchive);
    reader_.attach(volumeIn_.get());
    if (member.valid && memberOut_)
        fillMember(member);
    else
        skipSegment(member.isList);
}

void Archiver::raise(const char* message) const {
    throw ArchiveError(namingFile(QString::fromUtf8(message), volumePath_));
}

// ---------------------------------------------------------------- information

void Archiver::readArchiveInfo(const QString& archivePath, QStringList* infoList, QString& title) {
    if (active_)
        return;
    Operation operation(*this);
    title.clear();
    totalSize_ = 0;
    fullTotalSize_ = 0;
    fileCount_ = 0;
    filesDone_ = 0;
    setError(ecNone);

    switch (openArchive(archivePath)) {
    case Opened::Missing:
        return;
    case Opened::Failed:
        setError(ecReadArchive, volumePath_);
        reportError(errorCode_, errorPath_);
        return;
    case Opened::Ok:
        break;
    }
    bool ok = readHeader(&title);
    qint32 nameLength = 0;
    ok = ok && reader_.readInt(nameLength);
    if (ok && nameLength > 0 && infoList) {
        QByteArray name;
        ok = nameLength <= kMaxNameLength && reader_.readBytes(name, nameLength);
        if (ok && name == kListMemberName) {
            qint32 fileDate = 0;
            QByteArray text;
            keepGoing_ = true;
            listBreaksLF_ = listBreaksCR_ = 0;
            ok = reader_.readInt(fileDate);
            Segment read = Segment::Damaged;
            if (ok) {
                read = readSegment(nullptr, &text);
                ok = read == Segment::Ok || read == Segment::Full;
            }
            if (ok) {
                // Each line costs far more as a list entry than as text.
                const qsizetype cut = endOfLines(text, limits_.listLines);
                if (cut >= 0) {
                    text.truncate(cut);
                    setError(ecListTooLong, volumePath_);
                }
                *infoList = decodeList(text);
                if (read == Segment::Ok && cut < 0)
                    fullTotalSize_ = totalFromList(text, totalSize_);
            }
        }
    }
    reader_.detach();
    volumeIn_.reset();
    if (!ok && errorCode_ == 0)
        setError(ecNotArchive, volumePath_);
    if (errorCode_ != 0)
        reportError(errorCode_, errorPath_);
}

// ---------------------------------------------------------------- shared

// Blocks in flight: enough to keep the workers and the calling thread coding
// while the calling thread reads and writes; one when there are no workers
// (nothing is read ahead, and a file is opened only once the one before it
// is written). Files without blocks (empty ones) are bounded too.
void Archiver::startPool(int workers) {
    ring_.reset();
    pool_ = std::make_unique<CodecPool>(workers);
    const int depth =
        workers == 0 ? 1 : qMin(kBlocksAheadPerWorker * (workers + 1), kMaxBlocksAhead);
    ring_ = std::make_unique<BlockRing>(*pool_, depth);
    maxInputs_ = workers == 0 ? 1 : 2 * depth;
    ahead_ = Ahead::Nothing;
    endsAhead_ = 0;
}

Percent Archiver::percent() const {
    if (fullTotalSize_ <= 0)
        return 0;
    return Percent(qBound(qint64(0), bytesDone_ * 100 / fullTotalSize_, qint64(100)));
}

void Archiver::progress(const QString& fileName, Percent percent) {
    if (onProgress)
        onProgress(this, fileName, percent, keepGoing_);
}

void Archiver::pump() {
    if (pump_)
        pump_->processPendingMessages();
}

void Archiver::askForVolume(quint16 volume, const QString& shown, bool again) {
    if (onVolumeNeeded) {
        onVolumeNeeded(this, volume, keepGoing_);
        return;
    }
    if (!ui_) {
        // Nobody to ask: go on once, but never wait for a volume forever.
        keepGoing_ = !again;
        return;
    }
    const core::MsgAnswer answer = ui_->messageBox(
        QStringLiteral("Informacja"), QString::fromUtf8(kVolumePrompt).replace("%s", shown),
        core::MsgIcon::Information, core::MsgButtons::OkCancel);
    keepGoing_ = answer == core::MsgAnswer::Ok;
}

// A kind of member a restore skipped and went on: the operation's error when
// it has none yet, reported at once otherwise.
void Archiver::noteSkipped(qint32 code, const QString& path) {
    if (errorCode_ == 0)
        setError(code, path);
    else
        reportError(code, path);
}

void Archiver::setError(qint32 code, const QString& path) {
    errorCode_ = code;
    errorPath_ = path;
}

void Archiver::reportError(qint32 code, const QString& path) {
    const QString message = namingFile(archiveErrorMessage(code), path);
    if (onError)
        onError(this, code, message);
    else if (ui_)
        ui_->messageBox(QStringLiteral("Błąd"), message, core::MsgIcon::Error,
                        core::MsgButtons::Ok);
}

} // namespace pylomir::backup
