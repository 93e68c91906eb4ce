// Backing up the whole found list and restoring the archive to the stored
// paths, on the archive benchmark's corpus, beside gzip -1 / gzip -d over
// the same bytes in the same run; and the backup's time per file on two
// lists of small files, which stays flat when nothing per file grows with
// the list.
//
//   bench_backup [corpus-folder] [--repeat N] [--small N]
//
// The corpus (default /tmp/pylomir-archive-corpus) is copied to a scratch
// folder, whose files make the found list, so that the restore can put
// them back where they were without touching the corpus.
#include "archive_corpus.h"
#include "bench_support.h"

#include "backup/backup_commands.h"
#include "backup/restore_commands.h"
#include "platform/file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pylomir;

namespace {

// Ends the benchmark: a failure must never pass for speed.
[[noreturn]] void fail(const QString& what) {
    std::fprintf(stderr, "%s\n", qPrintable(what));
    std::exit(2);
}

void failOnMessages(const bench::BenchWindow& window) {
    if (!window.ui.said.isEmpty())
        fail(QStringLiteral("a command reported: ") + window.ui.said.join(QStringLiteral(" | ")));
}

// Copies the corpus below `to`, keeping its folders; the copies' paths.
QStringList copyCorpus(const QString& corpus, const QStringList& files, const QString& to) {
    QStringList copies;
    copies.reserve(files.size());
    for (const QString& path : files) {
        const QString target = to + QLatin1Char('/') + QDir(corpus).relativeFilePath(path);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(path, target))
            fail(QStringLiteral("cannot copy ") + path);
        copies << platform::toNative(target);
    }
    return copies;
}

// n files of about a hundred bytes in folders of a thousand.
QStringList makeSmallFiles(const QString& root, int n) {
    QStringList paths;
    paths.reserve(n);
    for (int i = 0; i < n; ++i) {
        const QString folder = QStringLiteral("%1/d%2").arg(root).arg(i / 1000);
        if (i % 1000 == 0)
            QDir().mkpath(folder);
        const QString path = QStringLiteral("%1/plik%2.log").arg(folder).arg(i);
        QFile f(path);
        const QByteArray line = QByteArray("pylomir ") + QByteArray::number(i) + ' ';
        if (!f.open(QIODevice::WriteOnly) || f.write(line.repeated(8)) != line.size() * 8)
            fail(QStringLiteral("cannot create ") + path);
        paths << platform::toNative(path);
    }
    return paths;
}

// One "Utwórz kopię wszystkich plików" over the found list as it is; the
// archive must hold every entry. Returns the seconds it took.
double timedBackupAll(bench::BenchWindow& window, QString* archive) {
    const qsizetype listed = window.core->model().foundList.count();
    const auto start = bench::Clock::now();
    const backup::BackupOutcome outcome = window.core->backupCommands().backupAllFound();
    const double seconds = bench::secondsSince(start);
    failOnMessages(window);
    if (!outcome.complete || outcome.stored.size() != listed)
        fail(QStringLiteral("the archive holds %1 of %2 files")
                 .arg(outcome.stored.size())
                 .arg(listed));
    if (archive)
        *archive = outcome.archivePath;
    else
        QFile::remove(outcome.archivePath);
    return seconds;
}

