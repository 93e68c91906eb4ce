// Pinned clock, in-memory settings store and a counting message pump.
#pragma once

#include "core/message_pump.h"
#include "platform/clock.h"
#include "platform/settings_store.h"

#include <QHash>
#include <QMap>

#include <functional>

namespace pylomir::testing {

class FakeClock : public platform::Clock {
public:
    quint32 ticks = 0;
    QDateTime current = QDateTime(QDate(2026, 12, 5), QTime(14, 5, 33));
    quint32 tickCount() override { return ticks; }
    QDateTime now() override { return current; }
};

class MemorySettingsStore : public platform::SettingsStore {
public:
    // key -> (lower-cased value name -> value)
    QMap<QString, QMap<QString, QString>> keys;
    bool failWrites = false;
    QString damagedCopy; // as a damaged settings file's copy would be named

    bool keyExists(const QString& key) override { return keys.contains(key); }
    bool createKey(const QString& key) override {
        keys[key];
        return true;
    }
    std::optional<QString> readString(const QString& key, const QString& name) override {
        if (!keys.contains(key) || !keys[key].contains(name.toLower()))
            return std::nullopt;
        return keys[key][name.toLower()];
    }
    bool writeString(const QString& key, const QString& name, const QString& value) override {
        if (failWrites || !keys.contains(key))
            return false;
        keys[key][name.toLower()] = value;
        return true;
    }
    QString damagedFileCopy() const override { return damagedCopy; }
};

// Counts calls and runs a scripted action at a chosen call.
class ScriptedPump : public core::MessagePump {
public:
    int calls = 0;
    std::function<void(int call)> action;
    void processPendingMessages() override {
        ++calls;
        if (action)
            action(calls);
    }
};

} // namespace pylomir::testing
