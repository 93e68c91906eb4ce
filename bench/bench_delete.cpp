// Times the quick delete of a found list of small files against
// `find DIR -type f -delete` over a fresh copy of the same files:
//   bench_delete [--files N]   (default 100000)
// Both run in the same process, one after the other, on the same folder
// layout, so the ratio shows what the program adds to the deletions the
// disk has to make anyway: the look-ups, the records, the sums and the list.
#include "bench_support.h"

#include "app/main_window_core.h"
#include "platform/file_system.h"
#include "records/deletion.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

using namespace pylomir;

namespace {

// n files of a few bytes in 100 folders; their paths in creation order.
QStringList makeFiles(const QString& root, int n) {
    QStringList paths;
    paths.reserve(n);
    for (int d = 0; d < 100; ++d)
        QDir(root).mkpath(QStringLiteral("d%1").arg(d));
    for (int i = 0; i < n; ++i) {
        const QString path = QStringLiteral("%1/d%2/plik%3.tmp").arg(root).arg(i % 100).arg(i);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write("pylomir\n") != 8) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            std::exit(2);
        }
        paths << platform::toNative(path);
    }
    return paths;
}

qint64 filesUnder(const QString& root) {
    qint64 n = 0;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++n;
    }
    return n;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int n = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--files") == 0)
            n = std::atoi(argv[i + 1]);
    }

    bench::BenchWindow window;
    QTemporaryDir work;
    const QString ours = work.path() + QStringLiteral("/quick");
    const QString peers = work.path() + QStringLiteral("/find");

    std::printf("making %d files...\n", n);
    const QStringList paths = makeFiles(ours, n);
    window.core->model().foundList.assign(paths);

    auto start = bench::Clock::now();
    window.core->deletion().quickDelete();
    const double quick = bench::secondsSince(start);
    const records::DeletionOutcome& outcome = window.core->deletion().lastOutcome();
    const qint64 left = filesUnder(ours);
    if (outcome.deleted != n || left != 0 || !window.core->model().foundList.isEmpty() ||
        !window.ui.said.isEmpty()) {
        std::fprintf(stderr, "quick delete: deleted %lld of %d, %lld left on disk, %lld listed\n",
                     static_cast<long long>(outcome.deleted), n, static_cast<long long>(left),
                     static_cast<long long>(window.core->model().foundList.count()));
        for (const QString& s : window.ui.said)
            std::fprintf(stderr, "  said: %s\n", qPrintable(s));
        return 2;
    }

    makeFiles(peers, n);
    start = bench::Clock::now();
    const int rc =
        QProcess::execute(QStringLiteral("find"), {peers, QStringLiteral("-type"),
                                                   QStringLiteral("f"), QStringLiteral("-delete")});
    const double find = bench::secondsSince(start);
    if (rc != 0 || filesUnder(peers) != 0) {
        std::fprintf(stderr, "find -delete failed (status %d)\n", rc);
        return 2;
    }

    std::printf("%-34s %8.3f s  %9.0f files/s\n", "quick delete (a)", quick, n / quick);
    std::printf("%-34s %8.3f s  %9.0f files/s\n", "find DIR -type f -delete (b)", find, n / find);
    std::printf("ratio a/b: %.2f\n", quick / find);
    std::printf("records: %lld log lines, %lld path lines, total deleted %s bytes\n",
                static_cast<long long>(window.core->model().records.logBlocks.size()),
                static_cast<long long>(window.core->model().records.deletedPathLines.size()),
                qPrintable(window.core->model().statistics.totalDeletedBytesText));
    return 0;
}
