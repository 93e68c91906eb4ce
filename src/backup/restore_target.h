// Where a restore puts a member, and whether it does: pure rules over path
// texts, so that both path styles can be checked on any machine.
#pragma once

#include "backup/archive_format.h"

#include <QString>

namespace pylomir::backup {

// What a restore does with a target file that exists already. The index the
// restore options pass through unchanged: 0..4.
enum class RestoreRule {
    Always = 0,           // restore
    IfMissing = 1,        // only where no file exists
    IfMissingOrOlder = 2, // where none exists or it is older than the stored copy
    IfExists = 3,         // only over an existing file
    IfExistsAndOlder = 4, // only over an existing file older than the stored copy
};

// Whether a member is restored over what is at its target now; "older"
// means the target's time is before the stored one.
bool targetWanted(RestoreRule rule, bool exists, bool older);

// The folder with a separator at its end; empty stays empty.
QString asFolder(const QString& folder, PathStyle style);

struct RestoreTarget {
    QString path;
    // The path would not lie below the target folder: the member is skipped.
    bool outside = false;
    // With no target folder: the stored name is not an absolute, normalised
    // path, so it would land where the name does not say; the member is skipped.
    bool irregular = false;
};

// The target of a member. With no target folder, the stored path itself,
// which must be absolute ("/..." or on Windows "c:\..." or "\\server\share\...")
// and hold no empty, "." or ".." part nor, on Windows, a ":" past the drive.
// Otherwise below targetFolder (ending with a separator): the member's file
// name, or with the folder tree its whole path without the drive ("c:\") or
// root ("/"). A target that climbs out ("..") or keeps an absolute part, a
// drive or a stream name (Windows), or names no file ("." or a trailing
// separator) is outside.
RestoreTarget restoreTarget(const QString& memberName, const QString& targetFolder, bool folderTree,
                            PathStyle style);

// Whether a folder is the base folder or lies below it; both resolved, as
// the file system's canonical paths.
bool isWithinFolder(const QString& folder, const QString& base, PathStyle style);

// The folder part of a path, without its last separator ("/a/b.txt" -> "/a").
QString parentFolder(const QString& path, PathStyle style);

} // namespace pylomir::backup
