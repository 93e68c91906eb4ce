// A FIFO where a file belongs: opening it for reading waits for a writer.
#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pylomir::testing {

inline bool makeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Runs `work`; true when it ends without waiting on the FIFO. Work that
// waits is let go by a writer that opens and closes the FIFO (as often as
// it takes), so a test fails instead of hanging.
inline bool endsWithoutWaitingOn(const QString& fifo, const std::function<void()>& work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready)
        return true;
    const QByteArray name = QFile::encodeName(fifo);
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    return false;
}

} // namespace pylomir::testing
