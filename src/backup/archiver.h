// Archiver: packs files into a block-compressed archive, optionally split
// into volumes, and unpacks it again. Runs on the caller's thread; long work
// lets the user interface breathe through the message pump after every
// block. All file access goes through the platform's file system.
#pragma once

#include "backup/archive_error.h"
#include "backup/archive_io.h"
#include "backup/backup_sources.h"
#include "backup/block_codec.h"
#include "backup/restore_target.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace pylomir::core {
class MessagePump;
class UiPort;
} // namespace pylomir::core
namespace pylomir::platform {
class FileSystem;
class OutputFile;
} // namespace pylomir::platform

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
    // Stores the files named by the entries (see expand()); true when the
    // archive was completed. A volume is put in place only once it is whole:
    // a backup that fails or is stopped keeps the volumes it finished before
    // (each ends with the record naming the next) and leaves nothing at the
    // path of the volume in work; a file that was there stays as it was.
    bool backup(const QStringList& files, const QString& archivePath);
    // Unpacks into targetFolder, or to the stored paths when it is empty;
    // true when the archive was read to its end without a failure.
    bool restore(const QString& archivePath, const QString& targetFolder);
    // Reads the header's title and counts, and the information list when
    // infoList is given and the archive has one; unpacks nothing.
    void readArchiveInfo(const QString& archivePath, QStringList* infoList, QString& title);
    void stop() { keepGoing_ = false; }
    bool isBusy() const { return busy_; }

    // The last operation's state.
    qint32 fileCount() const { return fileCount_; }
    qint32 filesDone() const { return filesDone_; }
    qint32 totalSize() const { return totalSize_; }
    qint32 bytesDone() const { return qint32(bytesDone_); }
    QString currentFile() const { return currentFile_; }
    bool keepGoing() const { return keepGoing_; }
    qint32 errorCode() const { return errorCode_; }

private:
    struct Operation;
    struct Member {
        QString target;
        qint32 fileDate = 0;
        bool restoring = false;
        bool valid = false;
    };
    enum class Segment { Ok, Stopped, BadSignature, Damaged, WriteFailed };
    enum class Opened { Missing, Failed, Ok };

    platform::FileSystem& fileSystem() const;

    // Backup.
    QStringList measure(const QStringList& expanded, QStringList& listLines);
    std::unique_ptr<platform::OutputFile> writeInfoList(const QStringList& lines);
    bool startArchive(const QString& archivePath);
    bool openVolume();
    bool storeFile(const QString& path, bool isList);
    bool writeSegment(QIODevice& source, qint64& remaining);
    bool readInput(QIODevice& source, qint64 n, qint64 remaining);
    bool nextVolume();
    bool finishArchive();

    // Restore.
    Opened openArchive(const QString& archivePath);
    bool readHeader(QString* title);
    bool isWanted(const QString& target, qint32 fileDate);
    bool makeTargetFolder(const QString& target);
    bool resolvesInside(const QString& target, const QString& targetFolder);
    void restoreMember(const Member& member, bool append);
    Segment readSegment(QIODevice* file, QByteArray* memory);
    void skipSegment();
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

    // The archive in work: the current volume's file (none for a stream).
    ArchiveWriter writer_;
    ArchiveReader reader_;
    std::unique_ptr<platform::OutputFile> volumeOut_;
    std::unique_ptr<QIODevice> volumeIn_;
    QString volumePath_; // empty for a stream
    int volume_ = 1;
    qint64 blocksInVolume_ = 0;

    // Restore state: the folder the last member went to, and whether it
    // resolves inside the target folder (-1: not known yet).
    QString lastFolder_;
    int lastFolderInside_ = -1;
    QString targetBase_; // the target folder with links resolved

    BlockCodec codec_;
    // File data read in large chunks; one block's payload.
    QByteArray input_;
    qsizetype inputPos_ = 0;
    qsizetype inputLen_ = 0;
    QByteArray payload_;
};

} // namespace pylomir::backup
