#pragma once

#include <QString>

namespace pylomir::platform {

class FileSystem;

// What decides where the program folder is.
struct ProgramDirPlaces {
    QString homeOverride; // PYLOMIR_HOME
    QString exeDir;       // the executable's folder
    QString dataHome;     // XDG_DATA_HOME (LOCALAPPDATA on Windows)
    QString userHome;     // the user's home folder
};

struct ProgramDirChoice {
    QString dir; // the program folder, ending with the separator
    // The installed filter files that seed the program folder's Filtry;
    // empty when the program folder is used as it is.
    QString shippedFilters;
};

// PYLOMIR_HOME when set; otherwise the executable's folder when it holds a
// Filtry folder (a build tree or a portable copy); otherwise the program is
// installed and its folder is pylomir in the user's data folder, seeded
// from the filter files shipped under the prefix's share/pylomir/Filtry.
ProgramDirChoice chooseProgramDir(const ProgramDirPlaces& places, FileSystem& fs);
// Creates the program folder's Filtry and copies into it every shipped file
// it lacks; a file already there is never written. Nothing is made when
// the shipped folder cannot be listed. A failure (read-only home, full
// disk) leaves the file out, and the lists' own messages tell the user later.
void seedFilters(const QString& shippedFilters, const QString& programDir, FileSystem& fs);
// The places of this process: its environment and executable.
ProgramDirPlaces processPlaces();

// The program's folder with a trailing separator, chosen from this process's
// places and seeded when installed.
QString programDir();
// The folder of the filter and ignore lists in a program folder, with a
// trailing separator.
QString filtersDir(const QString& programDir);

} // namespace pylomir::platform
