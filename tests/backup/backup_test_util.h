// Helpers for the archive tests: real files in temporary folders.
#pragma once

#include "backup/archive_format.h"
#include "backup/backup_file.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace pylomir::backup::testing {

inline QByteArray randomBytes(qsizetype n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char(gen() & 0xFF);
    return out;
}

// Text-like data that deflate shrinks a lot.
inline QByteArray compressibleBytes(qsizetype n, unsigned seed) {
    static const char* const words[] = {"plik ", "kopia ", "zapasowa ", "folder ", "dane\r\n"};
    std::mt19937 gen(seed);
    QByteArray out;
    while (out.size() < n)
        out += words[gen() % 5];
    out.truncate(n);
    return out;
}

inline QByteArray i32(qint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

inline qint32 readI32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void writeFile(const QString& path, const QByteArray& data,
                      const QDateTime& mtime = QDateTime()) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
    if (mtime.isValid()) {
        ASSERT_TRUE(f.flush()); // a later flush would move the time again
        ASSERT_TRUE(f.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
}

inline qint32 dosTimeOf(const QString& path) {
    return toDosDateTime(QFileInfo(path).lastModified());
}

// Collects what the component reports.
struct Reports {
    std::vector<std::pair<qint32, QString>> errors;
    void attach(TBackupFile& bf) {
        bf.OnError = [this](TBackupFile*, qint32 code, const QString& message) {
            errors.emplace_back(code, message);
        };
    }
};

// A component set up the way the program uses it for a full backup.
inline void configureForBackup(TBackupFile& bf) {
    bf.setBackupMode(bmAll);
    bf.setSetArchiveFlag(false);
    bf.setBackupTitle(QStringLiteral("test"));
}

} // namespace pylomir::backup::testing
