// Archives of a fixed set of files, pinned by digest: any change of layout,
// block choice, zlib settings or volume boundaries shows here.
#include "backup_test_util.h"

#include <QCryptographicHash>

namespace pylomir::backup::testing {
namespace {

TEST(ArchiveBytes, MatchPinnedDigests) {
    // Member names are full paths: a root of fixed length keeps the volume
    // boundaries in place, and is masked before hashing.
    QTemporaryDir dir;
    QString root = dir.path() + "/";
    const qsizetype kRootLength = 96;
    if (root.size() > kRootLength - 2 || root.toLatin1() != root.toUtf8())
        GTEST_SKIP() << "the temporary folder's path is too long or not ASCII";
    root += QString(kRootLength - 1 - root.size(), 'r') + "/";
    const QStringList names =
        QString::fromUtf8("empty one b16384.bin b16385.bin text.txt rand.bin zażółć.txt 日本.bin")
            .split(' ');
    const qsizetype sizes[] = {0, 1, 16384, 16385, 100000, 40000, 3000, 500};
    QStringList files;
    QDateTime t(QDate(2018, 7, 8), QTime(9, 10, 11));
    for (int i = 0; i < names.size(); ++i) {
        files << root + names[i];
        writeFile(files.back(), testData(sizes[i], 100 + i, names[i].endsWith(".txt")), t);
        t = t.addSecs(90061);
    }
    // Made with zlib 1.2.13; another deflate implementation may pick other
    // (equally valid) streams for the compressed levels.
    const std::tuple<CompressionLevel, qint32, const char*> cases[] = {
        {CompressionLevel::Fastest, 0, "2364ae1c0174130a"},
        {CompressionLevel::Fastest, 30000, "b5e242081741472c"},
        {CompressionLevel::None, 0, "d3a2f641995a43bb"},
        {CompressionLevel::None, 30000, "309eb8d340ebd490"},
        {CompressionLevel::Default, 0, "33d5c52e22256d39"},
        {CompressionLevel::Default, 30000, "6da0184e160da2a8"},
        {CompressionLevel::Max, 0, "d3201d984907441b"},
        {CompressionLevel::Max, 30000, "15689487152d2a6a"},
    };
    for (const auto& [level, maxSize, digest] : cases) {
        SCOPED_TRACE(::testing::Message() << "level " << int(level) << ", volumes of " << maxSize);
        const QString arch = dir.filePath(QStringLiteral("a%1-%2/").arg(int(level)).arg(maxSize));
        QDir().mkpath(arch);
        Archiver archiver;
        configureForBackup(archiver);
        archiver.setTitle(QString::fromUtf8("Kopia: zażółć"));
        archiver.setCompressionLevel(level);
        archiver.setMaxVolumeSize(maxSize);
        archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
        ASSERT_TRUE(archiver.backup(files, arch + "a.backup"));
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QString volume = arch + "a.backup";
        for (int v = 2; QFileInfo::exists(volume); ++v) {
            hash.addData(readAll(volume).replace(encodeText(root), QByteArray(root.size(), '#')));
            volume = arch + "a." + volumeDigits(v);
        }
        EXPECT_EQ(hash.result().toHex().left(16), digest);
    }
}

} // namespace
} // namespace pylomir::backup::testing
