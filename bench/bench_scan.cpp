// Times a scan of the benchmark tree against the usual command-line peers.
//   bench_scan [folder] [--repeat N]
// The tree is made in folder/tree (default /tmp/pylomir-bench-tree) on the
// first run and reused afterwards.
#include "bench_masks.h"
#include "bench_support.h"
#include "tree_gen.h"

#include "app/main_window_core.h"
#include "core/path_list.h"
#include "engine/file_search.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "scan/scan_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

using namespace pylomir;

namespace {

using bench::Clock;
using bench::RecordingUi;
using bench::secondsSince;

struct Result {
    QString name;
    std::optional<double> seconds; // nothing when skipped
    qint64 count = 0;
    QString note;
};

// One peer run: its output lines are counted, not stored.
std::optional<std::pair<double, qint64>> runCommand(const QString& command) {
    const auto start = Clock::now();
    FILE* p = ::popen(QFile::encodeName(command + QStringLiteral(" 2>/dev/null")).constData(), "r");
    if (!p)
        return std::nullopt;
    qint64 lines = 0;
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) {
        for (size_t i = 0; i < n; ++i)
            lines += buf[i] == '\n';
    }
    const int status = ::pclose(p);
    if (status != 0)
        return std::nullopt;
    return std::pair{secondsSince(start), lines};
}

QString shellQuote(const QString& s) {
    QString q = s;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

// The mask as an anchored regular expression (Rust regex syntax, as fd
// reads it). The bench masks use only simple sets such as [0-9].
QString maskToRegex(const QString& mask) {
    QString r = QStringLiteral("^");
    bool rightAfterStar = false;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'*') {
            if (!r.endsWith(QStringLiteral(".*")))
                r += QStringLiteral(".*");
            rightAfterStar = true;
            continue;
        }
        if (c == u'?') {
            if (!rightAfterStar)
                r += QLatin1Char('.');
        } else if (c == u'[') {
            const qsizetype close = mask.indexOf(u']', i + 2);
            QString body = mask.mid(i + 1, close - i - 1);
            r += QLatin1Char('[');
            if (body.startsWith(u'!')) {
                r += QLatin1Char('^');
                body.remove(0, 1);
            }
            for (const QChar m : body) {
                if (QStringLiteral("\\[]^&~").contains(m))
                    r += QLatin1Char('\\');
                r += m;
            }
            r += QLatin1Char(']');
            i = close;
        } else {
            if (QStringLiteral("\\.+*?()|[]{}^$#").contains(c))
                r += QLatin1Char('\\');
            r += c;
        }
        rightAfterStar = false;
    }
    return r + QLatin1Char('$');
}

// The mask as a find -iname pattern: the same, except that a '?' right
// after a '*' means nothing to us.
QString maskToGlob(const QString& mask) {
    QString g;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'?' && i > 0 && mask[i - 1] == u'*')
            continue;
        g += mask[i];
    }
    return g;
}

template <typename F> double best(int repeat, F&& run) {
    double bestTime = 1e300;
    for (int i = 0; i < repeat; ++i) {
        const double t = run();
        if (t < bestTime)
            bestTime = t;
    }
    return bestTime;
}

// Peak memory of a found list of a million typical paths.
void foundListMemory() {
    {
        // Resets the peak so it measures this step alone (Linux 4.0+).
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
    }
    const qint64 rssBefore = bench::procStatusKb("VmRSS:");
    const auto start = Clock::now();
    qint64 peak = 0;
    qint64 rssHeld = 0;
    {
        core::FoundList list;
        const int n = 1000000;
        for (int i = 0; i < n; ++i) {
            const QString path = QStringLiteral("/home/user/pylomir-bench/d%1/d%2/d%3/file%4.tmp")
                                     .arg(i % 7)
                                     .arg(i % 31)
                                     .arg(i % 13)
                                     .arg(i, 6, 10, QLatin1Char('0'));
            if (!list.contains(path))
                list.append(path);
        }
        peak = bench::procStatusKb("VmHWM:");
        rssHeld = bench::procStatusKb("VmRSS:");
        std::printf("\nFoundList with %lld paths: built in %.2f s, peak +%.1f MB, held +%.1f MB "
                    "(target: under 200 MB)\n",
                    qint64(list.count()), secondsSince(start), (peak - rssBefore) / 1024.0,
                    (rssHeld - rssBefore) / 1024.0);
    }
}

