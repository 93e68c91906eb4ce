// Sets an environment variable for one scope and puts the old value back.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <time.h>

struct EnvGuard {
    EnvGuard(const char* n, const QByteArray& value) : name(n), old(qgetenv(n)) {
        qputenv(name, value);
        ::tzset(); // TZ takes effect only then
    }
    ~EnvGuard() {
        had ? qputenv(name, old) : qunsetenv(name);
        ::tzset();
    }
    const char* name;
    QByteArray old;
    bool had = qEnvironmentVariableIsSet(name);
};
