// libFuzzer target for the archive reader across volumes: the input is cut
// at each kSeparator into the first volume and its further volumes (in.backup,
// in.002, in.003...), which are then restored into a scratch folder,
// unpacking and skipping, and read for their information.
#include "backup/archiver.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

using namespace pylomir::backup;

namespace {

constexpr char kSeparator[] = "\n--8<--\n";
constexpr int kMaxFuzzVolumes = 6;

bool writeVolume(const QString& path, QByteArrayView bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir scratch;
    const QString archive = scratch.filePath("in.backup");
    const QString out = scratch.filePath("out");
    QDir(scratch.path()).removeRecursively();
    QDir().mkpath(scratch.path());

    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArrayView separator(kSeparator);
    qsizetype from = 0;
    for (int volume = 1; volume <= kMaxFuzzVolumes; ++volume) {
        qsizetype to = input.indexOf(separator, from);
        if (to < 0 || volume == kMaxFuzzVolumes)
            to = input.size();
        const QString path = volume == 1 ? archive : volumeName(archive, volumeDigits(volume));
        if (!writeVolume(path, input.sliced(from, to - from)))
            return 0;
        from = to + separator.size();
        if (from > input.size())
            break;
    }

    Archiver archiver;
    archiver.onError = [](Archiver*, qint32, const QString&) {};
    // Only the volumes written above exist; asking again would never end.
    archiver.onVolumeNeeded = [&](Archiver*, quint16 volume, bool& go) {
        go = volume >= 2 && volume <= kMaxFuzzVolumes &&
             QFile::exists(volumeName(archive, volumeDigits(volume)));
    };
    QStringList list;
    QString title;
    archiver.readArchiveInfo(archive, &list, title);

    const struct {
        bool folderTree;
        RestoreRule rule;
    } runs[] = {{true, RestoreRule::Always}, {false, RestoreRule::IfExists}};
    for (const auto& run : runs) {
        archiver.setRestoreFolderTree(run.folderTree);
        archiver.setRestoreRule(run.rule);
        try {
            archiver.restore(archive, out);
        } catch (const ArchiveError&) {
        }
    }
    return 0;
}
