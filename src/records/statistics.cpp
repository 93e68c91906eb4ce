#include "records/statistics.h"

#include "core/settings_names.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"

#include <limits>

namespace pylomir::records {

namespace {

const QString kScanCountValue = QStringLiteral("Liczba");
const QString kLastScanValue = QStringLiteral("Data");

// A whole count as the store holds it ("12", " 12").
std::optional<int> storedCount(const QString& text) {
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(count) : std::nullopt;
}

} // namespace

Statistics::Statistics(core::StatisticsState& state, const core::Services& services)
    : s_(state), services_(services) {}

QString Statistics::stamp(const QDateTime& now, QChar between) const {
    return services_.locale->shortDate(now.date()) + between +
           services_.locale->longTime(now.time());
}

bool Statistics::load() {
    platform::SettingsStore& store = *services_.settings;
    if (store.keyExists(core::kStatisticsKey)) {
        // A fresh machine has the key (from saved settings) without a count.
        const auto countText = store.readString(core::kStatisticsKey, kScanCountValue);
        const auto count = storedCount(countText.value_or(QStringLiteral("0")));
        if (!count)
            return false;
        s_.scanCount = *count;
        // A missing value reads as empty text and is shown as it is.
        auto read = [&](const QString& name) {
            return store.readString(core::kStatisticsKey, name).value_or(QString());
        };
        s_.totalDeletedBytesText = read(QStringLiteral("Skasowano"));
        s_.lastScanText = read(kLastScanValue);
        s_.totalDeletedSizeText = read(QStringLiteral("SkasowanoMB"));
    }
    if (store.keyExists(core::kDeletedKey)) {
        s_.totalDeletedFilesText =
            store.readString(core::kDeletedKey, QStringLiteral("Listbox")).value_or(QString());
    }
    return true;
}

void Statistics::recordScanStart(const QDateTime& now) {
    s_.lastScanText = stamp(now, QLatin1Char(','));
}

void Statistics::updateScanCount(const QDateTime& now) {
    platform::SettingsStore* store = services_.settings;
    if (!store || !store->keyExists(core::kStatisticsKey))
        return;
    const auto text = store->readString(core::kStatisticsKey, kScanCountValue);
    const auto count = text ? storedCount(*text) : std::nullopt;
    if (!count || *count == std::numeric_limits<int>::max())
        return;
    s_.scanCount = *count + 1;
    store->writeString(core::kStatisticsKey, kLastScanValue, stamp(now, QLatin1Char(' ')));
}

} // namespace pylomir::records
