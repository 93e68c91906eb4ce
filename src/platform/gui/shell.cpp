#include "platform/gui/shell.h"

#include <QDesktopServices>
#include <QDir>
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

} // namespace pylomir::platform
