// The folder-tree walker: TFileSearch (the traversal) and TEasyFileSearch
// (the component that carries the settings and relays the events).
#pragma once

#include "engine/mask.h"
#include "engine/message_pump.h"
#include "platform/file_system.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

namespace pylomir::engine {

using platform::SystemTime;

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;
TDateTime dateTimeFromQt(const QDateTime& dt);
TDateTime today(); // now, from the system clock

enum TOption : quint8 {
    okIncludeSubfolder = 1 << 0,
    okLookForReadOnlyFile = 1 << 1,
    okLookForHiddenFile = 1 << 2,
    okLookForSystemFile = 1 << 3,
    okLookForDirectory = 1 << 4,
    okLookForArchiveFile = 1 << 5,
    okLookForAnyFile = 1 << 6,
};
using TOptions = quint8; // a set of TOption bits
constexpr TOptions allOptions = 0x7f;

enum TFilterKindBit : quint8 { fkFilterOnDate = 1 << 0, fkFilterOnSize = 1 << 1 };
using TFilter = quint8; // a set of TFilterKindBit bits

enum class TDateFilterAccessKind {
    dfakCreatedFiles,
    dfakModifiedFiles,
    dfakOpenedFiles,
    dfakAnyFiles
};
enum class TDateFilterKind { dfkBetween, dfkBefore, dfkAfter, dfkSame };
enum class TSizeFilterKind { sfkSmallerOrEqualTo, sfkBiggerOrEqualTo };

struct TFileInformations {
    QString Name; // as listed, without folder
    QString Path; // the folder listed, ending with the separator
    qint32 Attributes = 0;
    qint32 Size = 0; // low 32 bits of the size; 0 for folders
    SystemTime CreationTime;
    SystemTime LastAccessTime;
    SystemTime LastWriteTime;
};

struct TStatistics {
    qint32 FilesFound = 0;
    qint32 FoldersWithFiles = 0;
    qint32 DirectoriesFound = 0;
    qint32 ElapsedMs = 0;
};

class TEasyFileSearch;

// Callbacks receive the owner as sender.
using TOnFileFound = std::function<void(TEasyFileSearch* sender, TFileInformations& FileFound)>;
using TOnAcceptFile = std::function<bool(TEasyFileSearch* sender, TFileInformations& FileFound)>;
using TOnChangeFolder = std::function<void(TEasyFileSearch* sender, const QString& NewPath)>;
using TOnStatistics = std::function<void(TEasyFileSearch* sender, TStatistics& Stats)>;

// What the traversal needs from outside: the file system, the tick clock and
// the message hook.
struct SearchEnvironment {
    platform::FileSystem* fileSystem = nullptr; // the real one when null
    quint32 (*tickCount)() = nullptr;           // the system clock when null
    MessagePump* pump = nullptr;                // no message processing when null
};

// The traversal engine, settings in flat form.
class TFileSearch {
public:
    TFileSearch();
    virtual ~TFileSearch();

    bool IncludeSubfolder = false;
    bool LookForReadOnly = true;
    bool LookForHidden = true;
    bool LookForSystem = true;
    bool LookForDirectory = true;
    bool LookForArchive = true;
    bool LookForAnyFile = true;
    bool FilterOnDate = false;
    bool FilterOnSize = false;
    TDateFilterAccessKind DateAccess = TDateFilterAccessKind::dfakAnyFiles;
    TDateFilterKind DateKind = TDateFilterKind::dfkBefore;
    TDateTime FirstDate = 0;
    TDateTime SecondDate = 0;
    TSizeFilterKind SizeKind = TSizeFilterKind::sfkSmallerOrEqualTo;
    qint32 SizeFilterSize = 0;
    QStringList FileNames;
    QString RootPath;
    QStringList ExcludedFiles;

    std::function<void(TFileInformations&)> onFound;
    std::function<void(const QString&)> onChangeFolder;
    std::function<void(TStatistics&)> onStatistics;
    std::function<bool(TFileInformations&)> onAccept; // unset accepts

    SearchEnvironment environment;

    // False exactly when a folder could not be listed. Throws MaskError.
    bool Search();
};

// The component: published settings, defaults, and relayed events.
class TEasyFileSearch {
public:
    explicit TEasyFileSearch(void* owner = nullptr);
    ~TEasyFileSearch();
    TEasyFileSearch(const TEasyFileSearch&) = delete;
    TEasyFileSearch& operator=(const TEasyFileSearch&) = delete;

    QString Version() const { return QStringLiteral("TEasyFileSearch v1.03"); }
    void setVersion(const QString&) {} // ignored

    TOptions SearchOptions = allOptions;
    TFilter FilterKind = 0;
    TDateFilterAccessKind DateFilterFileAccess = TDateFilterAccessKind::dfakAnyFiles;
    TDateFilterKind DateFilterKind = TDateFilterKind::dfkSame;
    TDateTime DateFilterFirstDate;
    TDateTime DateFilterSecondDate;
    TSizeFilterKind SizeFilterKind = TSizeFilterKind::sfkSmallerOrEqualTo;
    qint32 SizeFilterSize = 0;

    const QStringList& ExcludedFiles() const { return excluded_; }
    void setExcludedFiles(const QStringList& list) { excluded_ = list; }
    QStringList& excludedFilesRef() { return excluded_; }
    // Reading the wanted list processes pending messages first; callers fill it in place.
    QStringList& FileNames();
    void setFileNames(const QStringList& list) { fileNames_ = list; }

    QString RootPath() const;
    void setRootPath(const QString& path);

    TOnFileFound OnFileFound;
    TOnAcceptFile OnAcceptFile;
    TOnChangeFolder OnChangeFolder;
    TOnStatistics OnStatistics;

    // The file system, clock and message hook the searches use.
    void setEnvironment(const SearchEnvironment& env);
    const SearchEnvironment& environment() const;

    // Copies the settings into the engine, processes pending messages once
    // and runs the engine. False exactly when a folder could not be listed.
    // Throws MaskError.
    bool Search();

private:
    TFileSearch* engine_;
    QStringList excluded_;
    QStringList fileNames_{QStringLiteral("*.*")};
};

} // namespace pylomir::engine
