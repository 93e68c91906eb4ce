// Settings on Windows: REG_SZ values under HKEY_CURRENT_USER\SOFTWARE\Tessaly\Pylomir.
#ifdef _WIN32

#include "platform/settings_store.h"

#include <windows.h>

namespace pylomir::platform {

namespace {

const QString kRoot = QStringLiteral("SOFTWARE\\Tessaly\\Pylomir\\");

const wchar_t* wide(const QString& s) {
    return reinterpret_cast<const wchar_t*>(s.utf16());
}

class RegKey {
public:
    RegKey() = default;
    ~RegKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class RegistrySettingsStore final : public SettingsStore {
public:
    bool keyExists(const QString& key) override {
        RegKey k;
        return RegOpenKeyExW(HKEY_CURRENT_USER, wide(kRoot + key), 0, KEY_READ, k.out()) ==
               ERROR_SUCCESS;
    }

    bool createKey(const QString& key) override {
        RegKey k;
        return RegCreateKeyExW(HKEY_CURRENT_USER, wide(kRoot + key), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, k.out(),
                               nullptr) == ERROR_SUCCESS;
    }

    std::optional<QString> readString(const QString& key, const QString& name) override {
        RegKey k;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(kRoot + key), 0, KEY_READ, k.out()) !=
            ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(k.get(), wide(name), nullptr, &type, nullptr, &bytes) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        QString value(bytes / sizeof(wchar_t), Qt::Uninitialized);
        if (RegQueryValueExW(k.get(), wide(name), nullptr, &type,
                             reinterpret_cast<BYTE*>(value.data()), &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        value.truncate(bytes / sizeof(wchar_t));
        // The stored size counts the terminating NUL when there is one.
        const qsizetype nul = value.indexOf(QChar(0));
        if (nul >= 0)
            value.truncate(nul);
        return value;
    }

    bool writeString(const QString& key, const QString& name, const QString& value) override {
        RegKey k;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(kRoot + key), 0, KEY_WRITE, k.out()) !=
            ERROR_SUCCESS)
            return false;
        const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(k.get(), wide(name), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.utf16()), bytes) == ERROR_SUCCESS;
    }
};

} // namespace

std::unique_ptr<SettingsStore> openSettingsStore(const QString& /*overridePath*/) {
    return std::make_unique<RegistrySettingsStore>();
}

} // namespace pylomir::platform

#endif // _WIN32
