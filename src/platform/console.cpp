#include "platform/console.h"

#include "platform/file_names.h"

#include <QCoreApplication>

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
#else
#include <unistd.h>
#endif

namespace pylomir::platform {

QStringList commandLineArguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    return QCoreApplication::arguments();
#else
    // QCoreApplication::arguments() would replace bytes that are not UTF-8.
    QStringList args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i)
        args.append(decodeFileName(QByteArrayView(argv[i])));
    return args;
#endif
}

bool stderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

} // namespace pylomir::platform
