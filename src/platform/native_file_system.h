// The parts of the Windows file system that Qt serves: opening, creating and
// looking up files. The Windows file system adds the listing and the
// attribute calls. (POSIX names are bytes that Qt's file classes would decode
// lossily, so the POSIX file system makes every call itself.)
#pragma once

#include "platform/file_system.h"

namespace pylomir::platform {

class NativeFileSystem : public FileSystem {
public:
    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override;
    std::unique_ptr<OutputFile> openForWriting(const QString& path, WriteMode mode,
                                               QString* reason) override;
    std::unique_ptr<OutputFile> createTemporaryFile(const QString& prefix,
                                                    QString* reason) override;
    bool moveToTrash(const QString& path, QString* reason) override;
    bool createFolder(const QString& path) override;
    std::optional<PathStatus> status(const QString& path) override;
    bool isLink(const QString& path) override;
    QString canonicalPath(const QString& path) override;
};

} // namespace pylomir::platform
