#include "platform/program_dir.h"

#include "platform/file_system.h"

#include <QCoreApplication>

namespace pylomir::platform {

QString programDir() {
    QString dir = qEnvironmentVariable("PYLOMIR_HOME");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    dir = toNative(dir);
    if (!dir.endsWith(separator()))
        dir += separator();
    return dir;
}

QString filtersDir(const QString& programDir) {
    return programDir + QStringLiteral("Filtry") + separator();
}

} // namespace pylomir::platform
