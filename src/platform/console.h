// The process's standard streams as the command line sees them.
#pragma once

#include <QStringList>

namespace pylomir::platform {

// The program's arguments, the program name first. POSIX arguments are bytes
// and decode as file names do, so a path that is not UTF-8 stays the same
// path; Windows arguments are taken from the system as UTF-16. Needs the
// application object.
QStringList commandLineArguments(int argc, char** argv);

// Whether standard error is an interactive terminal (progress lines go there
// only then, so logs and pipes stay clean).
bool stderrIsTerminal();

} // namespace pylomir::platform
