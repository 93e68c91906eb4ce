// A temporary folder that is removed with everything in it, whatever bytes
// the names hold: Qt's own removal passes over names that are not UTF-8.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <ftw.h>
#include <stdio.h>

namespace pylomir::testing {

class TempDir : public QTemporaryDir {
public:
    ~TempDir() {
        if (!isValid())
            return;
        const auto removeEntry = [](const char* path, const struct stat*, int, FTW*) {
            ::remove(path);
            return 0;
        };
        ::nftw(QFile::encodeName(path()).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
};

} // namespace pylomir::testing
