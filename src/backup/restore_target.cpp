#include "backup/restore_target.h"

#include <QStringList>

namespace pylomir::backup {

bool targetWanted(RestoreRule rule, bool exists, bool older) {
    switch (rule) {
    case RestoreRule::Always:
        return true;
    case RestoreRule::IfMissing:
        return !exists;
    case RestoreRule::IfMissingOrOlder:
        return !exists || older;
    case RestoreRule::IfExists:
        return exists;
    case RestoreRule::IfExistsAndOlder:
        return exists && older;
    }
    return false;
}

QString asFolder(const QString& folder, PathStyle style) {
    if (folder.isEmpty() || isSeparator(folder.back(), style))
        return folder;
    return folder + separatorOf(style);
}

namespace {

// Whether a stored name is a path the system takes as it reads: absolute,
// naming a file, without parts that lead elsewhere.
bool isAbsoluteAndNormalised(const QString& name, PathStyle style) {
    const bool windows = style == PathStyle::Windows;
    QStringView rest(name);
    qsizetype minParts = 1;
    if (!windows) {
        if (!rest.startsWith(QLatin1Char('/')))
            return false;
        rest = rest.mid(1);
    } else if (rest.size() >= 3 && rest.at(0).isLetter() && rest.at(0).unicode() < 128 &&
               rest.at(1) == QLatin1Char(':') && isSeparator(rest.at(2), style)) {
        rest = rest.mid(3); // "c:\"
    } else if (rest.size() >= 2 && isSeparator(rest.at(0), style) &&
               isSeparator(rest.at(1), style)) {
        rest = rest.mid(2); // "\\server\share\": the server and share count as parts
        minParts = 3;
    } else {
        return false; // relative, or "c:x" and "\x" relative to a current folder
    }
    qsizetype parts = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= rest.size(); ++i) {
        if (i < rest.size() && !isSeparator(rest.at(i), style))
            continue;
        const QStringView part = rest.mid(start, i - start);
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") ||
            (windows && part.contains(QLatin1Char(':'))))
            return false;
        ++parts;
        start = i + 1;
    }
    return parts >= minParts;
}

} // namespace

RestoreTarget restoreTarget(const QString& memberName, const QString& targetFolder, bool folderTree,
                            PathStyle style) {
    if (targetFolder.isEmpty())
        return {memberName, false, !isAbsoluteAndNormalised(memberName, style)};
    const bool windows = style == PathStyle::Windows;
    QString relative;
    if (folderTree) {
        // Cut the drive prefix: "c:\" on Windows, the root "/" elsewhere.
        if (windows)
            relative = memberName.mid(3);
        else
            relative = memberName.startsWith(QLatin1Char('/')) ? memberName.mid(1) : memberName;
    } else {
        qsizetype cut = memberName.size() - 1;
        while (cut >= 0 && !(memberName.at(cut) == QLatin1Char('/') ||
                             (windows && (memberName.at(cut) == QLatin1Char('\\') ||
                                          memberName.at(cut) == QLatin1Char(':')))))
            --cut;
        relative = memberName.mid(cut + 1);
    }
    QString unified = relative;
    if (windows)
        unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = unified.split(QLatin1Char('/'));
    bool outside = relative.isEmpty() || parts.first().isEmpty() || parts.last().isEmpty() ||
                   parts.last() == QLatin1String(".");
    for (const QString& part : parts) {
        if (part == QLatin1String("..") || (windows && part.contains(QLatin1Char(':'))))
            outside = true;
    }
    return {targetFolder + relative, outside, false};
}

bool isWithinFolder(const QString& folder, const QString& base, PathStyle style) {
    if (base.isEmpty())
        return false;
    // A root ("/", "c:\") ends with its separator already.
    const QString prefix = isSeparator(base.back(), style) ? base : base + separatorOf(style);
    return folder == base || folder.startsWith(prefix);
}

QString parentFolder(const QString& path, PathStyle style) {
    qsizetype cut = path.size() - 1;
    while (cut >= 0 && !isSeparator(path.at(cut), style))
        --cut;
    if (cut < 0)
        return QString();
    // A root keeps its separator: "/" and "c:\".
    const bool root =
        cut == 0 || (style == PathStyle::Windows && cut == 2 && path.at(1) == QLatin1Char(':'));
    return path.left(root ? cut + 1 : cut);
}

} // namespace pylomir::backup
