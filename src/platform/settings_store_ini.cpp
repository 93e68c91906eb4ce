// Settings where there is no registry: an INI file with one group per key.
//
// Names of keys and values are matched without regard to letter case, as
// the registry does; a write reuses the spelling already in the file.
// An INI file cannot hold an empty group, so a key made by createKey keeps
// the entry "@" (REGEDIT4's name for a key's unnamed default value), which
// reads as missing, like the unset default value of a fresh registry key.
//
// QSettings rewrites the whole file at every write and drops what it cannot
// read (and comments) without a word, so such a file is first copied aside.
#ifndef _WIN32

#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

// Whether a rewrite would lose or change any line. QSettings keeps section
// headers and name=value lines; it drops comments (a whole line or after an
// unquoted ';'), lines it cannot read and text after a header, and a quote
// left open or a line ending in a lone backslash swallows the lines after
// it. It never writes any of these itself. A line ends at CR or LF.
bool rewriteDropsLines(QByteArrayView bytes) {
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView line = bytes.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty())
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                return true;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq < 0 || line.startsWith(';') || line.startsWith('#') || line.first(eq).contains('"'))
            return true;
        bool quoted = false;
        for (qsizetype i = eq + 1; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\\') {
                if (++i == line.size())
                    return true; // continued on the next line
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == ';' && !quoted) {
                return true;
            }
        }
        if (quoted)
            return true;
    }
    return false;
}

class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(const QString& path)
        : path_(path), settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
        // At once, so that the user hears of it when the program starts.
        keepDamagedFile();
    }

    bool keyExists(const QString& key) override { return group(key).has_value(); }

    bool createKey(const QString& key) override {
        if (key.isEmpty())
            return false;
        if (group(key))
            return true;
        return write(key + QLatin1Char('/') + kPlaceholder, QString());
    }

    std::optional<QString> readString(const QString& key, const QString& name) override {
        const std::optional<QString> g = group(key);
        if (!g)
            return std::nullopt;
        const std::optional<QString> n = valueName(*g, name);
        if (!n || *n == kPlaceholder)
            return std::nullopt;
        const QVariant v = settings_->value(*g + QLatin1Char('/') + *n);
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
        return write(*g + QLatin1Char('/') + n, value);
    }

    QString damagedFileCopy() const override { return copy_; }

private:
    std::optional<QString> group(const QString& key) {
        if (key.isEmpty())
            return std::nullopt;
        return findIgnoringCase(settings_->childGroups(), key);
    }

    std::optional<QString> valueName(const QString& group, const QString& name) {
        settings_->beginGroup(group);
        const QStringList names = settings_->childKeys();
        settings_->endGroup();
        return findIgnoringCase(names, name);
    }

    // Sets one entry and writes the file out.
    bool write(const QString& entry, const QString& value) {
        if (!keepDamagedFile())
            return false;
        settings_->setValue(entry, value);
        settings_->sync();
        if (settings_->status() == QSettings::FormatError) {
            // The lines it could not read are in the copy. The status stays
            // set for good and would hide a failed write, so a fresh reader
            // of the rewritten file writes the entry again and tells.
            settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
            settings_->setValue(entry, value);
            settings_->sync();
        }
        return settings_->status() == QSettings::NoError;
    }

    // Copies the file aside when a rewrite would drop some of its lines;
    // false when that copy cannot be made. The file is looked at again
    // whenever it has changed since the last look.
    bool keepDamagedFile() {
        if (!QFileInfo(path_).isFile())
            return true; // nothing to lose, or QSettings cannot read it either
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly))
            return false; // a rewrite would keep nothing of what it holds
        const QByteArray bytes = file.readAll();
        if (bytes == looked_)
            return true;
        if (rewriteDropsLines(bytes)) {
            const QString copy = path_ + QStringLiteral(".bad");
            QSaveFile out(copy);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
                !out.commit())
                return false;
            copy_ = copy;
        }
        looked_ = bytes;
        return true;
    }

    const QString path_;
    std::unique_ptr<QSettings> settings_;
    QByteArray looked_; // the file as last looked at: safe to rewrite
    QString copy_;      // the copy of a damaged file, once made
};

} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString& overridePath) {
    const QString path = overridePath.isEmpty() ? defaultPath() : overridePath;
    return std::make_unique<IniSettingsStore>(path);
}

} // namespace pylomir::platform

#endif // !_WIN32
