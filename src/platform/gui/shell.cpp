#include "platform/gui/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace pylomir::platform {

bool shellOpen(const QString& pathOrUrl) {
    if (pathOrUrl.isEmpty())
        return false;
    QUrl url;
    if (pathOrUrl.contains(QLatin1String("://")) ||
        pathOrUrl.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        url = QUrl(pathOrUrl);
    else if (pathOrUrl.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        url = QUrl::fromUserInput(pathOrUrl);
    else
        url = QUrl::fromLocalFile(QDir::fromNativeSeparators(pathOrUrl));
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool openInTextViewer(const QString& path) {
    if (path.isEmpty())
        return false;
#ifdef _WIN32
    return QProcess::startDetached(QStringLiteral("notepad.exe"), {QDir::toNativeSeparators(path)});
#else
    return shellOpen(path);
#endif
}

} // namespace pylomir::platform
