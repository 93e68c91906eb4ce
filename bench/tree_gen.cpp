// Generates (or reuses) the benchmark tree: tree_gen [folder]
#include "tree_gen.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString base =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/pylomir-bench-tree");
    bench::TreeInfo info;
    QString error;
    if (!bench::ensureTree(base, bench::TreeParams{}, info, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s: %lld files, %lld folders, %lld disposable\n", qPrintable(info.root),
                info.files, info.folders, info.disposable);
    return 0;
}
