#include "backup/backup_sources.h"

#include "engine/mask.h"
#include "platform/file_system.h"

#include <QSet>

namespace pylomir::backup {

namespace {

class Expansion {
public:
    Expansion(platform::FileSystem& fs, PathStyle style, BackupScope scope,
              const QString& archivePath)
        : fs_(fs), style_(style), scope_(scope), archivePath_(folded(archivePath)) {}

    void expandEntry(const QString& entry) {
        QString mask = folded(entry).trimmed();
        bool recursive = false;
        if (style_ == PathStyle::Windows) {
            const qsizetype at = mask.indexOf(QLatin1String("/s"));
            if (at >= 0) {
                recursive = true;
                mask = mask.left(at).trimmed();
            }
        } else if (mask.size() > 2 && mask.endsWith(QLatin1String("/s"), Qt::CaseInsensitive) &&
                   mask.at(mask.size() - 3).isSpace()) {
            recursive = true;
            mask = mask.chopped(2).trimmed();
        }
        qsizetype cut = mask.size() - 1;
        while (cut >= 0 && !isSeparator(mask.at(cut), style_))
            --cut;
        QString folder = mask.left(cut + 1);
        if (!isAbsolute(folder))
            folder =
                folded(platform::absolutePath(QStringLiteral(".")) + separatorOf(style_) + folder);
        expandFolder(folder, mask.mid(cut + 1), recursive);
    }

    QStringList takeWork() { return std::move(work_); }

private:
    QString folded(const QString& path) const {
        return style_ == PathStyle::Windows ? lowerAZ(path) : path;
    }

    bool isAbsolute(const QString& path) const {
        if (!path.isEmpty() && isSeparator(path.front(), style_))
            return true;
        return style_ == PathStyle::Windows && path.size() >= 2 && path.at(1) == QLatin1Char(':');
    }

    void expandFolder(const QString& folder, const QString& namePart, bool recursive) {
        if (recursive) {
            QStringList subFolders;
            if (auto listing = fs_.list(folder)) {
                while (listing->next()) {
                    const QStringView name = listing->name();
                    if (name == u"." || name == u".." || !listing->isDirectory())
                        continue;
                    if (listing->attributes() & (platform::faHidden | platform::faSysFile))
                        continue;
                    subFolders << name.toString();
                }
            }
            for (const QString& sub : subFolders)
                expandFolder(folded(folder + sub + separatorOf(style_)), namePart, true);
        }
        if (namePart.isEmpty())
            return;

        // A plain name is taken literally: no listing, and brackets in real
        // file names are not read as sets.
        if (!namePart.contains(QLatin1Char('*')) && !namePart.contains(QLatin1Char('?'))) {
            if (const auto found = fs_.findFirst(folder + namePart)) {
                if (!(found->attributes & platform::faDirectory))
                    add(folder + namePart, found->attributes);
                return;
            }
        }
        const engine::Mask mask(namePart);
        auto listing = fs_.list(folder);
        if (!listing)
            return;
        while (listing->next()) {
            const QStringView name = listing->name();
            if (name == u"." || name == u".." || listing->isDirectory())
                continue;
            if (mask.matches(name))
                add(folder + name.toString(), listing->attributes());
        }
    }

    void add(const QString& path, qint32 attributes) {
        const QString entry = folded(path);
        if (seen_.contains(entry) || entry == archivePath_)
            return;
        if (scope_ == BackupScope::Incremental && !(attributes & platform::faArchive))
            return;
        seen_.insert(entry);
        work_ << entry;
    }

    platform::FileSystem& fs_;
    const PathStyle style_;
    const BackupScope scope_;
    const QString archivePath_;
    QStringList work_;
    QSet<QString> seen_;
};

} // namespace

QStringList expand(platform::FileSystem& fs, PathStyle style, BackupScope scope,
                   const QStringList& entries, const QString& archivePath) {
    Expansion expansion(fs, style, scope, archivePath);
    for (const QString& entry : entries)
        expansion.expandEntry(entry);
    return expansion.takeWork();
}

} // namespace pylomir::backup
