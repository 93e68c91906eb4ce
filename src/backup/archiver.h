// Archiver: packs files into a block-compressed archive, optionally split
// into volumes, and unpacks it again. Runs on the caller's thread; long work
// lets the user interface breathe through the message pump after every
// block. All file access goes through the platform's file system.
#pragma once

#include "backup/archive_error.h"
#include "backup/archive_io.h"
#include "backup/backup_sources.h"
#include "backup/block_codec.h"
#include "backup/codec_pool.h"
#include "backup/restore_target.h"
#include "platform/file_system.h"

#include <QByteArray>
#include <QIODevice>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pylomir::core {
class MessagePump;
class UiPort;
} // namespace pylomir::core
namespace pylomir::backup {

using Percent = quint8; // 0..100

class Archiver;

// fileName: the member in work, empty for the reports at the start and end.
// A handler that clears keepGoing stops the operation before its next block.
using ProgressHandler = std::function<void(Archiver* sender, const QString& fileName,
                                           Percent percent, bool& keepGoing)>;
// Replaces the built-in prompt for the next volume.
using VolumeNeededHandler = std::function<void(Archiver* sender, quint16 volume, bool& keepGoing)>;
// May change a member's target path or veto its restore.
using RestoringFileHandler = std::function<void(Archiver* sender, QString& targetPath,
                                                qint32 storedDate, bool& shouldRestore)>;
// A restored file is written and still open; its time is set after this.
using FileRestoredHandler =
    std::function<void(Archiver* sender, QString& targetPath, QIODevice*& file)>;
// Replaces the built-in error box.
using ArchiveErrorHandler =
    std::function<void(Archiver* sender, qint32 code, const QString& message)>;

class Archiver {
public:
    Archiver();
    ~Archiver();
    Archiver(const Archiver&) = delete;
    Archiver& operator=(const Archiver&) = delete;

    static QString version() { return QStringLiteral("5.00"); }

    // Settings.
    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    BackupScope backupScope() const { return backupScope_; }
    // Switching to Incremental also turns clearArchiveAttribute on.
    void setBackupScope(BackupScope scope);
    CompressionLevel compressionLevel() const { return compressionLevel_; }
    void setCompressionLevel(CompressionLevel level) { compressionLevel_ = level; }
    RestoreRule restoreRule() const { return restoreRule_; }
    void setRestoreRule(RestoreRule rule) { restoreRule_ = rule; }
    // Largest volume in bytes; 0 writes one volume of any size.
    qint32 maxVolumeSize() const { return maxVolumeSize_; }
    void setMaxVolumeSize(qint32 size) { maxVolumeSize_ = size; }
    // Clears a stored file's archive attribute.
    bool clearArchiveAttribute() const { return clearArchiveAttribute_; }
    void setClearArchiveAttribute(bool on) { clearArchiveAttribute_ = on; }
    // Restoring into a folder rebuilds the stored folders below it.
    bool restoreFolderTree() const { return restoreFolderTree_; }
    void setRestoreFolderTree(bool on) { restoreFolderTree_ = on; }
    // Stores the information list as the first member.
    bool storeInfoList() const { return storeInfoList_; }
    void setStoreInfoList(bool on) { storeInfoList_ = on; }
    // What a reader takes from an archive at most.
    struct ReadLimits {
        qint64 memberBytes = kMaxMemberSize; // data of one member
        qsizetype listLines = kMaxListLines; // lines of the information list
    };
    void setReadLimits(const ReadLimits& limits) { limits_ = limits; }
    // Threads that compress or inflate blocks while the calling thread reads
    // and writes; 0 does everything on the calling thread. The archive, the
    // files and the events are the same either way.
    int codecThreads() const { return codecThreads_; }
    void setCodecThreads(int threads) { codecThreads_ = qMax(0, threads); }

    // Events; an empty function is "not attached".
    ProgressHandler onProgress;
    VolumeNeededHandler onVolumeNeeded;
    RestoringFileHandler onRestoringFile;
    FileRestoredHandler onFileRestored;
    ArchiveErrorHandler onError;

    // Services. Without a UI port nothing is shown and a volume prompt is
    // answered OK once; without a file system the machine's is used.
    void setUiPort(core::UiPort* ui) { ui_ = ui; }
    void setMessagePump(core::MessagePump* pump) { pump_ = pump; }
    void setFileSystem(platform::FileSystem* fs) { fs_ = fs; }
    // Read or written instead of a file for the archive name ":STREAM"; owned
    // by the caller, used from its position, never reset or closed.
    QIODevice* sourceStream() const { return sourceStream_; }
    void setSourceStream(QIODevice* stream) { sourceStream_ = stream; }
    QIODevice* targetStream() const { return targetStream_; }
    void setTargetStream(QIODevice* stream) { targetStream_ = stream; }