bool sameBytes(const QString& a, const QString& b) {
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    while (!fa.atEnd()) {
        if (fa.read(1 << 20) != fb.read(1 << 20))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString corpus = bench::defaultCorpusFolder();
    int repeat = 3;
    int small = 10000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--small") == 0 && i + 1 < argc)
            small = std::max(100, std::atoi(argv[++i]));
        else
            corpus = QString::fromLocal8Bit(argv[i]);
    }
    const QStringList files = bench::corpusFiles(corpus);

    const QString work = corpus + QStringLiteral(".backup-work");
    QDir(work).removeRecursively();
    const QString scratch = work + QStringLiteral("/kopia");
    const QString backupFolder = work + QStringLiteral("/kopie/");
    QDir().mkpath(backupFolder);
    const QStringList copies = copyCorpus(corpus, files, scratch);
    // The same bytes as one stream for gzip; reading them also warms the cache.
    const QString joined = work + QStringLiteral("/corpus.cat");
    const qint64 total = bench::joinFiles(files, joined);
    const double mb = double(total) / bench::kMB;
    std::printf("corpus: %lld files, %.1f MB\n", qlonglong(files.size()), mb);

    bench::BenchWindow window;
    core::MainWindowModel& model = window.core->model();
    model.options.backupFolderAtStart = platform::toNative(backupFolder);
    model.foundList.assign(copies);
    backup::Archiver& component = window.core->restoreCommands().archiver();

    // Best of `repeat` for every contender. Each restore first takes the
    // scratch copy away, as a quick delete after the backup would have.
    QString archive;
    double backupSeconds = 1e9, aloneSeconds = 1e9, restoreSeconds = 1e9;
    double gzipSeconds = 1e9, gunzipSeconds = 1e9;
    for (int round = 0; round < repeat; ++round) {
        if (!archive.isEmpty())
            QFile::remove(archive);
        backupSeconds = std::min(backupSeconds, timedBackupAll(window, &archive));

        // The component alone, as the command has just set it up.
        const QString alone = work + QStringLiteral("/alone.backup");
        auto start = bench::Clock::now();
        if (!component.backup(copies, alone) || component.storedFiles().size() != copies.size())
            fail(QStringLiteral("the component's backup failed (error %1)")
                     .arg(component.errorCode()));
        aloneSeconds = std::min(aloneSeconds, bench::secondsSince(start));
        QFile::remove(alone);

        // The recovery tab's one-click restore, which says how many came back.
        QDir(scratch).removeRecursively();
        int progress = 0;
        start = bench::Clock::now();
        window.core->restoreCommands().restoreToStoredPaths(archive, progress);
        restoreSeconds = std::min(restoreSeconds, bench::secondsSince(start));
        const qint32 n = qint32(copies.size());
        if (window.ui.said == QStringList{backup::restoreSuccessMessage(n, n)})
            window.ui.said.clear();
        failOnMessages(window);
        if (component.filesDone() != n)
            fail(QStringLiteral("the restore put back %1 of %2 files (error %3)")
                     .arg(component.filesDone())
                     .arg(n)
                     .arg(component.errorCode()));

        gzipSeconds =
            std::min(gzipSeconds, bench::timedProcess(QStringLiteral("gzip"), {"-1", "-c", joined},
                                                      joined + QStringLiteral(".gz")));
        gunzipSeconds = std::min(gunzipSeconds,
                                 bench::timedProcess(QStringLiteral("gzip"),
                                                     {"-d", "-c", joined + QStringLiteral(".gz")},
                                                     work + QStringLiteral("/gunzipped")));
        QFile::remove(work + QStringLiteral("/gunzipped"));
    }
    if (gzipSeconds <= 0 || gunzipSeconds <= 0)
        return 1;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!sameBytes(files[i], copies[i]))
            fail(QStringLiteral("restored bytes differ: ") + copies[i]);
    }
    const qint64 archiveSize = QFileInfo(archive).size();
    const qint64 gzipSize = QFileInfo(joined + QStringLiteral(".gz")).size();
    QFile::remove(archive);
    QDir(scratch).removeRecursively();

    std::printf("backup of the found list  %7.1f MB/s  (%.2f s, archive %.1f%% of the data)\n",
                mb / backupSeconds, backupSeconds, 100.0 * double(archiveSize) / double(total));
    std::printf("  the component alone     %7.1f MB/s  (%.2f s)\n", mb / aloneSeconds,
                aloneSeconds);
    std::printf("gzip -1                   %7.1f MB/s  (%.2f s, output %.1f%% of the data)\n",
                mb / gzipSeconds, gzipSeconds, 100.0 * double(gzipSize) / double(total));
    std::printf("restore to stored paths   %7.1f MB/s  (%.2f s)\n", mb / restoreSeconds,
                restoreSeconds);
    std::printf("gzip -d                   %7.1f MB/s  (%.2f s)\n", mb / gunzipSeconds,
                gunzipSeconds);
    std::printf("backup / gzip -1          %7.2fx\n", gzipSeconds / backupSeconds);
    std::printf("restore / gzip -d         %7.2fx\n", gunzipSeconds / restoreSeconds);
    std::printf("backup / component alone  %7.2fx\n", aloneSeconds / backupSeconds);

    // Time per file on two list sizes: flat when the list costs nothing per
    // file beyond the component's own work.
    const int sizes[] = {small, 4 * small};
    double perFile[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        const QString root = work + QStringLiteral("/small%1").arg(sizes[k]);
        model.foundList.assign(makeSmallFiles(root, sizes[k]));
        double best = 1e9;
        for (int round = 0; round < repeat; ++round)
            best = std::min(best, timedBackupAll(window, nullptr));
        perFile[k] = best / sizes[k];
        std::printf("backup of %6d small files  %.3f s, %6.1f us per file\n", sizes[k], best,
                    perFile[k] * 1e6);
        QDir(root).removeRecursively();
    }
    std::printf("time per file, %d / %d files  %.2f  (flat is 1)\n", sizes[1], sizes[0],
                perFile[1] / perFile[0]);
    QDir(work).removeRecursively();
    return 0;
}
