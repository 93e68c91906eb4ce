#include "platform/program_dir.h"

#include "platform/file_system.h"

#include <QCoreApplication>
#include <QDir>

#ifndef PYLOMIR_SHIPPED_DATA
// Where an installed program's shared files live, from its bin folder.
#define PYLOMIR_SHIPPED_DATA "../share/pylomir"
#endif

namespace pylomir::platform {

namespace {

QString withSeparator(QString dir) {
    dir = toNative(dir);
    if (!dir.endsWith(separator()))
        dir += separator();
    return dir;
}

bool isFolder(FileSystem& fs, const QString& path) {
    const auto st = fs.status(path);
    return st && st->isFolder;
}

bool copyFile(FileSystem& fs, const QString& from, const QString& to) {
    const std::unique_ptr<QIODevice> in = fs.openForReading(from);
    if (!in)
        return false;
    // Written under a temporary name, so a full disk leaves no cut-off file
    // that would pass for the user's own from then on.
    const std::unique_ptr<OutputFile> out = fs.openForWriting(to, WriteMode::Replace);
    if (!out)
        return false;
    char buffer[16384];
    for (;;) {
        const qint64 n = in->read(buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        if (out->device().write(buffer, n) != n)
            return false;
    }
    return out->finish();
}

} // namespace

ProgramDirChoice chooseProgramDir(const ProgramDirPlaces& places, FileSystem& fs) {
    if (!places.homeOverride.isEmpty())
        return {withSeparator(places.homeOverride), {}};
    const QString exeDir = withSeparator(places.exeDir);
    // Only a Filtry folder makes the program portable: a bin folder that
    // happens to be writable (root's /usr/local/bin) does not.
    if (isFolder(fs, filtersDir(exeDir)))
        return {exeDir, {}};
    // The XDG rule: a relative data home is ignored.
    QString dataHome = places.dataHome;
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = withSeparator(places.userHome) + toNative(QStringLiteral(".local/share"));
    const QString shipped =
        QDir::cleanPath(places.exeDir + QStringLiteral("/" PYLOMIR_SHIPPED_DATA "/Filtry"));
    return {withSeparator(withSeparator(dataHome) + QStringLiteral("pylomir")),
            withSeparator(shipped)};
}

void seedFilters(const QString& shippedFilters, const QString& programDir, FileSystem& fs) {
    // Without shipped files (a lone executable) nothing is made: the lists'
    // own messages tell what is missing.
    const std::unique_ptr<DirListing> listing = fs.list(shippedFilters);
    if (!listing)
        return;
    const QString target = filtersDir(programDir);
    if (!fs.createFolder(target))
        return;
    while (listing->next()) {
        const QString name = listing->name().toString();
        if (listing->isDirectory() || name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        // Anything at the name, a dangling link included, is the user's.
        if (fs.findFirst(target + name))
            continue;
        copyFile(fs, shippedFilters + name, target + name);
    }
}

ProgramDirPlaces processPlaces() {
    ProgramDirPlaces p;
    p.homeOverride = qEnvironmentVariable("PYLOMIR_HOME");
    p.exeDir = QCoreApplication::applicationDirPath();
#ifdef _WIN32
    p.dataHome = qEnvironmentVariable("LOCALAPPDATA");
#else
    p.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
#endif
    p.userHome = QDir::homePath();
    return p;
}

QString programDir() {
    FileSystem& fs = realFileSystem();
    const ProgramDirChoice choice = chooseProgramDir(processPlaces(), fs);
    if (!choice.shippedFilters.isEmpty())
        seedFilters(choice.shippedFilters, choice.dir, fs);
    return choice.dir;
}

QString filtersDir(const QString& programDir) {
    return programDir + QStringLiteral("Filtry") + separator();
}

} // namespace pylomir::platform
