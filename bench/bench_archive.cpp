// Archive throughput: backs up ~200 MB of mixed files at the fastest level, restores
// them, and times gzip -1 / gzip -d (and pigz -1 -p2 when installed) over the
// same bytes in the same run; the archive component on the calling thread
// alone is timed too.
//
//   bench_archive [corpus-folder]     (default /tmp/pylomir-archive-corpus)
//
// The corpus is built on first use from this machine's shared libraries,
// header files and generated random data; the same machine gives the same
// corpus every time.
#include "archive_corpus.h"
#include "backup/archiver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

using pylomir::backup::Archiver;

using bench::kMB;
using bench::timedProcess;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString corpus =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : bench::defaultCorpusFolder();
    const QStringList files = bench::corpusFiles(corpus);

    // The same bytes as one stream for gzip; reading them also warms the cache.
    const QString work = corpus + ".work";
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString joined = work + "/corpus.cat";
    const qint64 total = bench::joinFiles(files, joined);
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

    // Best of three for every contender. Restores go into fresh folders that
    // stay until the end: ext4 looks slowly for room for new files where many
    // were just deleted, and gzip's one file would not pay for that. Creating
    // the files costs a disk file system more than the data, so a restore into
    // memory (/dev/shm) is timed as well.
    double backupSeconds = 1e9, restoreSeconds = 1e9, shmSeconds = 1e9;
    double gzipSeconds = 1e9, gunzipSeconds = 1e9, pigzSeconds = 1e9;
    double serialBackupSeconds = 1e9, serialRestoreSeconds = 1e9;
    const bool havePigz = !QStandardPaths::findExecutable(QStringLiteral("pigz")).isEmpty();
    const int threads = archiver.codecThreads();
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        // The component on the calling thread alone, then with its codec threads.
        for (const int codecThreads : {0, threads}) {
            archiver.setCodecThreads(codecThreads);
            // Deleting the last round's archive is not the backup's work.
            QFile::remove(archive);
            bench::settle();
            t.start();
            if (!archiver.backup(files, archive)) {
                std::fprintf(stderr, "backup failed (error %d)\n", archiver.errorCode());
                return 1;
            }
            double& best = codecThreads == 0 ? serialBackupSeconds : backupSeconds;
            best = std::min(best, double(t.nsecsElapsed()) / 1e9);
        }
        archiver.setCodecThreads(0);
        const QString serialInto = work + "/serial" + QString::number(round);
        bench::settle();
        t.restart();
        if (!archiver.restore(archive, serialInto) || archiver.filesDone() != files.size()) {
            std::fprintf(stderr, "restore failed (error %d)\n", archiver.errorCode());
            return 1;
        }
        serialRestoreSeconds = std::min(serialRestoreSeconds, double(t.nsecsElapsed()) / 1e9);
        archiver.setCodecThreads(threads);
        for (const bool toShm : {false, true}) {
            if (toShm && !haveShm)
                continue;
            const QString into =
                toShm ? shm + QString::number(round) : work + "/restore" + QString::number(round);
            bench::settle();
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
        if (havePigz)
            pigzSeconds = std::min(pigzSeconds, timedProcess("pigz", {"-1", "-p2", "-c", joined},
                                                             joined + ".pigz.gz"));
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
    if (havePigz)
        std::printf("pigz -1 -p2        %7.1f MB/s  (%.2f s)\n", mb / pigzSeconds, pigzSeconds);
    else
        std::printf("pigz -1 -p2        skipped (not installed)\n");
    std::printf("one thread: backup %7.1f MB/s, restore %.1f MB/s (next to the corpus)\n",
                mb / serialBackupSeconds, mb / serialRestoreSeconds);
    std::printf("codec threads      %d\n", threads);
    std::printf("backup / gzip -1   %7.2fx   (target >= 2.00x)\n", gzipSeconds / backupSeconds);
    if (havePigz)
        std::printf("backup / pigz -1   %7.2fx   (target >= 1.00x)\n", pigzSeconds / backupSeconds);
    std::printf("backup / one thread%7.2fx\n", serialBackupSeconds / backupSeconds);
    std::printf("restore / gzip -d  %7.2fx   (target >= 1.50x)\n", gunzipSeconds / restoreSeconds);
    if (haveShm)
        std::printf("  into /dev/shm    %7.2fx\n", gunzipSeconds / shmSeconds);
    std::printf("restore / one thread%6.2fx\n", serialRestoreSeconds / restoreSeconds);
    QDir(work).removeRecursively();
    return 0;
}
