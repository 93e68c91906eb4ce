// Archive throughput: backs up ~200 MB of mixed files at the fastest level, restores
// them, and times gzip -1 / gzip -d over the same bytes in the same run.
//
//   bench_archive [corpus-folder]     (default /tmp/pylomir-archive-corpus)
//
// The corpus is built on first use from this machine's shared libraries,
// header files and generated random data; the same machine gives the same
// corpus every time.
#include "backup/archiver.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

using pylomir::backup::Archiver;

namespace {

constexpr qint64 kMB = 1000 * 1000;

// Copies regular files found under `from` (sorted by path) matching `accept`
// into `to`, until `budget` bytes are copied.
qint64 copyFiles(const QString& from, const QString& to, qint64 budget,
                 bool (*accept)(const QFileInfo&)) {
    QStringList paths;
    QDirIterator it(from, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    std::sort(paths.begin(), paths.end());
    qint64 copied = 0;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isReadable() || !accept(info) || copied + info.size() > budget)
            continue;
        const QString target = to + "/" + QDir(from).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(path, target))
            copied += info.size();
    }
    return copied;
}

void buildCorpus(const QString& root) {
    std::printf("building the corpus in %s ...\n", qPrintable(root));
    QDir(root).removeRecursively();
    const qint64 libs =
        copyFiles("/usr/lib/x86_64-linux-gnu", root + "/libs", 100 * kMB, [](const QFileInfo& i) {
            return i.fileName().contains(".so") && i.size() < 20 * kMB;
        });
    const qint64 text = copyFiles("/usr/include", root + "/text", 60 * kMB,
                                  [](const QFileInfo& i) { return i.size() > 0; });
    std::mt19937_64 gen(42);
    QDir().mkpath(root + "/random");
    for (int i = 0; i < 40; ++i) {
        QByteArray data(kMB, Qt::Uninitialized);
        for (qsizetype j = 0; j + 8 <= data.size(); j += 8) {
            const quint64 v = gen();
            std::memcpy(data.data() + j, &v, 8);
        }
        QFile f(root + QStringLiteral("/random/r%1.bin").arg(i, 2, 10, QLatin1Char('0')));
        if (f.open(QIODevice::WriteOnly))
            f.write(data);
    }
    std::printf("  libraries %.1f MB, text %.1f MB, random 40 MB\n", double(libs) / kMB,
                double(text) / kMB);
    QFile marker(root + "/.complete");
    marker.open(QIODevice::WriteOnly);
}

double timedProcess(const QString& program, const QStringList& args, const QString& out) {
    QProcess p;
    p.setStandardOutputFile(out);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/pylomir-archive-corpus");
    if (!QFileInfo::exists(corpus + "/.complete"))
        buildCorpus(corpus);

    QStringList files;
    QDirIterator it(corpus, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.removeAll(corpus + "/.complete");
    std::sort(files.begin(), files.end());

    // The same bytes as one stream for gzip; reading them also warms the cache.
    const QString work = corpus + ".work";
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString joined = work + "/corpus.cat";
    qint64 total = 0;
    {
        QFile out(joined);
        out.open(QIODevice::WriteOnly);
        for (const QString& path : files) {
            QFile in(path);
            if (in.open(QIODevice::ReadOnly)) {
                const QByteArray data = in.readAll();
                out.write(data);
                total += data.size();
            }
        }
    }
    const double mb = double(total) / kMB;
    std::printf("corpus: %lld files, %.1f MB\n", qlonglong(files.size()), mb);

    Archiver archiver;
    archiver.setBackupScope(pylomir::backup::BackupScope::All);
    archiver.setClearArchiveAttribute(false);
    archiver.setCompressionLevel(pylomir::backup::CompressionLevel::Fastest);
    archiver.setRestoreFolderTree(true);
    const QString archive = work + "/bench.backup";
    const bool haveShm = QFileInfo(QStringLiteral("/dev/shm")).isDir();
    const QString shm = QStringLiteral("/dev/shm/pylomir-restore");

    // Best of three for every contender. Restores go into fresh folders
    // (re-creating just deleted files is slower on ext4); creating the files
    // costs a disk file system more than the data, so a restore into memory
    // (/dev/shm) is timed as well.
    double backupSeconds = 1e9, restoreSeconds = 1e9, shmSeconds = 1e9;
    double gzipSeconds = 1e9, gunzipSeconds = 1e9;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        if (!archiver.backup(files, archive)) {
            std::fprintf(stderr, "backup failed (error %d)\n", archiver.errorCode());
            return 1;
        }
        backupSeconds = std::min(backupSeconds, double(t.nsecsElapsed()) / 1e9);
        for (const bool toShm : {false, true}) {
            if (toShm && !haveShm)
                continue;
            const QString into =
                toShm ? shm + QString::number(round) : work + "/restore" + QString::number(round);
            t.restart();
            if (!archiver.restore(archive, into) || archiver.filesDone() != files.size()) {
                std::fprintf(stderr, "restore failed (error %d)\n", archiver.errorCode());
                return 1;
            }
            double& best = toShm ? shmSeconds : restoreSeconds;
            best = std::min(best, double(t.nsecsElapsed()) / 1e9);
            if (toShm)
                QDir(into).removeRecursively();
        }
        // The peers write their output to the same disk, as the archive does.
        gzipSeconds =
            std::min(gzipSeconds, timedProcess("gzip", {"-1", "-c", joined}, joined + ".gz"));
        gunzipSeconds = std::min(
            gunzipSeconds, timedProcess("gzip", {"-d", "-c", joined + ".gz"}, work + "/gunzipped"));
        QFile::remove(work + "/gunzipped");
    }
    if (gzipSeconds <= 0 || gunzipSeconds <= 0)
        return 1;
    const qint64 archiveSize = QFileInfo(archive).size();
    const qint64 gzipSize = QFileInfo(joined + ".gz").size();

    std::printf("backup  clFastest  %7.1f MB/s  (%.2f s, archive %.1f%% of the data)\n",
                mb / backupSeconds, backupSeconds, 100.0 * double(archiveSize) / double(total));
    std::printf("gzip -1            %7.1f MB/s  (%.2f s, output %.1f%% of the data)\n",
                mb / gzipSeconds, gzipSeconds, 100.0 * double(gzipSize) / double(total));
    std::printf("restore            %7.1f MB/s  (%.2f s, next to the corpus)\n",
                mb / restoreSeconds, restoreSeconds);
    if (haveShm)
        std::printf("restore            %7.1f MB/s  (%.2f s, into /dev/shm)\n", mb / shmSeconds,
                    shmSeconds);
    std::printf("gzip -d            %7.1f MB/s  (%.2f s)\n", mb / gunzipSeconds, gunzipSeconds);
    std::printf("backup / gzip -1   %7.2fx   (target >= 1.30x)\n", gzipSeconds / backupSeconds);
    std::printf("restore / gzip -d  %7.2fx   (target >= 0.80x)\n", gunzipSeconds / restoreSeconds);
    if (haveShm)
        std::printf("  into /dev/shm    %7.2fx\n", gunzipSeconds / shmSeconds);
    QDir(work).removeRecursively();
    return 0;
}
