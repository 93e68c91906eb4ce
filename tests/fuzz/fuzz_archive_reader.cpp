// libFuzzer target for the archive reader: the information read and a
// restore into a scratch folder, from a file and from a caller's stream.
#include "backup/backup_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace pylomir::backup;

namespace {

void quiet(TBackupFile& bf) {
    bf.OnError = [](TBackupFile*, qint32, const QString&) {};
    // Volumes never exist here; a prompt that said OK would ask forever.
    bf.OnNeedDisk = [](TBackupFile*, quint16, bool& go) { go = false; };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir scratch;
    const QString archive = scratch.filePath("in.backup");
    const QString out = scratch.filePath("out");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(archive);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(bytes);
    }

    TBackupFile bf;
    quiet(bf);
    QStringList list;
    QString title;
    bf.GetArchiveInfo(archive, &list, title);

    for (const bool fullPath : {false, true}) {
        bf.setRestoreFullPath(fullPath);
        try {
            bf.Restore(archive, out);
        } catch (const BackupError&) {
        }
    }

    QBuffer stream;
    stream.setData(bytes);
    stream.open(QIODevice::ReadOnly);
    bf.setSourceStream(&stream);
    bf.setRestoreMode(rmNoOverwrite);
    try {
        bf.Restore(QStringLiteral(":STREAM"), out);
    } catch (const BackupError&) {
    }
    QDir(out).removeRecursively();
    return 0;
}