// The command line's scan against fd, both as whole processes, with the
// shipped advanced set: the scan over a fresh program folder holding a copy
// of the shipped filters, fd with that set as one regular expression.
void endToEnd(const bench::TreeInfo& tree, int repeat) {
#if defined(PYLOMIR_CLI_PATH) && defined(PYLOMIR_FILTERS_DIR)
    std::printf("\nEnd to end, whole processes, the shipped advanced set:\n");
    QTemporaryDir home;
    const QString filters = home.path() + QStringLiteral("/Filtry");
    QDir().mkpath(filters);
    const QDir shipped(QStringLiteral(PYLOMIR_FILTERS_DIR));
    for (const QString& name : shipped.entryList(QDir::Files))
        QFile::copy(shipped.filePath(name), filters + QLatin1Char('/') + name);
    QFile setFile(shipped.filePath(QStringLiteral("filtr_a3.dat")));
    QStringList advanced;
    if (setFile.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : setFile.readAll().split('\n')) {
            const QString mask = QString::fromLocal8Bit(line).trimmed();
            if (!mask.isEmpty())
                advanced << mask;
        }
    }
    // A fresh program folder and settings for every run, so nothing one run
    // stores (the ignored files above all) changes the next. Status 3 means
    // files were found.
    const QString cli =
        QStringLiteral("rm -rf %1/cfg %1/home && mkdir -p %1/home && cp -r %2 %1/home/ && "
                       "{ env PYLOMIR_HOME=%1/home XDG_CONFIG_HOME=%1/cfg %3 scan %4 --mode "
                       "zaawansowany; s=$?; [ $s -eq 0 ] || [ $s -eq 3 ]; }")
            .arg(shellQuote(home.path()), shellQuote(filters),
                 shellQuote(QStringLiteral(PYLOMIR_CLI_PATH)), shellQuote(tree.root));
    qint64 cliLines = 0;
    bool cliOk = true;
    const double cliTime = best(repeat, [&] {
        const auto r = runCommand(cli);
        cliOk = cliOk && r;
        cliLines = r ? r->second : 0;
        return r ? r->first : 0.0;
    });
    // The same preparation alone, to take its cost out of the scan's time.
    const QString prepare =
        QStringLiteral("rm -rf %1/cfg %1/home && mkdir -p %1/home && cp -r %2 %1/home/")
            .arg(shellQuote(home.path()), shellQuote(filters));
    const double prepareTime = best(repeat, [&] {
        const auto r = runCommand(prepare);
        return r ? r->first : 0.0;
    });
    if (!cliOk) {
        std::printf("pylomir-cli scan failed\n");
        return;
    }
    const double scanTime = cliTime - prepareTime;
    std::printf("%-32s %9.3f s %9lld lines\n", "pylomir-cli scan --mode zaawansowany", scanTime,
                cliLines);
    const QString fd = QStandardPaths::findExecutable(QStringLiteral("fdfind"));
    if (fd.isEmpty()) {
        std::printf("fdfind: skipped, not installed\n");
        return;
    }
    QStringList parts;
    for (const QString& m : advanced)
        parts << maskToRegex(m);
    const QString fdCmd = QStringLiteral("%1 -i --hidden --no-ignore -t f -- %2 %3")
                              .arg(fd, shellQuote(parts.join(u'|')), shellQuote(tree.root));
    qint64 fdLines = 0;
    bool fdOk = true;
    const double fdTime = best(repeat, [&] {
        const auto r = runCommand(fdCmd);
        fdOk = fdOk && r;
        fdLines = r ? r->second : 0;
        return r ? r->first : 0.0;
    });
    if (!fdOk) {
        std::printf("fdfind failed\n");
        return;
    }
    std::printf("%-32s %9.3f s %9lld lines\n", "fdfind, one regex", fdTime, fdLines);
    std::printf("pylomir-cli scan / fdfind: %.2f (target at most 0.90; %lld masks)\n",
                scanTime / fdTime, qint64(advanced.size()));
