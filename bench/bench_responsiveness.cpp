// How the main window holds up under a big scan, offscreen:
//   bench_responsiveness [folder] [--repeat N]
// The tree (about a million files and folders) is made in folder/tree
// (default /tmp/pylomir-bench-tree-1m) on the first run and reused.
//
// (a) The longest gap between two passes of the event loop while the start
//     button's scan runs in the real window with the shipped advanced
//     filters, against the same gap of an idle loop; plus the scan's time in
//     the window against the same scan in a bare core (no window, no pump).
// (b) The peak memory of a million typical paths on the window's found
//     list, drawn by its view, against a bare found list of the same paths.
#include "bench_support.h"
#include "tree_gen.h"

#include "app/main_window_core.h"
#include "core/path_list.h"
#include "scan/filter_sets.h"
#include "scan/scan_run.h"
#include "ui/found_list_view.h"
#include "ui/full_list_window.h"
#include "ui/gui_message_pump.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

using namespace pylomir;

namespace {

using bench::Clock;
using bench::secondsSince;

constexpr double kGapTargetMs = 50;
constexpr double kMemoryTargetMb = 200;
constexpr int kPaths = 1000000;

// About a million entries: 960,000 files in 40,000 folders.
bench::TreeParams bigTree() {
    bench::TreeParams p;
    p.folders = 40000;
    p.files = 960000;
    return p;
}

// The calling thread's own processor time, which a busy machine's other
// work does not add to.
double threadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The gaps between passes, in wall time and in the thread's processor time.
struct Gaps {
    std::vector<double> wallMs;
    std::vector<double> cpuMs;
};

// Stamps every pass of the event loop: a 0 ms timer fires once per pass,
// so the time between two firings is how long the loop was not served.
class LoopGaps {
public:
    LoopGaps() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { stamp(); });
    }
    void start() {
        gaps_ = {};
        last_ = Clock::now();
        lastCpu_ = threadCpuMs();
        timer_.start();
    }
    Gaps stop() {
        stamp(); // the stretch up to the end counts too
        timer_.stop();
        return std::move(gaps_);
    }

private:
    void stamp() {
        const auto now = Clock::now();
        const double cpu = threadCpuMs();
        gaps_.wallMs.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
        gaps_.cpuMs.push_back(cpu - lastCpu_);
        last_ = now;
        lastCpu_ = cpu;
    }

    QTimer timer_;
    Clock::time_point last_;
    double lastCpu_ = 0;
    Gaps gaps_;
};

struct GapFigures {
    qsizetype passes = 0;
    double medianMs = 0;
    double p99Ms = 0;
    double longestMs = 0;
    double lastMs = 0;  // up to the end: the scan's close and the full redraw after it
    qsizetype over = 0; // gaps above the target
    // The longest gap in the thread's own processor time: what is left of
    // the longest gap when other processes take no turns.
    double longestCpuMs = 0;
    // The window's redraws at the pump's ticks, which the gaps include.
    double medianRedrawMs = 0;
    double longestRedrawMs = 0;

    explicit GapFigures(Gaps g = {}, std::vector<double> redraws = {}) {
        if (!redraws.empty()) {
            std::sort(redraws.begin(), redraws.end());
            medianRedrawMs = redraws[redraws.size() / 2];
            longestRedrawMs = redraws.back();
        }
        std::vector<double>& gaps = g.wallMs;
        if (gaps.empty())
            return;
        longestCpuMs = *std::max_element(g.cpuMs.cbegin(), g.cpuMs.cend());
        lastMs = gaps.back();
        std::sort(gaps.begin(), gaps.end());
        passes = qsizetype(gaps.size());
        medianMs = gaps[gaps.size() / 2];
        p99Ms = gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
        longestMs = gaps.back();
        over = std::count_if(gaps.cbegin(), gaps.cend(), [](double g) { return g > kGapTargetMs; });
    }
};

// Gives freed memory back and restarts the peak at the present size, so the
// next step's peak is its own (Linux 4.0+).
qint64 resetPeakKb() {
    ::malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return bench::procStatusKb("VmRSS:");
}

// The same typical paths bench_scan's found-list figure uses.
QString typicalPath(int i) {
    return QStringLiteral("/home/user/pylomir-bench/d%1/d%2/d%3/file%4.tmp")
        .arg(i % 7)
        .arg(i % 31)
        .arg(i % 13)
        .arg(i, 6, 10, QLatin1Char('0'));
}

void fillFoundList(core::FoundList& list) {
    for (int i = 0; i < kPaths; ++i) {
        const QString path = typicalPath(i);
        if (!list.contains(path))
            list.append(path);
    }
}

