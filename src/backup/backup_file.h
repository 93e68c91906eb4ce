// TBackupFile: packs files into a block-compressed archive (optionally split
// into volumes) and unpacks it again. Runs on the caller's thread; long work
// lets the user interface breathe through the message pump after every block.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <stdexcept>

namespace pylomir::core {
class MessagePump;
class UiPort;
} // namespace pylomir::core
namespace pylomir::platform {
class FileSystem;
}

namespace pylomir::backup {

enum TBackupMode { bmAll = 0, bmIncremental = 1 };
enum TCompressionLevel { clFastest = 0, clNone = 1, clDefault = 2, clMax = 3 };
enum TRestoreMode {
    rmAll = 0,
    rmNoOverwrite = 1,
    rmNewer = 2,
    rmExisting = 3,
    rmExistingNewer = 4
};
using TPercentage = quint8;

class TBackupFile;

using TProgressEvent = std::function<void(TBackupFile* Sender, const QString& Filename,
                                          TPercentage Percent, bool& Continue)>;
using TNeedDiskEvent = std::function<void(TBackupFile* Sender, quint16 DiskID, bool& Continue)>;
using TRestoreFileEvent =
    std::function<void(TBackupFile* Sender, QString& Filename, qint32 FA, bool& DoRestore)>;
using TFileRestoredEvent =
    std::function<void(TBackupFile* Sender, QString& Filename, QIODevice*& Stream)>;
using TBackupErrorEvent =
    std::function<void(TBackupFile* Sender, qint32 Error, const QString& ErrString)>;

// Error codes; ErrorCode holds one of them after a failed operation.
enum BackupErrorCode : qint32 {
    ecNone = 0,
    ecReadData = 1,
    ecOverwrite = 2, // reserved: nothing sets it
    ecReadArchive = 3,
    ecCreateArchive = 4,
    ecNotArchive = 5,
    ecCompression = 6,
    ecTempFile = 7,
    // A restore into another folder skipped members that would land outside it.
    ecOutsideFolder = 8,
};

// The message shown for an error code.
QString backupErrorMessage(qint32 code);

// A failure raised to the caller instead of being coded: the archive cannot be
// read at all, is not an archive, or a file to store cannot be opened.
class BackupError : public std::runtime_error {
public:
    explicit BackupError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// Messages of the raised failures.
extern const char* const kCannotReadArchive; // the archive cannot be opened or its header read
extern const char* const kNotAnArchive;      // a segment that is skipped is damaged
extern const char* const kArchiveReadError;  // the archive ends inside a member header
extern const char* const kVolumePrompt;      // "%s" = volume number

class TBackupFile : public QObject {
public:
    explicit TBackupFile(QObject* owner = nullptr);
    ~TBackupFile() override;

    // Published properties.
    QString Version() const { return QStringLiteral("5.00"); }
    void setVersion(const QString&) {} // read-only; assignments are ignored
    QString BackupTitle() const { return backupTitle_; }
    void setBackupTitle(const QString& title) { backupTitle_ = title; }
    TBackupMode BackupMode() const { return backupMode_; }
    void setBackupMode(TBackupMode mode);
    TCompressionLevel CompressionLevel() const { return compressionLevel_; }
    void setCompressionLevel(TCompressionLevel level) { compressionLevel_ = level; }
    TRestoreMode RestoreMode() const { return restoreMode_; }
    void setRestoreMode(TRestoreMode mode) { restoreMode_ = mode; }
    qint32 MaxSize() const { return maxSize_; }
    void setMaxSize(qint32 size) { maxSize_ = size; }
    bool SetArchiveFlag() const { return setArchiveFlag_; }
    void setSetArchiveFlag(bool on) { setArchiveFlag_ = on; }
    bool RestoreFullPath() const { return restoreFullPath_; }
    void setRestoreFullPath(bool on) { restoreFullPath_ = on; }
    bool SaveFileID() const { return saveFileID_; }
    void setSaveFileID(bool on) { saveFileID_ = on; }

    // Events; an empty function is "not attached".
    TProgressEvent OnProgress;
    TNeedDiskEvent OnNeedDisk;
    TRestoreFileEvent OnRestoreFile;
    TFileRestoredEvent OnFileRestored;
    TBackupErrorEvent OnError;

