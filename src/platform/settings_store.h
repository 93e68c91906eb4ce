// String values under HKEY_CURRENT_USER\SOFTWARE\Tessaly\Pylomir\<key>.
#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace pylomir::platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Whether a key exists (opening it without creating it would succeed).
    virtual bool keyExists(const QString& key) = 0;
    // Creates a key if missing; false when that is refused.
    virtual bool createKey(const QString& key) = 0;
    // A value of an existing key; nothing when the key or the value is missing.
    // Value names are compared without regard to letter case.
    virtual std::optional<QString> readString(const QString& key, const QString& name) = 0;
    // Writes a value into an existing key; false on failure.
    virtual bool writeString(const QString& key, const QString& name, const QString& value) = 0;
    // A settings file holding lines that a rewrite would drop is copied
    // beside itself, under its name followed by ".bad", before anything
    // rewrites it; while the copy cannot be made, writes fail. The copy's
    // name once one was made by this store, for the user to be told; empty
    // otherwise (always for the registry).
    virtual QString damagedFileCopy() const { return {}; }
};

// The registry on Windows; elsewhere an INI file, by default
// $XDG_CONFIG_HOME/Tessaly/Pylomir.ini, or the file named by
// PYLOMIR_SETTINGS (tests), or overridePath when given.
std::unique_ptr<SettingsStore> openSettingsStore(const QString& overridePath = {});

} // namespace pylomir::platform