    // Operations. Each returns at once (false / nothing) while another runs.
    // Stores the files named by the entries (see expandEntries()); true when
    // the archive was completed with every input. A volume is put in place
    // only once it is whole: a backup that fails or is stopped keeps the
    // volumes it finished before (each ends with the record naming the next)
    // and leaves nothing at the path of the volume in work; a file that was
    // there stays as it was. An archive that would replace one of the files
    // to store, through links too, is refused before anything is written
    // (ecArchiveIsInput). Inputs that cannot be read whole without blocking
    // (a folder a mask cannot list, a FIFO, a device) are left out, never
    // opened, and reported together at the end (ecSkippedInput,
    // skippedInputs()); the archive of the rest is complete.
    bool backup(const QStringList& files, const QString& archivePath);
    // Unpacks into targetFolder, or to the stored paths when it is empty;
    // true when the archive was read to its end without a failure. Each file
    // takes its target's place only once it is whole (a link there is
    // replaced, a file that fails leaves the target as it was). Into a
    // folder, nothing is made or written outside it, links followed; a
    // folder that cannot be made is an error (ecCreateFolder). Volumes must
    // follow one another in order (else ecReadArchive). Members that are
    // skipped go on to the rest and are reported together at the end: into
    // a folder, those that would land outside it (ecOutsideFolder) and those
    // whose target this restore has written already (ecSameTarget, named);
    // to the stored paths, those whose name is no absolute, normalised path
    // (ecIrregularName, named).
    bool restore(const QString& archivePath, const QString& targetFolder);
    // Reads the header's title and counts, and the information list when
    // infoList is given and the archive has one; unpacks nothing. A list of
    // more lines than the limit gives its first lines (ecListTooLong).
    void readArchiveInfo(const QString& archivePath, QStringList* infoList, QString& title);
    void stop() { keepGoing_ = false; }
    bool isBusy() const { return busy_; }

    // The last operation's state.
    qint32 fileCount() const { return fileCount_; }
    qint32 filesDone() const { return filesDone_; }
    qint32 totalSize() const { return totalSize_; }
    // The data of the whole archive in 64 bits, where the header's total
    // holds only the low 32: after a backup the sum it measured; after an
    // information read that read the list, or a restore past the list, the
    // list's sizes and its own bytes when they agree with the header (see
    // ListSizes); otherwise the header's total read as unsigned.
    qint64 fullTotalSize() const { return fullTotalSize_; }
    qint32 bytesDone() const { return qint32(bytesDone_); }
    QString currentFile() const { return currentFile_; }
    bool keepGoing() const { return keepGoing_; }
    qint32 errorCode() const { return errorCode_; }
    // The inputs the last backup left out (ecSkippedInput), in work-list order.
    QStringList skippedInputs() const { return skipped_; }
    // The files the last backup stored whole, in the order stored; a volume
    // that was not finished may still hold some of them.
    QStringList storedFiles() const { return stored_; }
    // Whether the last backup put a whole archive in place, even one that
    // left out inputs.
    bool archiveWritten() const { return written_; }

private:
    struct Operation;
    struct Member {
        QString target;
        qint32 fileDate = 0;
        bool restoring = false;
        bool valid = false;
        bool isList = false; // the information list, read for its sizes
    };
    // Full: read into memory as far as the list's line limit.
    enum class Segment { Ok, Full, Stopped, BadSignature, Damaged, WriteFailed };
    enum class Opened { Missing, Failed, Ok };
    enum class FolderState { Ready, Outside, Failed };

    platform::FileSystem& fileSystem() const;

    // Backup.
    QStringList measure(const QStringList& expanded, QStringList& listLines);
    struct Probe;
    void probeInputs(const QStringList& expanded);
    Probe probe(const QString& path);
    std::optional<platform::PathStatus> statusOf(qsizetype i, const QString& path);
    std::unique_ptr<platform::OutputFile> writeInfoList(const QStringList& lines);
    bool startArchive(const QString& archivePath);
    bool openVolume();
    QString inputReplacedBy(const QStringList& work, const QString& archive);
    struct Input;
    bool storeFile(Input& input);
    bool writeSegment(qint64& remaining);
    void readAhead();
    bool openNextInput();
    bool readInput(QIODevice& source, qint64 n, qint64 remaining);
    bool nextVolume();
    bool finishArchive();

    // Restore.
    Opened openArchive(const QString& archivePath);
    bool readHeader(QString* title);
    bool isWanted(const QString& target, qint32 fileDate);
    FolderState prepareFolder(const QString& target, bool contained);
    void startMember(const Member& member);
    void fillMember(const Member& member);
    void finishMember(const Member& member);
    Segment readSegment(QIODevice* file, QByteArray* memory);
    Segment readFileSegment(QIODevice& file);
    void inflateAhead();
    bool skipMemberAhead();
    void popAhead();
    void clearAhead();
    void startPool(int workers);
    void skipSegment(bool sumList = false);
    void noteSkipped(qint32 code, const QString& path = QString());
    void changeVolume(const QByteArray& record, const Member& member);
    [[noreturn]] void raise(const char* message) const;

