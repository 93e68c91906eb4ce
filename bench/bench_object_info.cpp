// Times stepping through the found list in the object information window
// (each step assesses the next file, looks its kind up and fills the
// window's values) against the bare look-up of the same files that any
// step has to make:
//   bench_object_info [--files N] [--repeat R]   (default 20000, 3)
// Both run in the same process over the same files; the ratio shows what
// the assessment, the known-types table and the shown texts add.
#include "bench_support.h"

#include "assess/object_info.h"
#include "platform/file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace pylomir;

namespace {

// Names that hit the name section, the extension section and neither.
const char* const kNames[] = {"scandisk.log", "avapp.log", "setup.tmp",  "notes.bak",
                              "driver.dll",   "report",    "~zapis.doc", "thumbs.db"};

QStringList makeFiles(const QString& root, int n) {
    QStringList paths;
    paths.reserve(n);
    for (int d = 0; d < 100; ++d)
        QDir(root).mkpath(QStringLiteral("d%1").arg(d));
    for (int i = 0; i < n; ++i) {
        const QString path = QStringLiteral("%1/d%2/%3-%4")
                                 .arg(root)
                                 .arg(i % 100)
                                 .arg(i)
                                 .arg(QLatin1String(kNames[i % std::size(kNames)]));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write("pylomir\n") != 8) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
            std::exit(2);
        }
        paths << platform::toNative(path);
    }
    return paths;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int n = 20000;
    int repeat = 3;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--files") == 0)
            n = std::max(2, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--repeat") == 0)
            repeat = std::max(1, std::atoi(argv[++i]));
    }

    bench::BenchWindow window;
    const QStringList paths = makeFiles(window.work.path() + QStringLiteral("/tree"), n);
    core::MainWindowModel& model = window.core->model();
    model.foundList.assign(paths);
    assess::ObjectInfo& info = window.core->objectInfo();

    double stepping = 1e9;
    double lookUps = 1e9;
    for (int r = 0; r < repeat; ++r) {
        model.foundList.setCurrent(0);
        window.core->assessCurrentFound();
        info.openFromFound();
        auto start = bench::Clock::now();
        for (int i = 1; i < n; ++i) {
            info.showNextFound();
            info.reopenObjectInfo();
        }
        stepping = std::min(stepping, bench::secondsSince(start));

        // The peer: one find-first per file, as the assessment makes.
        platform::FileSystem& fs = platform::realFileSystem();
        qint64 sizes = 0;
        start = bench::Clock::now();
        for (const QString& path : paths) {
            if (const auto found = fs.findFirst(path))
                sizes += found->size;
        }
        lookUps = std::min(lookUps, bench::secondsSince(start));
        if (sizes != qint64(n) * 8) {
            std::fprintf(stderr, "the peer found %lld bytes\n", static_cast<long long>(sizes));
            return 2;
        }
    }

    // The walk must have ended on the last file with its values shown.
    const QString last = QStringLiteral("Plik %1  /  %1").arg(n);
    if (model.objectInfo.positionText != last || !window.ui.said.isEmpty() ||
        model.alert.assessedPath != paths.last()) {
        std::fprintf(stderr, "stepping did not reach the last file (%s)\n",
                     qPrintable(model.objectInfo.positionText));
        return 2;
    }

    std::printf("files: %d, best of %d\n", n, repeat);
    std::printf("(a) stepping with the arrows:   %.3f s  (%.1f us per file)\n", stepping,
                stepping * 1e6 / (n - 1));
    std::printf("(b) find-first of every file:   %.3f s  (%.1f us per file)\n", lookUps,
                lookUps * 1e6 / n);
    std::printf("ratio a/b: %.2f\n", stepping / lookUps);
    return 0;
}
