#include "records/record_file.h"

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace pylomir::records {

bool writeRecordFile(platform::FileSystem& fs, const QString& path, const QStringList& lines,
                     QString& reason) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    const QByteArray bytes = platform::encodeText(text);
    const auto file = fs.openForWriting(path, platform::WriteMode::Replace, &reason);
    if (!file)
        return false;
    if (file->device().write(bytes) != bytes.size() || !file->finish()) {
        reason = file->errorString();
        return false;
    }
    return true;
}

} // namespace pylomir::records
