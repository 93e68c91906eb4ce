#pragma once

#include <QString>

namespace pylomir::platform {

// The program's folder with a trailing separator: PYLOMIR_HOME when set,
// otherwise the folder of the executable.
QString programDir();
// The folder of the filter and ignore lists in a program folder, with a
// trailing separator.
QString filtersDir(const QString& programDir);

} // namespace pylomir::platform
