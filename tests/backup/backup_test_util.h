// Helpers for the archive tests: real files in temporary folders.
#pragma once

#include "backup/archive_format.h"
#include "backup/archiver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace pylomir::backup::testing {

// Random bytes, or text-like bytes that deflate shrinks a lot.
inline QByteArray testData(qsizetype n, unsigned seed, bool text = false) {
    static const char* const words[] = {"plik ", "kopia ", "zapasowa ", "folder ", "dane\r\n"};
    std::mt19937 gen(seed);
    QByteArray out;
    out.reserve(n + 16);
    while (out.size() < n) {
        if (text)
            out += words[gen() % 5];
        else
            out += char(gen() & 0xFF);
    }
    out.truncate(n);
    return out;
}

inline QByteArray i32(qint64 v) {
    char b[4];
    qToLittleEndian(qint32(v), b);
    return QByteArray(b, 4);
}

inline qint32 readI32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

// A member of one segment holding `blocks`.
inline QByteArray member(const QByteArray& name, qint32 date, const QByteArray& blocks) {
    return i32(name.size()) + name + i32(date) + QByteArray("EC2\0", 4) + blocks + i32(0);
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& data,
                      const QDateTime& mtime = QDateTime()) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size());
    if (mtime.isValid()) { // flush first: a later flush would move the time again
        ASSERT_TRUE(f.flush());
        ASSERT_TRUE(f.setFileTime(mtime, QFileDevice::FileModificationTime));
    }
}

using Errors = std::vector<std::pair<qint32, QString>>;
inline void collectErrors(Archiver& archiver, Errors& errors) {
    archiver.onError = [&errors](Archiver*, qint32 code, const QString& message) {
        errors.emplace_back(code, message);
    };
}
// What onError gets for a code that concerns a file.
inline Errors errorNaming(qint32 code, const QString& path) {
    return {{code, namingFile(archiveErrorMessage(code), path)}};
}

// An archiver set up the way the program uses it for a full backup.
inline void configureForBackup(Archiver& archiver, bool withList = false) {
    archiver.setBackupScope(BackupScope::All);
    archiver.setClearArchiveAttribute(false);
    archiver.setTitle(QStringLiteral("test"));
    archiver.setStoreInfoList(withList);
}

} // namespace pylomir::backup::testing
