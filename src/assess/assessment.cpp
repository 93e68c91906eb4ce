#include "assess/assessment.h"

#include "core/shown_texts.h"
#include "core/status_line.h"
#include "core/ui_port.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"

#include <QDate>
#include <QTime>

#include <cstring>

namespace pylomir::assess {

namespace {

using core::AlertLevel;
using core::AlertRule;

// Only A to Z fold: no other letter may pass for a system name.
bool equalsAsciiCaseless(QStringView text, const char* ascii) {
    const auto n = qsizetype(std::strlen(ascii));
    if (text.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c + (u'a' - u'A'));
        if (c != char16_t(ascii[i]))
            return false;
    }
    return true;
}

bool isInstallerLog(QStringView name) {
    for (const char* log : {"install.log", "setup.log", "uninstall.log", "uninst.log"}) {
        if (equalsAsciiCaseless(name, log))
            return true;
    }
    return false;
}

bool isSystemExtension(QStringView extension) {
    for (const char* ext : {".sys", ".dll", ".ini", ".vxd", ".dat", ".cfg", ".ax", ".ocx", ".lic",
                            ".bin", ".drv", ".inf", ".com", ".nt"}) {
        if (equalsAsciiCaseless(extension, ext))
            return true;
    }
    return false;
}

QStringView extensionOf(QStringView name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringView() : name.sliced(dot);
}

} // namespace

AlertRule rateFile(QStringView name, qint64 size) {
    if (isInstallerLog(name))
        return AlertRule::InstallerLog;
    if (isSystemExtension(extensionOf(name)))
        return AlertRule::SystemExtension;
    if (size == 0)
        return AlertRule::Empty;
    if (size <= 670001)
        return AlertRule::Small;
    if (size <= 4900001)
        return AlertRule::Noticeable;
    if (size <= 10400001)
        return AlertRule::Suspicious;
    return AlertRule::TooLarge;
}

AlertLevel levelOf(AlertRule rule) {
    switch (rule) {
    case AlertRule::Empty:
    case AlertRule::Small:
        return AlertLevel::Low;
    case AlertRule::Noticeable:
        return AlertLevel::Medium;
    default:
        break;
    }
    return AlertLevel::High;
}

core::FileDetails detailsOf(const platform::FindData& found, const QString& path,
                            const platform::LocaleFormats& locale) {
    core::FileDetails d;
    d.name = found.name;
    d.extension = extensionOf(d.name).toString();
    d.size = found.size;
    d.location = path;
    const platform::SystemTime& t = found.times.lastWrite;
    d.modifiedText = locale.shortDate(QDate(t.year, t.month, t.day)) + QStringLiteral(",  ") +
                     locale.longTime(QTime(t.hour, t.minute, t.second));
    d.attributes = found.attributes;
    d.rule = rateFile(d.name, d.size);
    d.level = levelOf(d.rule);
    return d;
}

void Assessment::assessEntry(const core::PathList& list, bool ignoredList) {
    if (list.isEmpty() || list.current() < 0)
        return;
    const QString path = list.path(list.current());
    const std::optional<platform::FindData> found = s_.fileSystem->findFirst(path);
    if (!found) {
        // Nothing of the previous file may stay to be acted on.
        alert_.shownAlert.reset();
        alert_.details.reset();
        alert_.assessedPath.clear();
        return;
    }
    alert_.assessedPath = path;

    core::FileDetails d = detailsOf(*found, path, *s_.locale);
    if (ignoredList)
        d.attributes.reset(); // an ignored entry always reads as normal
    if (d.rule == AlertRule::InstallerLog || d.rule == AlertRule::TooLarge)
        alert_.commentBlue = true;

    alert_.shownAlert = d.level;
    if (d.level != AlertLevel::Low)
        s_.ui->playSound(core::kAlertSound);
    status_.showDetails(core::detailsLineText(d));
    alert_.details = std::move(d);
}

} // namespace pylomir::assess
