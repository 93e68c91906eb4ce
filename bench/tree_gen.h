// A deterministic test tree for the scan benchmark: ordinary files with a
// small share of disposable names, spread over a random folder tree.
// Linux only, like the peers the benchmark compares against.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

namespace bench {

struct TreeParams {
    quint64 seed = 0x50796c6f6d6972ULL;
    int folders = 8000;
    int files = 200000;
    int maxDepth = 8;
    int disposablePerMille = 30;

    QString describe() const {
        return QStringLiteral("seed=%1 folders=%2 files=%3 depth=%4 disposable=%5/1000")
            .arg(seed)
            .arg(folders)
            .arg(files)
            .arg(maxDepth)
            .arg(disposablePerMille);
    }
};

struct TreeInfo {
    QString root; // the tree itself, without a trailing separator
    qint64 files = 0;
    qint64 folders = 0; // below the root
    qint64 disposable = 0;
    qint64 entries() const { return files + folders; }
};

// splitmix64: small, fast and the same everywhere.
class Rng {
public:
    explicit Rng(quint64 seed) : s_(seed) {}
    quint64 next() {
        quint64 z = (s_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    quint32 below(quint32 n) { return quint32(next() % n); }

private:
    quint64 s_;
};

namespace detail {

inline QByteArray disposableName(Rng& rng, quint32 n) {
    switch (rng.below(15)) {
    case 0:
        return QByteArray::number(n).rightJustified(6, '0') + ".tmp";
    case 1:
        return "backup" + QByteArray::number(n) + ".bak";
    case 2:
        return "~$x" + QByteArray::number(n) + ".docx";
    case 3:
        return "thumbs.db";
    case 4:
        return "file" + QByteArray::number(n).rightJustified(4, '0') + "._dd";
    case 5:
        return "~wrl" + QByteArray::number(n % 10000).rightJustified(4, '0') + ".tmp";
    case 6:
        return "report" + QByteArray::number(n) + ".old";
    case 7:
        return "FILE" + QByteArray::number(n % 10000).rightJustified(4, '0') + ".CHK";
    case 8:
        return "install" + QByteArray::number(n) + ".log";
    case 9:
        return "setup" + QByteArray::number(n) + ".$$$";
    case 10:
        return "data" + QByteArray::number(n) + ".~tm";
    case 11:
        return "help" + QByteArray::number(n) + ".GID";
    case 12:
        return "mscreate.dir";
    case 13:
        return "core" + QByteArray::number(n) + ".dmp";
    default:
        return "Document" + QByteArray::number(n) + ".asd";
    }
}

inline QByteArray ordinaryName(Rng& rng, quint32 n) {
    static const char* const exts[] = {"txt", "pdf",  "jpg", "png", "cpp",  "h",    "html", "css",
                                       "js",  "json", "xml", "mp3", "docx", "xlsx", "odt",  "zip",
                                       "py",  "md",   "c",   "svg", "csv",  "ini",  "dat"};
    const QByteArray ext = exts[rng.below(sizeof exts / sizeof *exts)];
    const QByteArray num = QByteArray::number(n).rightJustified(6, '0');
    switch (rng.below(6)) {
    case 0:
        return "IMG_" + num + ".jpg";
    case 1:
        return "Notatki " + num + "." + ext;
    case 2:
        return "." + num + "rc"; // hidden, no extension
    default:
        return "file" + num + "." + ext;
    }
}

inline bool createFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace detail

// Makes the tree in base/tree unless base/params.txt says it is already
// there with the same parameters. Returns false with a reason on failure.
inline bool ensureTree(const QString& base, const TreeParams& params, TreeInfo& info,
                       QString& error) {
    info.root = QDir(base).absoluteFilePath(QStringLiteral("tree"));
    const QString marker = QDir(base).absoluteFilePath(QStringLiteral("params.txt"));
    {
        QFile f(marker);
        if (f.open(QIODevice::ReadOnly)) {
            const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
            if (lines.size() >= 4 && lines[0] == params.describe()) {
                info.files = lines[1].toLongLong();
                info.folders = lines[2].toLongLong();
                info.disposable = lines[3].toLongLong();
                return true;
            }
        }
    }
    QFile::remove(marker);
    QDir(info.root).removeRecursively();
    if (!QDir().mkpath(info.root)) {
        error = QStringLiteral("cannot create ") + info.root;
        return false;
    }

    Rng rng(params.seed);
    struct Folder {
        QByteArray path;
        int depth;
        int children;
    };
    std::vector<Folder> folders{{QFile::encodeName(info.root), 0, 0}};
    std::vector<quint32> open{0}; // folders that may still get children
    while (int(folders.size()) < params.folders) {
        const quint32 pick = rng.below(quint32(open.size()));
        Folder& parent = folders[open[pick]];
        const QByteArray path = parent.path + "/d" + QByteArray::number(parent.children++);
        const int depth = parent.depth + 1;
        if (::mkdir(path.constData(), 0755) != 0) {
            error = QStringLiteral("mkdir failed: ") + QString::fromLocal8Bit(path);
            return false;
        }
        if (depth < params.maxDepth)
            open.push_back(quint32(folders.size()));
        folders.push_back({path, depth, 0});
    }
    info.folders = qint64(folders.size()) - 1;

    for (int i = 0; i < params.files; ++i) {
        const Folder& folder = folders[rng.below(quint32(folders.size()))];
        const bool disposable = int(rng.below(1000)) < params.disposablePerMille;
        // Names that may repeat in one folder are drawn again.
        for (int attempt = 0;; ++attempt) {
            const QByteArray name = disposable ? detail::disposableName(rng, quint32(i))
                                               : detail::ordinaryName(rng, quint32(i));
            if (detail::createFile(folder.path + '/' + name))
                break;
            if (errno != EEXIST || attempt > 100) {
                error = QStringLiteral("cannot create a file in ") +
                        QString::fromLocal8Bit(folder.path);
                return false;
            }
        }
        ++info.files;
        if (disposable)
            ++info.disposable;
    }

    QFile f(marker);
    if (!f.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("cannot write ") + marker;
        return false;
    }
    f.write(QStringLiteral("%1\n%2\n%3\n%4\n")
                .arg(params.describe())
                .arg(info.files)
                .arg(info.folders)
                .arg(info.disposable)
                .toUtf8());
    return true;
}

} // namespace bench