    // Shared.
    void progress(const QString& fileName, Percent percent);
    Percent percent() const;
    void pump();
    void askForVolume(quint16 volume, const QString& shown, bool again);
    void setError(qint32 code, const QString& path = QString());
    void reportError(qint32 code, const QString& path = QString());

    QString title_;
    BackupScope backupScope_ = BackupScope::Incremental;
    CompressionLevel compressionLevel_ = CompressionLevel::Fastest;
    RestoreRule restoreRule_ = RestoreRule::Always;
    qint32 maxVolumeSize_ = 0;
    bool clearArchiveAttribute_ = true;
    bool restoreFolderTree_ = false;
    bool storeInfoList_ = false;
    ReadLimits limits_;
    int codecThreads_ = CodecPool::defaultWorkers();

    core::UiPort* ui_ = nullptr;
    core::MessagePump* pump_ = nullptr;
    platform::FileSystem* fs_ = nullptr;
    QIODevice* sourceStream_ = nullptr;
    QIODevice* targetStream_ = nullptr;

    qint32 fileCount_ = 0;
    qint32 filesDone_ = 0;
    qint32 totalSize_ = 0;
    qint64 fullTotalSize_ = 0; // the total before it was cut to 32 bits, for the percentage
    qint64 bytesDone_ = 0;
    QString currentFile_;
    bool keepGoing_ = false;
    bool busy_ = false;
    bool active_ = false; // any operation, the information read included
    qint32 errorCode_ = 0;
    QString errorPath_; // the file the error concerns, if any
    QStringList skipped_;
    QStringList stored_;
    bool written_ = false;

    // The archive in work: the current volume's file (none for a stream).
    ArchiveWriter writer_;
    ArchiveReader reader_;
    std::unique_ptr<platform::OutputFile> volumeOut_;
    std::unique_ptr<QIODevice> volumeIn_;
    QString volumePath_; // empty for a stream
    int volume_ = 1;
    qint64 blocksInVolume_ = 0;

    // Restore state: the file of the member in work and its bytes so far;
    // the folder the last member went to, and whether it was checked to lie
    // inside the target folder.
    std::unique_ptr<platform::OutputFile> memberOut_;
    qint64 memberBytes_ = 0;
    qint64 listBreaksLF_ = 0; // line ends in the information list read so far
    qint64 listBreaksCR_ = 0;
    QString lastFolder_;
    bool lastFolderContained_ = false;
    QString targetBase_;            // the target folder with links resolved
    QSet<QString> restoredTargets_; // path keys of the files this restore wrote
    ListSizes listSizes_;

    BlockCodec codec_;
    std::unique_ptr<CodecPool> pool_; // lives as long as the operation
    std::unique_ptr<BlockRing> ring_; // the blocks in flight, over the pool
    // A file of the backup's work list as the read-ahead opened it, waiting
    // for the writer. The read-ahead runs across files, so the codec threads
    // keep working while the calling thread goes from one file to the next.
    struct Input {
        QString path;
        bool isList = false;
        std::unique_ptr<QIODevice> source; // null: it could not be opened
        qint64 size = 0;
        qint32 date = 0;
        qint64 unread = 0;   // bytes not yet handed to the ring
        bool broken = false; // a block could not be read whole
    };
    std::deque<Input> inputs_;
    // What the inputs were found to be before the archive is begun, when
    // other threads looked them up; empty when each is looked up in turn.
    struct Probe {
        std::optional<platform::PathStatus> status;
        bool opened = false; // a regular file: whether it opened
        QString reason;      // why it did not
        qint64 size = 0;
    };
    std::vector<Probe> probes_;
    QStringList work_;        // the backup's work list
    qsizetype nextInput_ = 0; // the next entry of work_ to open
    bool withList_ = false;   // work_ starts with the information list
    qsizetype maxInputs_ = 1; // files open ahead of the writer at most
    // Restore: what follows the ring's last item in the archive (more
    // blocks, the next member, nothing to read ahead), where that item ends,
    // and how many segment ends the ring holds (see inflateAhead).
    enum class Ahead { Blocks, Member, Nothing };
    Ahead ahead_ = Ahead::Nothing;
    qint64 aheadEnd_ = 0;
    int endsAhead_ = 0;
    // File data read in large chunks; one block's payload.
    QByteArray input_;
    qsizetype inputPos_ = 0;
    qsizetype inputLen_ = 0;
    QByteArray payload_;
};

} // namespace pylomir::backup
