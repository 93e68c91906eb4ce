#include "records/statistics.h"

#include "core/settings_names.h"
#include "core/shown_texts.h"
#include "core/time_stamp.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/settings_store.h"
#include "platform/text_file.h"

#include <cmath>
#include <limits>

namespace pylomir::records {

namespace {

const QString kScanCountValue = QStringLiteral("Liczba");
const QString kLastScanValue = QStringLiteral("Data");
const QString kDeletedBytesValue = QStringLiteral("Skasowano");
const QString kDeletedSizeValue = QStringLiteral("SkasowanoMB");
// The deleted-files count: "Listbox" when read, "ListBox" when written at
// exit and at the reset; the store ignores the case of value names.
const QString kDeletedCountRead = QStringLiteral("Listbox");
const QString kDeletedCountWritten = QStringLiteral("ListBox");

// A stored byte total as a number; a text that is none counts as nothing.
qint64 storedBytes(const QString& text) {
    bool ok = false;
    const qint64 whole = text.trimmed().toLongLong(&ok);
    if (ok)
        return whole;
    const double d = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(d) && d >= 0 && d < 9.2e18)
        return qint64(std::llround(d));
    return 0;
}

// A value between the quotes of a REGEDIT4 line.
QString regString(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return out;
}

// A whole count as the store holds it ("12", " 12").
std::optional<int> storedCount(const QString& text) {
    bool ok = false;
    const int count = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(count) : std::nullopt;
}

} // namespace

std::optional<qint64> readSizeNumber(QStringView text) {
    qint64 n = 0;
    QChar pending = QLatin1Char(' ');
    qint64 run = 0;
    bool inRun = false;
    bool failed = false;
    auto closeRun = [&] {
        if (!inRun) {
            failed = true;
            return;
        }
        if (pending == QLatin1Char('/')) {
            if (run == 0) {
                failed = true;
            } else {
                // To the nearest, ties to even.
                qint64 q = n / run;
                const qint64 r = n % run;
                if (r > run - r || (r == run - r && (q % 2) != 0))
                    ++q;
                n = q;
            }
        } else {
            n = run;
        }
        run = 0;
        inRun = false;
    };
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            const int digit = c.unicode() - '0';
            if (run > (std::numeric_limits<qint64>::max() - digit) / 10)
                return std::nullopt;
            run = run * 10 + digit;
            inRun = true;
            continue;
        }
        closeRun();
        if (c == QLatin1Char('/'))
            pending = c;
    }
    closeRun();
    if (failed)
        return std::nullopt;
    return n;
}