    // Services. Without a UI port the component shows nothing and volume
    // prompts are answered with OK once.
    void setUiPort(core::UiPort* ui) { ui_ = ui; }
    void setMessagePump(core::MessagePump* pump) { pump_ = pump; }
    void setFileSystem(platform::FileSystem* fs) { fs_ = fs; }
    // Used for the archive name ":STREAM"; owned by the caller, never reset
    // or closed.
    void setSourceStream(QIODevice* stream) { sourceStream_ = stream; }
    void setTargetStream(QIODevice* stream) { targetStream_ = stream; }
    QIODevice* SourceStream() const { return sourceStream_; }
    QIODevice* TargetStream() const { return targetStream_; }

    // Operations. Each returns at once (false / nothing) while another runs.
    bool Backup(const QStringList& FileList, const QString& ArchiveName);
    bool Restore(const QString& ArchiveName, const QString& RestorePath);
    void GetArchiveInfo(const QString& ArchiveName, QStringList* List, QString& Title);
    void Stop() { continue_ = false; }
    bool Busy() const { return busy_; }

    // Run-time state of the last operation.
    qint32 FileCount() const { return fileCount_; }
    qint32 FilesDone() const { return filesDone_; }
    qint32 TotalSize() const { return totalSize_; }
    qint32 BytesDone() const { return qint32(bytesDone_); }
    QString CurrentFile() const { return currentFile_; }
    bool Continue() const { return continue_; }
    qint32 ErrorCode() const { return errorCode_; }

private:
    class Writer;
    class Reader;
    struct Codec;
    struct Guard;
    enum class Segment { Ok, Stopped, BadSignature, Damaged, WriteFailed };
    struct Member {
        QString target;
        qint32 fileDate = 0;
        bool restoring = false;
        bool valid = false;
    };

    platform::FileSystem& fileSystem() const;

    // Backup.
    QStringList expand(const QStringList& fileList, const QString& archiveName);
    void expandFolder(const QString& folder, const QString& namePart, bool recursive,
                      const QString& archivePath, QStringList& work, QSet<QString>& seen);
    void addMatch(const QString& path, qint32 attributes, const QString& archivePath,
                  QStringList& work, QSet<QString>& seen);
    bool storeFile(const QString& path, bool isList);
    bool writeSegment(QIODevice& source, qint64& remaining);
    bool readInput(QIODevice& source, qint64 n, qint64 remaining);
    bool nextVolume();

    // Restore.
    void restoreMember(const Member& member, bool append);
    Segment readSegment(QIODevice* file, QByteArray* memory);
    void skipSegment();
    void changeVolume(const QByteArray& record, const Member& member);
    QString targetPath(const QString& name, const QString& restorePath, bool& outside) const;
    bool targetWanted(const QString& target, qint32 fileDate) const;
    bool resolvesInside(const QString& target, const QString& restorePath);

    // Shared.
    void progress(const QString& name, TPercentage percent);
    TPercentage percent() const;
    void pump();
    void askForDisk(quint16 volume, const QString& shown, bool again);
    void reportError(qint32 code);
    void setError(qint32 code);

    QString backupTitle_;
    TBackupMode backupMode_ = bmIncremental;
    TCompressionLevel compressionLevel_ = clFastest;
    TRestoreMode restoreMode_ = rmAll;
    qint32 maxSize_ = 0;
    bool setArchiveFlag_ = true;
    bool restoreFullPath_ = false;
    bool saveFileID_ = false;

    core::UiPort* ui_ = nullptr;
    core::MessagePump* pump_ = nullptr;
    platform::FileSystem* fs_ = nullptr;
    QIODevice* sourceStream_ = nullptr;
    QIODevice* targetStream_ = nullptr;

    qint32 fileCount_ = 0;
    qint32 filesDone_ = 0;
    qint32 totalSize_ = 0;
    qint64 totalSize64_ = 0; // the unwrapped total, for the percentage
    qint64 bytesDone_ = 0;
    QString currentFile_;
    bool continue_ = false;
    bool busy_ = false;
    bool active_ = false; // any operation, the information read included
    qint32 errorCode_ = 0;

    // Per-operation state.
    std::unique_ptr<Writer> writer_;
    std::unique_ptr<Reader> reader_;
    std::unique_ptr<Codec> codec_;
    QString volumePath_;        // the current volume's file name (empty for a stream)
    QString lastFolder_;        // the folder the last restored member went to
    int lastFolderInside_ = -1; // whether it resolves inside the restore folder (-1: unknown)
    QString restoreBase_;       // the restore folder with links resolved
    int volume_ = 1;
    qint64 blocksInVolume_ = 0;

    // Fixed buffers: file data read in large chunks, one compressed block.
    QByteArray input_;
    qsizetype inputPos_ = 0;
    qsizetype inputLen_ = 0;
    QByteArray packed_;
    QByteArray unpacked_;
};

} // namespace pylomir::backup
