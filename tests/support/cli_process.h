// Runs the built pylomir-cli against a temporary program folder and settings
// file, with nothing on standard input to answer a prompt.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <utility>

namespace pylomir::testing {

struct CliResult {
    int code = -1; // -1: did not finish in time; -2: crashed
    QByteArray rawOut;
    QString out;
    QString err;
};

struct CliProcess {
    CliProcess(const QString& home, const QString& settings, const QString& workingFolder = {})
        : home(home), settings(settings), workingFolder(workingFolder) {}

    QString home;     // PYLOMIR_HOME
    QString settings; // PYLOMIR_SETTINGS
    QString workingFolder;
    QStringList launcher; // run through this command (e.g. to drop privileges)
    QList<std::pair<QString, QString>> environment; // further variables
    int timeoutMs = 60000;

    CliResult operator()(const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PYLOMIR_HOME", home);
        env.insert("PYLOMIR_SETTINGS", settings);
        for (const auto& [name, value] : environment)
            env.insert(name, value);
        p.setProcessEnvironment(env);
        if (!workingFolder.isEmpty())
            p.setWorkingDirectory(workingFolder);
        p.setStandardInputFile(QProcess::nullDevice());
        if (launcher.isEmpty())
            p.start(PYLOMIR_CLI, args);
        else
            p.start(launcher.first(), launcher.mid(1) + QStringList{PYLOMIR_CLI} + args);
        CliResult r;
        if (!p.waitForFinished(timeoutMs)) { // a blocked read ends here
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.rawOut = p.readAllStandardOutput();
        r.out = QString::fromUtf8(r.rawOut);
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
};

// Writes a file, making its folders.
inline void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace pylomir::testing
