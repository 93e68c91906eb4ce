// Settings where there is no registry: an INI file with one group per key.
//
// Names of keys and values are matched without regard to letter case, as
// the registry does; a write reuses the spelling already in the file.
// An INI file cannot hold an empty group, so a key made by createKey keeps
// the entry "@" (REGEDIT4's name for a key's unnamed default value), which
// reads as missing, like the unset default value of a fresh registry key.
#ifndef _WIN32

#include "platform/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace pylomir::platform {

namespace {

const QString kPlaceholder = QStringLiteral("@");

std::optional<QString> findIgnoringCase(const QStringList& names, const QString& wanted) {
    for (const QString& n : names) {
        if (n.compare(wanted, Qt::CaseInsensitive) == 0)
            return n;
    }
    return std::nullopt;
}

QString defaultPath() {
    const QString override = qEnvironmentVariable("PYLOMIR_SETTINGS");
    if (!override.isEmpty())
        return override;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tessaly/Pylomir.ini");
}

class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& path) : settings_(path, QSettings::IniFormat) {}

    bool keyExists(const QString& key) override { return group(key).has_value(); }

    bool createKey(const QString& key) override {
        if (key.isEmpty())
            return false;
        if (group(key))
            return true;
        settings_.setValue(key + QLatin1Char('/') + kPlaceholder, QString());
        return flush();
    }

    std::optional<QString> readString(const QString& key, const QString& name) override {
        const std::optional<QString> g = group(key);
        if (!g)
            return std::nullopt;
        const std::optional<QString> n = valueName(*g, name);
        if (!n || *n == kPlaceholder)
            return std::nullopt;
        const QVariant v = settings_.value(*g + QLatin1Char('/') + *n);
        // A hand-edited line with unquoted commas reads as a list.
        if (v.metaType().id() == QMetaType::QStringList)
            return v.toStringList().join(QLatin1Char(','));
        return v.toString();
    }

    bool writeString(const QString& key, const QString& name, const QString& value) override {
        const std::optional<QString> g = group(key);
        if (!g || name.isEmpty())
            return false;
        const QString n = valueName(*g, name).value_or(name);
        settings_.setValue(*g + QLatin1Char('/') + n, value);
        return flush();
    }

private:
    std::optional<QString> group(const QString& key) {
        if (key.isEmpty())
            return std::nullopt;
        return findIgnoringCase(settings_.childGroups(), key);
    }

    std::optional<QString> valueName(const QString& group, const QString& name) {
        settings_.beginGroup(group);
        const QStringList names = settings_.childKeys();
        settings_.endGroup();
        return findIgnoringCase(names, name);
    }

    bool flush() {
        settings_.sync();
        return settings_.status() == QSettings::NoError;
    }

    QSettings settings_;
};

} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString& overridePath) {
    const QString path = overridePath.isEmpty() ? defaultPath() : overridePath;
    return std::make_unique<IniSettingsStore>(path);
}

} // namespace pylomir::platform

#endif // !_WIN32