#else
    Q_UNUSED(tree);
    Q_UNUSED(repeat);
    std::printf("\nEnd to end: skipped, built without the command line\n");
#endif
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString base = QStringLiteral("/tmp/pylomir-bench-tree");
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--repeat") && i + 1 < argc)
            repeat = qMax(1, QString::fromLocal8Bit(argv[++i]).toInt());
        else
            base = arg;
    }

    bench::TreeInfo tree;
    QString error;
    std::printf("Preparing the tree in %s ...\n", qPrintable(base));
    std::fflush(stdout);
    if (!bench::ensureTree(base, bench::TreeParams{}, tree, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QStringList masks = bench::benchMasks();
    std::printf("%s: %lld files, %lld folders, %lld disposable; %lld masks; best of %d runs\n",
                qPrintable(tree.root), tree.files, tree.folders, tree.disposable,
                qint64(masks.size()), repeat);

    foundListMemory();

    const QString findCmd = QStringLiteral("find %1 -type f").arg(shellQuote(tree.root));
    runCommand(findCmd); // warms the cache
    std::vector<Result> results;
    bool countsAgree = true;

    // (a) The scan run itself, as the start button runs it.
    {
        QStringList said;
        qint64 found = 0;
        const double t = best(repeat, [&] {
            bench::BenchWindow w;
            app::MainWindowCore& windowCore = *w.core;
            windowCore.model().filters.filters = masks;
            windowCore.scanRun().setScanRoot(tree.root);
            const auto start = Clock::now();
            windowCore.scanRun().startScan();
            const double elapsed = secondsSince(start);
            found = windowCore.model().foundList.count();
            said = w.ui.said;
            return elapsed;
        });
        results.push_back({QStringLiteral("(a) scan run"), t, found,
                           said.isEmpty() ? QString() : said.join(u'|')});
        countsAgree &= found == tree.disposable;
    }

    // The same scan run, every folder listed only when the walk reaches it.
    {
        qint64 found = 0;
        const double t = best(repeat, [&] {
            bench::BenchWindow w;
            app::MainWindowCore& windowCore = *w.core;
            windowCore.model().filters.filters = masks;
            windowCore.scanRun().setScanRoot(tree.root);
            engine::SearchEnvironment env = windowCore.scanRun().fileSearch().environment();
            env.listAhead = false;
            windowCore.scanRun().fileSearch().setEnvironment(env);
            const auto start = Clock::now();
            windowCore.scanRun().startScan();
            const double elapsed = secondsSince(start);
            found = windowCore.model().foundList.count();
            return elapsed;
        });
        results.push_back({QStringLiteral("    not listing ahead"), t, found, {}});
        countsAgree &= found == tree.disposable;
    }

    // The engine alone, counting what it reports.
    {
        qint64 found = 0;
        const double t = best(repeat, [&] {
            engine::FileSearch search;
            core::NullMessagePump pump;
            search.setEnvironment({nullptr, nullptr, &pump});
            search.setRootFolder(tree.root);
            search.setWantedMasks(masks);
            search.options =
                engine::kAllSearchOptions & ~engine::SearchOptions(engine::SearchOption::Folders);
            found = 0;
            search.onEntryFound = [&](engine::FileSearch*, engine::FoundEntry&) { ++found; };
            const auto start = Clock::now();
            search.search();
            return secondsSince(start);
        });
        results.push_back({QStringLiteral("    engine alone"), t, found, {}});
        countsAgree &= found == tree.disposable;
    }

    // (b) The traversal floor.
    {
        qint64 lines = 0;
        bool ok = true;
        const double t = best(repeat, [&] {
            const auto r = runCommand(findCmd);
            ok = ok && r;
            lines = r ? r->second : 0;
            return r ? r->first : 0.0;
        });
        results.push_back({QStringLiteral("(b) find -type f"), ok ? std::optional(t) : std::nullopt,
                           lines, ok ? QString() : QStringLiteral("failed")});
    }

    // (c) fd with one case-insensitive alternation.
    if (const QString fd = QStandardPaths::findExecutable(QStringLiteral("fdfind"));
        !fd.isEmpty()) {
        QStringList parts;
        for (const QString& m : masks)
            parts << maskToRegex(m);
        const QString cmd = QStringLiteral("%1 -i --hidden --no-ignore -t f -- %2 %3")
                                .arg(fd, shellQuote(parts.join(u'|')), shellQuote(tree.root));
        qint64 lines = 0;
        bool ok = true;
        const double t = best(repeat, [&] {
            const auto r = runCommand(cmd);
            ok = ok && r;
            lines = r ? r->second : 0;
            return r ? r->first : 0.0;
        });
        results.push_back({QStringLiteral("(c) fdfind regex"), ok ? std::optional(t) : std::nullopt,
                           lines, ok ? QString() : QStringLiteral("failed")});
        countsAgree &= !ok || lines == tree.disposable;
    } else {
        results.push_back({QStringLiteral("(c) fdfind regex"), std::nullopt, 0,
                           QStringLiteral("skipped: fdfind not installed")});
    }

    // (d) GNU find with an -iname alternation; slow, so timed once.
    {
        QStringList parts;
        for (const QString& m : masks)
            parts << QStringLiteral("-iname ") + shellQuote(maskToGlob(m));
        const QString cmd = QStringLiteral("find %1 -type f \\( %2 \\)")
                                .arg(shellQuote(tree.root), parts.join(QStringLiteral(" -o ")));
        const auto r = runCommand(cmd);
        results.push_back({QStringLiteral("(d) find -iname"),
                           r ? std::optional(r->first) : std::nullopt, r ? r->second : 0,
                           r ? QString() : QStringLiteral("failed")});
        countsAgree &= !r || r->second == tree.disposable;
    }

    const double base_a = *results.front().seconds;
    std::printf("\n%-22s %9s %14s %12s %9s\n", "", "seconds", "entries/s", "time / (a)", "matches");
    for (const Result& r : results) {
        if (!r.seconds) {
            std::printf("%-22s %s\n", qPrintable(r.name), qPrintable(r.note));
            continue;
        }
        std::printf("%-22s %9.3f %14.0f %12.2f %9lld %s\n", qPrintable(r.name), *r.seconds,
                    double(tree.entries()) / *r.seconds, *r.seconds / base_a, r.count,
                    qPrintable(r.note));
    }
    std::printf("(entries = %lld files and folders; \"matches\" for (b) counts every file)\n",
                tree.entries());
    const auto timeOf = [&](const char* prefix) -> std::optional<double> {
        for (const Result& r : results) {
            if (r.name.startsWith(QLatin1String(prefix)))
                return r.seconds;
        }
        return std::nullopt;
    };
    if (const auto fd = timeOf("(c)"))
        std::printf("\nscan run / fdfind: %.2f (target at most 0.80)\n", base_a / *fd);
    if (const auto find = timeOf("(b)"))
        std::printf("scan run / find -type f: %.2f (target at most 1.00)\n", base_a / *find);
    endToEnd(tree, repeat);
    if (!countsAgree) {
        std::printf("WARNING: the match counts differ from the %lld disposable files made\n",
                    tree.disposable);
        return 2;
    }
    return 0;
}
