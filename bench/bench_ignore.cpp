// Times the two bulk edits of the ignored files at growing sizes, to show
// that the time per entry stays flat:
//   bench_ignore [--repeat N]
// (a) moving every checked found entry to the ignored files, (b) taking as
// many entries off the ignored files. Each is set against two linear peers
// measured in the same run on the same paths: writing the list file, and a
// hash set built and the paths sorted.
#include "bench_support.h"

#include "app/main_window_core.h"
#include "core/path_list.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"
#include "scan/scan_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace pylomir;

namespace {

using bench::Clock;
using bench::RecordingUi;
using bench::secondsSince;

using bench::BenchWindow;

// Typical found paths, all different, in no sorted order.
QStringList makePaths(qsizetype n) {
    QStringList paths;
    paths.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype k = (i * 7919) % n; // a permutation: 7919 is prime
        paths << QStringLiteral("/home/user/pylomir-bench/d%1/d%2/plik%3.tmp")
                     .arg(k % 7)
                     .arg(k % 31)
                     .arg(k, 6, 10, QLatin1Char('0'));
    }
    return paths;
}

template <typename F> double best(int repeat, F&& run) {
    double bestTime = 1e300;
    for (int i = 0; i < repeat; ++i)
        bestTime = std::min(bestTime, run());
    return bestTime;
}

struct Row {
    const char* name;
    std::vector<double> seconds; // one per size
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int repeat = 5;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--repeat" && i + 1 < argc)
            repeat = std::max(1, QByteArray(argv[++i]).toInt());
    }
    const std::vector<qsizetype> sizes{25000, 50000, 100000};
    Row move{"(a) move checked found", {}};
    Row remove{"(b) remove ignored", {}};
    Row write{"peer: write list file", {}};
    Row setSort{"peer: QSet + sort", {}};
    bool correct = true;
    QStringList said;

    for (const qsizetype n : sizes) {
        const QStringList paths = makePaths(n);

        move.seconds.push_back(best(repeat, [&] {
            BenchWindow w;
            core::FoundList& found = w.core->model().foundList;
            found.assign(paths);
            found.setAllChecked(true);
            const auto start = Clock::now();
            w.core->scanRun().moveCheckedToIgnoredFiles();
            const double t = secondsSince(start);
            correct &= found.isEmpty() && w.core->model().ignore.ignoredFiles.count() == n;
            said << w.ui.said;
            return t;
        }));

        remove.seconds.push_back(best(repeat, [&] {
            BenchWindow w;
            w.core->model().ignore.ignoredFiles.assign(paths);
            const auto start = Clock::now();
            const qsizetype removed = w.core->ignoreLists().removeIgnoredFiles(paths);
            const double t = secondsSince(start);
            correct &= removed == n && w.core->model().ignore.ignoredFiles.isEmpty();
            said << w.ui.said;
            return t;
        }));

        write.seconds.push_back(best(repeat, [&] {
            QTemporaryDir work;
            const auto start = Clock::now();
            correct &= platform::writeListFile(platform::realFileSystem(),
                                               work.path() + QStringLiteral("/list.dat"), paths);
            return secondsSince(start);
        }));

        setSort.seconds.push_back(best(repeat, [&] {
            const auto start = Clock::now();
            QSet<QString> set;
            set.reserve(paths.size());
            for (const QString& p : paths)
                set.insert(p);
            QStringList sorted = paths;
            std::sort(sorted.begin(), sorted.end());
            correct &= set.size() == n && sorted.size() == n;
            return secondsSince(start);
        }));
    }

    std::printf("Ignored files, bulk edits; best of %d runs\n\n%-24s", repeat, "");
    for (const qsizetype n : sizes)
        std::printf(" %10lld", qint64(n));
    std::printf("   %s\n", "per entry, 100k / 25k");
    const auto perEntry = [&](const Row& r, size_t i) {
        return r.seconds[i] / double(sizes[i]) * 1e6;
    };
    bool flat = true;
    for (const Row* r : {&move, &remove, &write, &setSort}) {
        std::printf("%-24s", r->name);
        for (size_t i = 0; i < sizes.size(); ++i)
            std::printf(" %7.3f us", perEntry(*r, i));
        const double growth = perEntry(*r, sizes.size() - 1) / perEntry(*r, 0);
        std::printf("   %.2f\n", growth);
    }
    // Caches make even linear work dearer per entry on larger lists, so
    // the yardstick is the growth against the hash-set peer, whose memory
    // behaves alike: quadratic work would grow 4 times against it.
    for (const Row* r : {&move, &remove}) {
        const size_t last = sizes.size() - 1;
        flat &=
            (r->seconds[last] / setSort.seconds[last]) / (r->seconds[0] / setSort.seconds[0]) < 2.0;
    }
    std::printf("\n%-24s", "ratio to the peer");
    for (const qsizetype n : sizes)
        std::printf(" %10lld", qint64(n));
    std::printf("\n");
    for (const Row* r : {&move, &remove}) {
        for (const Row* peer : {&write, &setSort}) {
            std::printf("%.3s / %-18s", r->name, peer->name + 6); // "(a) / write list file"
            for (size_t i = 0; i < sizes.size(); ++i)
                std::printf(" %10.2f", r->seconds[i] / peer->seconds[i]);
            std::printf("\n");
        }
    }
    std::printf("\n(a) and (b) at %lld entries: %.3f s and %.3f s. Quadratic work would make "
                "the time per entry grow 4 times from 25k to 100k.\n",
                qint64(sizes.back()), move.seconds.back(), remove.seconds.back());
    said.removeDuplicates();
    for (const QString& s : said)
        std::printf("said: %s\n", qPrintable(s));
    if (!correct || !said.isEmpty()) {
        std::printf("WARNING: a command did not do what was asked (see above)\n");
        return 2;
    }
    if (!flat) {
        std::printf("WARNING: the time per entry grows with the list faster than the peer's\n");
        return 3;
    }
    return 0;
}
