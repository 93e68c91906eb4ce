#include "backup/backup_sources.h"

#include "platform/file_system.h"

#include <QSet>

namespace pylomir::backup {

namespace {

char16_t caseFolded(QChar c) {
    return c.toCaseFolded().unicode();
}

// '*' and '?' over the whole name; a star that fails to place the rest moves
// on by one character, so the cost stays within mask length times name length.
bool wildcardMatch(QStringView mask, QStringView name) {
    qsizetype m = 0, n = 0;
    qsizetype starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() &&
                   (mask[m] == QLatin1Char('?') || caseFolded(mask[m]) == caseFolded(name[n]))) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

class Expander {
public:
    Expander(platform::FileSystem& fs, PathStyle style, BackupScope scope,
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

    Expansion take() { return std::move(result_); }

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
            if (auto listing = listed(folder)) {
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

        // A plain name is looked up as it is; only when that finds nothing
        // does the listing decide, without regard to case. A folder that
        // cannot be listed then only means the file is not there.
        const bool plain =
            !namePart.contains(QLatin1Char('*')) && !namePart.contains(QLatin1Char('?'));
        if (plain) {
            if (const auto found = fs_.findFirst(folder + namePart)) {
                if (!(found->attributes & platform::faDirectory))
                    add(folder + namePart, found->attributes, true);
                return;
            }
        }
        auto listing = plain ? fs_.list(folder) : listed(folder);
        if (!listing)
            return;
        while (listing->next()) {
            const QStringView name = listing->name();
            if (name == u"." || name == u".." || listing->isDirectory())
                continue;
            if (matchesWildcard(namePart, name))
                add(folder + name.toString(), listing->attributes(), plain);
        }
    }

    // A listing that a mask needs; a folder that cannot give one is noted once.
    std::unique_ptr<platform::DirListing> listed(const QString& folder) {
        auto listing = fs_.list(folder);
        if (!listing && !unlistableSeen_.contains(folder)) {
            unlistableSeen_.insert(folder);
            result_.unlistable << folder;
        }
        return listing;
    }

    void add(const QString& path, qint32 attributes, bool plain) {
        const QString entry = folded(path);
        if (entry == archivePath_) {
            // A mask passes over the archive; a name given for it is a mistake.
            if (plain && !result_.namingArchive.contains(entry))
                result_.namingArchive << entry;
            return;
        }
        if (seen_.contains(entry))
            return;
        if (scope_ == BackupScope::Incremental && !(attributes & platform::faArchive))
            return;
        seen_.insert(entry);
        result_.work << entry;
    }

    platform::FileSystem& fs_;
    const PathStyle style_;
    const BackupScope scope_;
    const QString archivePath_;
    Expansion result_;
    QSet<QString> seen_;
    QSet<QString> unlistableSeen_;
};

} // namespace

bool matchesWildcard(QStringView mask, QStringView name) {
    return wildcardMatch(mask, name) ||
           (mask.endsWith(u".*") && wildcardMatch(mask.chopped(2), name));
}

Expansion expandEntries(platform::FileSystem& fs, PathStyle style, BackupScope scope,
                        const QStringList& entries, const QString& archivePath) {
    Expander expander(fs, style, scope, archivePath);
    for (const QString& entry : entries)
        expander.expandEntry(entry);
    return expander.take();
}

} // namespace pylomir::backup
