// Opening files, folders and web links with the desktop's default handler.
#pragma once

#include <QString>

namespace pylomir::platform {

// A local path (file or folder) or a URL such as http://... or mailto:...;
// false when no handler took it.
bool shellOpen(const QString& pathOrUrl);

// Shows a plain-text file in a viewer window of its own without waiting:
// Notepad on Windows, elsewhere the desktop's program for the file.
bool openInTextViewer(const QString& path);

} // namespace pylomir::platform