QStringList undoFileLines(const core::StatisticsState& statistics) {
    const QString root = QStringLiteral("\\SOFTWARE\\Tessaly\\Pylomir");
    auto value = [](const char* name, const QString& v) {
        return QStringLiteral("\"%1\"=\"%2\"").arg(QLatin1String(name), regString(v));
    };
    const QStringList values = {
        value("Liczba", core::scanCountText(statistics)),
        value("Skasowano", statistics.totalDeletedBytesText),
        value("Data", statistics.lastScanText),
        value("SkasowanoMB", statistics.totalDeletedSizeText),
    };
    const QString count = value("Listbox", statistics.totalDeletedFilesText);
    QStringList lines = {QStringLiteral("REGEDIT4"), QString()};
    for (const QString& hive :
         {QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("HKEY_USERS\\.DEFAULT")}) {
        const QString key = QLatin1Char('[') + hive + root;
        lines << key + QLatin1Char(']') << QString();
        lines << key + QStringLiteral("\\Skanowan]") << values << QString();
        lines << key + QStringLiteral("\\Usunieto]") << count << QString();
    }
    return lines;
}

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
        s_.totalDeletedBytesText = read(kDeletedBytesValue);
        s_.lastScanText = read(kLastScanValue);
        s_.totalDeletedSizeText = read(kDeletedSizeValue);
    }
    if (store.keyExists(core::kDeletedKey)) {
        s_.totalDeletedFilesText =
            store.readString(core::kDeletedKey, kDeletedCountRead).value_or(QString());
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

void Statistics::prepareWorkingCopies() {
    totalSum_ = storedBytes(s_.totalDeletedBytesText);
    s_.totalDeletedSizes = {totalSum_};
    s_.totalDeletedBytesInput = s_.totalDeletedBytesText;
    s_.sessionDeletedSizes.clear();
    sessionSum_ = 0;
}

void Statistics::addToTotalDeletedBytes(qint64 size) {
    s_.totalDeletedSizes.append(size);
    totalSum_ += size;
    s_.totalDeletedBytesText = QString::number(totalSum_);
}

void Statistics::addToSessionDeletedBytes(qint64 size) {
    s_.sessionDeletedSizes.append(size);
    sessionSum_ += size;
    s_.sessionDeletedBytesText = QString::number(sessionSum_);
}

void Statistics::showTotalDeletedSize() {
    const auto n = readSizeNumber(s_.totalDeletedBytesInput);
    if (!n)
        return;
    s_.totalDeletedSizeText = QStringLiteral("%1 KB,  %2 MB").arg(*n / 1024).arg(*n / 1024000);
}

void Statistics::showSessionDeletedSize() {
    if (const auto n = readSizeNumber(s_.sessionDeletedBytesText))
        s_.sessionDeletedKb = *n / 1024;
}

bool Statistics::countDeletionInStore(qint64 deleted) {
    platform::SettingsStore* store = services_.settings;
    if (!store || deleted <= 0)
        return true;
    qint64 count = 0;
    if (const auto text = store->readString(core::kDeletedKey, kDeletedCountRead)) {
        bool ok = false;
        count = text->trimmed().toLongLong(&ok);
        if (!ok)
            return true; // not ours to repair; the count stays as it is
    }
    count += deleted;
    s_.totalDeletedFilesText = QString::number(count);
    return store->createKey(core::kDeletedKey) &&
           store->writeString(core::kDeletedKey, kDeletedCountRead, s_.totalDeletedFilesText);
}

bool Statistics::saveStatistics() {
    platform::SettingsStore* store = services_.settings;
    if (!store)
        return false;
    bool ok = store->createKey(core::kStatisticsKey);
    const std::pair<QString, QString> values[] = {
        {kScanCountValue, core::scanCountText(s_)}, {kDeletedBytesValue, s_.totalDeletedBytesText},
        {kLastScanValue, s_.lastScanText},          {kDeletedSizeValue, s_.totalDeletedSizeText},
        {QStringLiteral("E-mail"), kContactMail},   {QStringLiteral("WWW"), kContactWeb},
        {QStringLiteral("Autor"), kContactAuthor},
    };
    for (const auto& [name, value] : values)
        ok = store->writeString(core::kStatisticsKey, name, value) && ok;
    ok = store->createKey(core::kDeletedKey) && ok;
    return store->writeString(core::kDeletedKey, kDeletedCountWritten, s_.totalDeletedFilesText) &&
           ok;
}

std::optional<QString> Statistics::writeUndoFile(const QString& stamp) {
    platform::FileSystem& fs = *services_.fileSystem;
    const QString path =
        core::freeFileName(fs, platform::absolutePath(QStringLiteral("Cofnij_zmiany_") + stamp +
                                                      QStringLiteral("_.reg")));
    QString text;
    for (const QString& line : undoFileLines(s_))
        text += line + QStringLiteral("\r\n");
    QString reason;
    const auto file = fs.openForWriting(path, platform::WriteMode::Replace, &reason);
    if (file) {
        const QByteArray bytes = platform::encodeText(text);
        if (file->device().write(bytes) == bytes.size() && file->finish())
            return path;
        reason = file->errorString();
    }
    services_.ui->showError(platform::cannotCreateMessage(path, reason));
    return std::nullopt;
}

void Statistics::resetStatistics() {
    const core::MsgAnswer answer = services_.ui->messageBox(
        QStringLiteral("Ostrzeżenie"),
        QStringLiteral("Wszystkie statystyki programu o przeprowadzonych skanowaniach,\nliczbie "
                       "usuniętych plików i ich rozmiar, zostaną wykasowane !\n\nCzy chcesz "
                       "kontynuować i wykasować statystyki ?"),
        core::MsgIcon::Warning, core::MsgButtons::YesNo);
    if (answer != core::MsgAnswer::Yes)
        return;
    if (!writeUndoFile(core::timeStamp(services_.clock->now(), *services_.locale)))
        return;

    bool stored = false;
    if (platform::SettingsStore* store = services_.settings) {
        const QString zero = QStringLiteral("0");
        stored = store->createKey(core::kStatisticsKey);
        for (const QString& name :
             {kScanCountValue, kLastScanValue, kDeletedBytesValue, kDeletedSizeValue})
            stored = store->writeString(core::kStatisticsKey, name, zero) && stored;
        stored = store->createKey(core::kDeletedKey) && stored;
        stored = store->writeString(core::kDeletedKey, kDeletedCountWritten, zero) && stored;
    }

    s_.scanCount = 0;
    s_.totalDeletedFilesText = QStringLiteral("0");
    s_.totalDeletedBytesText = QStringLiteral("0");
    s_.lastScanText = QStringLiteral("0");
    s_.totalDeletedSizeText = QStringLiteral("0");
    s_.totalDeletedBytesInput = QStringLiteral("0");
    s_.totalDeletedSizes.clear();
    s_.sessionDeletedSizes.clear();
    totalSum_ = 0;
    sessionSum_ = 0;
    if (!stored)
        services_.ui->showError(core::kRegistryErrorText);
}

} // namespace pylomir::records
