// The archive benchmarks' corpus: ~200 MB of mixed files (this machine's
// shared libraries and header files, and generated random data), built on
// first use and the same on the same machine every time; and the gzip peers
// timed over the same bytes.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

namespace bench {

inline constexpr qint64 kMB = 1000 * 1000;

inline QString defaultCorpusFolder() {
    return QStringLiteral("/tmp/pylomir-archive-corpus");
}

// Copies regular files found under `from` (sorted by path) matching `accept`
// into `to`, until `budget` bytes are copied.
inline qint64 copyFiles(const QString& from, const QString& to, qint64 budget,
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

inline void buildCorpus(const QString& root) {
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

// The corpus's files, sorted; built first unless it is complete.
inline QStringList corpusFiles(const QString& root) {
    if (!QFileInfo::exists(root + "/.complete"))
        buildCorpus(root);
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.removeAll(root + "/.complete");
    std::sort(files.begin(), files.end());
    return files;
}

// The files' bytes as one stream for gzip, written to `joined`; reading them
// also warms the cache. Returns the byte count.
inline qint64 joinFiles(const QStringList& files, const QString& joined) {
    qint64 total = 0;
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
    return total;
}

// Writes out what the steps before left dirty, so that no contender pays for
// the disk writing another one's output.
inline void settle() {
    QProcess::execute(QStringLiteral("sync"), {});
}

// Seconds the program took with its standard output into `out`; -1 when it
// failed.
inline double timedProcess(const QString& program, const QStringList& args, const QString& out) {
    QFile::remove(out); // a new file, as the archive is
    settle();
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

} // namespace bench
