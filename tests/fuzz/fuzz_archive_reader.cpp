// libFuzzer target for the archive reader: the information read and a
// restore into a scratch folder, from a file and from a caller's stream.
#include "backup/archiver.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace pylomir::backup;

namespace {

void quiet(Archiver& archiver) {
    archiver.onError = [](Archiver*, qint32, const QString&) {};
    // Volumes never exist here; a prompt that said OK would ask forever.
    archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = false; };
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

    Archiver archiver;
    quiet(archiver);
    QStringList list;
    QString title;
    archiver.readArchiveInfo(archive, &list, title);

    for (const bool folderTree : {false, true}) {
        archiver.setRestoreFolderTree(folderTree);
        try {
            archiver.restore(archive, out);
        } catch (const ArchiveError&) {
        }
    }

    QBuffer stream;
    stream.setData(bytes);
    stream.open(QIODevice::ReadOnly);
    archiver.setSourceStream(&stream);
    archiver.setRestoreRule(RestoreRule::IfMissing);
    try {
        archiver.restore(QString::fromLatin1(kStreamArchiveName), out);
    } catch (const ArchiveError&) {
    }
    QDir(out).removeRecursively();
    return 0;
}