// A window's program folder: the shipped filter files and nothing else.
struct ProgramFolder {
    ProgramFolder() {
        path = work.path() + QLatin1Char('/');
        QDir(path).mkpath(QStringLiteral("Filtry"));
        const QDir shipped(QStringLiteral(PYLOMIR_DATA_DIR "/Filtry"));
        for (const QString& name : shipped.entryList({QStringLiteral("*.dat")}, QDir::Files))
            QFile::copy(shipped.filePath(name), path + QStringLiteral("Filtry/") + name);
    }
    QTemporaryDir work;
    QString path;
};

// Keeps what would be shown, and brings up the windows a command opens.
class WindowUi : public bench::RecordingUi {
public:
    std::function<void(core::WindowId)> onShowWindow;
    void showWindow(core::WindowId id) override {
        if (onShowWindow)
            onShowWindow(id);
    }
};

// A main window's core over a fresh program folder, advanced filters loaded.
struct Window {
    explicit Window(core::MessagePump& pump) {
        settings = platform::openSettingsStore(folder.path + QStringLiteral("bench.ini"));
        services = core::Services{&platform::realFileSystem(),
                                  settings.get(),
                                  &platform::systemClock(),
                                  &locale,
                                  &ui,
                                  &pump,
                                  folder.path};
        core = std::make_unique<app::MainWindowCore>(services);
        core->ignoreLists().loadAtStartup();
        core->filterSets().reloadMode(core::FilterMode::Advanced);
        // Choosing the advanced mode warns once; only what the scan says counts.
        ui.said.clear();
    }
    ProgramFolder folder;
    std::unique_ptr<platform::SettingsStore> settings;
    platform::LocaleFormats locale;
    WindowUi ui;
    core::Services services;
    std::unique_ptr<app::MainWindowCore> core;
};

void settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString base = QStringLiteral("/tmp/pylomir-bench-tree-1m");
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::max(1, std::atoi(argv[++i]));
        else
            base = QString::fromLocal8Bit(argv[i]);
    }

    bench::TreeInfo tree;
    QString error;
    std::printf("Preparing the tree in %s (several minutes the first time) ...\n",
                qPrintable(base));
    std::fflush(stdout);
    if (!bench::ensureTree(base, bigTree(), tree, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString root = QDir::toNativeSeparators(tree.root);
    std::printf("%s: %lld files, %lld folders (%lld entries); best of %d runs\n",
                qPrintable(tree.root), tree.files, tree.folders, tree.entries(), repeat);
    bool sound = true;

    // The peer for the scan: a bare core, nothing to serve between entries.
    // Its first run warms the cache for the window's.
    double bareSeconds = 1e300;
    qsizetype bareFound = 0;
    qsizetype filterCount = 0;
    for (int r = 0; r < repeat + 1; ++r) {
        core::NullMessagePump pump;
        Window w(pump);
        filterCount = w.core->model().filters.filters.size();
        w.core->scanRun().setScanRoot(root);
        const auto start = Clock::now();
        w.core->scanRun().startScan();
        if (r > 0)
            bareSeconds = std::min(bareSeconds, secondsSince(start));
        bareFound = w.core->model().foundList.count();
        if (!w.ui.said.isEmpty()) {
            std::fprintf(stderr, "the bare scan said: %s\n", qPrintable(w.ui.said.join(u'|')));
            sound = false;
        }
    }

    // The idle loop: what a pass costs with nothing to do.
    GapFigures idle;
    {
        LoopGaps gaps;
        gaps.start();
        const auto start = Clock::now();
        while (secondsSince(start) < 1.0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        idle = GapFigures(gaps.stop());
    }

    // (a) The start button's scan in the real window; in the second case
    // the user opens the full list as soon as the scan has begun.
    struct Case {
        QString name;
        bool fullList;
        std::vector<GapFigures> runs;
    };
    std::vector<Case> cases{{QStringLiteral("scan"), false, {}},
                            {QStringLiteral("scan, full list open"), true, {}}};
    double windowSeconds = 1e300;
    qsizetype windowFound = 0;
    for (Case& c : cases) {
        for (int r = 0; r < repeat; ++r) {
            ui::GuiMessagePump pump;
            Window w(pump);
            w.core->scanRun().setScanRoot(root);
            ui::MainWindow window(*w.core, &pump);
            // The window's own tick handler, with a clock around it.
            std::vector<double> redraws;
            pump.setTickHandler([&window, &redraws] {
                const auto start = Clock::now();
                window.syncViews(false);
                redraws.push_back(secondsSince(start) * 1000);
            });
            w.ui.onShowWindow = [&window](core::WindowId id) { window.showWindow(id); };
            window.show();
            settle();
            if (c.fullList)
                QTimer::singleShot(0, window.fullListButton(), &QPushButton::click);
            LoopGaps gaps;
            gaps.start();
            const auto start = Clock::now();
            window.startButton()->click();
            const double t = secondsSince(start);
            c.runs.emplace_back(gaps.stop(), std::move(redraws));
            if (!c.fullList)
                windowSeconds = std::min(windowSeconds, t);
            windowFound = w.core->model().foundList.count();
            if (!w.ui.said.isEmpty()) {
                std::fprintf(stderr, "the window's scan said: %s\n",
                             qPrintable(w.ui.said.join(u'|')));
                sound = false;
            }
            if (c.fullList && !window.fullListWindow()->isVisible()) {
                std::fprintf(stderr, "the full list did not open\n");
                sound = false;
            }
            if (windowFound != bareFound || windowFound == 0) {
                std::fprintf(stderr, "the window found %lld files, the bare core %lld\n",
                             qint64(windowFound), qint64(bareFound));
                sound = false;
            }
        }
    }

    std::printf("\n(a) event-loop gaps, %lld advanced filters, %lld files found\n",
                qint64(filterCount), qint64(windowFound));
    std::printf("%-30s %7s %7s %7s %8s %7s %6s %8s %8s %8s\n", "", "passes", "median", "p99",
                "longest", "last", ">50ms", "longest", "redraw", "longest");
    std::printf("%-30s %7s %7s %7s %8s %7s %6s %8s %8s %8s\n", "", "", "ms", "ms", "ms", "ms", "",
                "cpu ms", "med. ms", "redr. ms");
    const auto row = [](const QString& name, const GapFigures& g) {
        std::printf("%-30s %7lld %7.2f %7.2f %8.2f %7.2f %6lld %8.2f %8.2f %8.2f\n",
                    qPrintable(name), qint64(g.passes), g.medianMs, g.p99Ms, g.longestMs, g.lastMs,
                    qint64(g.over), g.longestCpuMs, g.medianRedrawMs, g.longestRedrawMs);
    };
    row(QStringLiteral("idle loop, 1 s"), idle);
    for (const Case& c : cases) {
        double longest = 0;
        for (size_t r = 0; r < c.runs.size(); ++r) {
            row(QStringLiteral("%1, run %2").arg(c.name).arg(r + 1), c.runs[r]);
            longest = std::max(longest, c.runs[r].longestMs);
        }
        // Responsiveness is judged by the worst run, not the best.
        std::printf("  longest gap (%s): %.1f ms (target: under %.0f ms) %s\n", qPrintable(c.name),
                    longest, kGapTargetMs, longest < kGapTargetMs ? "met" : "MISSED");
    }
    std::printf("scan in the window %.2f s, in a bare core %.2f s: %.2fx\n", windowSeconds,
                bareSeconds, windowSeconds / bareSeconds);

    // (b) A million paths: on a bare found list, then on the window's,
    // drawn by its view.
    double bareMb = 0;
    {
        const qint64 before = resetPeakKb();
        core::FoundList list;
        fillFoundList(list);
        bareMb = double(bench::procStatusKb("VmHWM:") - before) / 1024.0;
    }
    double windowMb = 0;
    double redrawMs = 0;
    qsizetype rows = 0;
    {
        ui::GuiMessagePump pump;
        Window w(pump);
        ui::MainWindow window(*w.core, &pump);
        window.show();
        settle();
        const qint64 before = resetPeakKb();
        fillFoundList(w.core->model().foundList);
        const auto start = Clock::now();
        window.syncViews(true);
        settle();
        redrawMs = secondsSince(start) * 1000;
        windowMb = double(bench::procStatusKb("VmHWM:") - before) / 1024.0;
        rows = window.foundListView()->model()->rowCount();
    }
    if (rows != kPaths) {
        std::fprintf(stderr, "the view shows %lld rows\n", qint64(rows));
        sound = false;
    }
    std::printf("\n(b) peak memory of %d paths on a found list\n", kPaths);
    std::printf("bare found list:             +%.1f MB\n", bareMb);
    std::printf("the window's, with its view: +%.1f MB (target: under %.0f MB) %s; "
                "first redraw %.0f ms\n",
                windowMb, kMemoryTargetMb, windowMb < kMemoryTargetMb ? "met" : "MISSED", redrawMs);
    return sound ? 0 : 2;
}
