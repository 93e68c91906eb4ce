#include "platform/file_names.h"
#include "platform/file_system.h"

#include "env_guard.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pylomir::platform;

namespace {

class RealFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }

    QString path(const QString& name) const { return tmp_.path() + QLatin1Char('/') + name; }
    QByteArray native(const QString& name) const { return QFile::encodeName(path(name)); }
    void makeFile(const QString& name, const QByteArray& content = "x") const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    void makeDir(const QString& name) const { ASSERT_TRUE(QDir(tmp_.path()).mkpath(name)); }
    void makeLink(const QString& target, const QString& name) const {
        ASSERT_EQ(::symlink(native(target).constData(), native(name).constData()), 0);
    }
    void chmod(const QString& name, mode_t mode) const {
        ASSERT_EQ(::chmod(native(name).constData(), mode), 0);
    }
    QByteArray contentOf(const QString& name) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return f.readAll();
    }
    QStringList entries() const {
        return QDir(tmp_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    mode_t modeOf(const QString& name) const {
        struct stat st;
        EXPECT_EQ(::lstat(native(name).constData(), &st), 0);
        return st.st_mode & 07777;
    }

    struct Seen {
        qint32 attributes;
        bool isDirectory;
        qint64 size;
        FileTimes times;
    };
    QHash<QString, Seen> listAll(bool ahead = false) const {
        QHash<QString, Seen> seen;
        const QString folder = tmp_.path() + QLatin1Char('/');
        auto listing = ahead ? realFileSystem().listAhead(folder) : realFileSystem().list(folder);
        EXPECT_NE(listing, nullptr);
        while (listing && listing->next())
            seen.insert(listing->name().toString(), {listing->attributes(), listing->isDirectory(),
                                                     listing->size(), listing->times()});
        return seen;
    }

    pylomir::testing::TempDir tmp_;
    FileSystem& fs_ = realFileSystem();
};

TEST_F(RealFileSystemTest, ListsEveryKindWithDecodedNamesAndWindowsAttributes) {
    // Names for the ASCII path, UTF-8 after an ASCII start, and one past the initial buffer.
    const QString longName = QString(100, QLatin1Char('a')) + QString(70, QChar(0x0105));
    for (const QString& n : {QString("zwykly.txt"), QString(".ukryty"), QString("zażółć.log"),
                             QString("tylko.txt"), longName})
        makeFile(n, "12345");
    chmod("tylko.txt", 0444);
    makeDir("日本");
    makeDir("zablokowany");
    chmod("zablokowany", 0555);
    makeLink("日本", "link_do_folderu");
    makeLink("brak", "martwy_link");
    ASSERT_EQ(::mkfifo(native("kolejka").constData(), 0644), 0);

    const struct {
        QString name;
        qint32 attributes;
    } cases[] = {
        {"zwykly.txt", faArchive},
        {".ukryty", faArchive | faHidden},
        {"zażółć.log", faArchive},
        {longName, faArchive},
        {"tylko.txt", faArchive | faReadOnly},
        {"日本", faDirectory},
        {"zablokowany", faDirectory | faReadOnly},
        {"link_do_folderu", faArchive},
        {"martwy_link", faArchive},
        {"kolejka", faSysFile},
    };
    const auto seen = listAll();
    EXPECT_EQ(seen.size(), qsizetype(std::size(cases)) + 2); // with "." and ".."
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ASSERT_TRUE(seen.contains(c.name));
        EXPECT_EQ(seen[c.name].attributes, c.attributes);
        EXPECT_EQ(seen[c.name].isDirectory, (c.attributes & faDirectory) != 0);
        // findFirst looks the same entry up by path and must agree.
        const auto found = fs_.findFirst(path(c.name));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->name, c.name);
        EXPECT_EQ(found->attributes, c.attributes);
    }
    EXPECT_EQ(seen["zwykly.txt"].size, 5);
    EXPECT_EQ(seen["日本"].size, 0);

    // A listing read ahead tells every entry alike.
    ASSERT_TRUE(fs_.listsAhead());
    const auto ahead = listAll(true);
    ASSERT_EQ(ahead.size(), seen.size());
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        SCOPED_TRACE(it.key().toStdString());
        ASSERT_TRUE(ahead.contains(it.key()));
        EXPECT_EQ(ahead[it.key()].attributes, it->attributes);
        EXPECT_EQ(ahead[it.key()].isDirectory, it->isDirectory);
        EXPECT_EQ(ahead[it.key()].size, it->size);
        EXPECT_EQ(ahead[it.key()].times.lastWrite, it->times.lastWrite);
    }

    // Sizes beyond 32 bits arrive whole (a sparse file costs nothing).
    const qint64 big = (qint64(1) << 32) + 5;
    ASSERT_EQ(::truncate(native("zwykly.txt").constData(), big), 0);
    EXPECT_EQ(listAll()["zwykly.txt"].size, big);
}

TEST_F(RealFileSystemTest, ListingReadAheadKeepsNamesOfEntriesRemovedSince) {
    makeFile("zniknie.tmp", "12345");
    makeDir("folder");
    auto listing = fs_.listAhead(tmp_.path() + QLatin1Char('/'));
    ASSERT_NE(listing, nullptr);
    ASSERT_TRUE(QFile::remove(path("zniknie.tmp")));
    ASSERT_TRUE(QDir(tmp_.path()).rmdir("folder"));
    QStringList names;
    while (listing->next()) {
        const QString name = listing->name().toString();
        if (name == "." || name == "..")
            continue;
        names << name;
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(listing->detailsKnown());
        EXPECT_EQ(listing->size(), 0);
        const bool isFolder = name == "folder";
        EXPECT_EQ(listing->isDirectory(), isFolder);
        EXPECT_EQ(listing->attributes(), isFolder ? faDirectory : faArchive);
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"folder", "zniknie.tmp"}));
    EXPECT_EQ(fs_.listAhead(path("brak/")), nullptr);
}

TEST_F(RealFileSystemTest, ClearingChangesOnlyWhatItCanWrite) {
    const struct {
        qint32 attributes;
        bool changes;
    } cases[] = {
        {faArchive, false}, {faArchive | faHidden, false},  {faDirectory, false},
        {faSysFile, false}, {faArchive | faReadOnly, true}, {faDirectory | faReadOnly, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fs_.clearingChanges(c.attributes), c.changes) << c.attributes;
        // What setAttributes then does agrees.
        makeFile("plik.txt");
        chmod("plik.txt", c.attributes & faReadOnly ? 0444 : 0644);
        const mode_t before = modeOf("plik.txt");
        ASSERT_TRUE(fs_.setAttributes(path("plik.txt"), 0));
        EXPECT_EQ(modeOf("plik.txt") != before, c.changes) << c.attributes;
    }
}

TEST_F(RealFileSystemTest, ConvertsFileTimesToLocalCalendarTime) {
    // A zone with daylight saving, so that a UTC conversion or a lost offset shows.
    const EnvGuard zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    makeFile("zima.txt");
    makeFile("lato.txt");
    // 2026-01-05 13:05:33.250 UTC (winter) and 2025-07-01 22:30:00 UTC (summer).
    const timespec winter[2] = {{1751409000, 0}, {1767618333, 250000000}};
    const timespec summer[2] = {{1767618333, 0}, {1751409000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, native("zima.txt").constData(), winter, 0), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, native("lato.txt").constData(), summer, 0), 0);
    const SystemTime winterLocal{2026, 1, 1, 5, 14, 5, 33, 250}; // Monday
    const SystemTime summerLocal{2025, 7, 3, 2, 0, 30, 0, 0};    // Wednesday, next day

    const auto seen = listAll();
    EXPECT_EQ(seen["zima.txt"].times.lastWrite, winterLocal);
    const FileTimes t = seen["lato.txt"].times;
    EXPECT_EQ(t.lastWrite, summerLocal);
    EXPECT_EQ(t.lastAccess, (SystemTime{2026, 1, 1, 5, 14, 5, 33, 0}));
    // findFirst converts the same way.
    EXPECT_EQ(fs_.findFirst(path("zima.txt")).value().times.lastWrite, winterLocal);
    // Creation is the birth time (just now) where kept, otherwise the last write.
    EXPECT_TRUE(t.creation == t.lastWrite || t.creation.year == QDate::currentDate().year());
}

TEST_F(RealFileSystemTest, SetAttributesChangesOnlyWritePermissions) {
    const struct {
        mode_t before;
        qint32 attributes;
        mode_t after;
    } cases[] = {
        {0444, 0, 0644},          // clearing gives the owner write, nothing else
        {0755, 0, 0755},          // already writable: untouched
        {0666, faReadOnly, 0444}, // read-only takes every write bit
        {0440, faArchive, 0640},  // any set without read-only is writable
        {04555, 0, 04755},        // special bits survive
    };
    makeFile("p");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.before << " " << c.attributes);
        chmod("p", c.before);
        EXPECT_TRUE(fs_.setAttributes(path("p"), c.attributes));
        EXPECT_EQ(modeOf("p"), c.after);
    }
}

TEST_F(RealFileSystemTest, LinksAreLookedUpChangedAndRemovedWithoutTouchingTheirTargets) {
    makeFile("cel.txt", "123456789");
    chmod("cel.txt", 0444);
    makeLink("cel.txt", "link.txt");
    makeDir("folder/w_srodku");
    makeLink("folder", "link_folder");

    // The link's own size (the length of the target path), not the target's.
    const auto link = fs_.findFirst(path("link.txt"));
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->size, native("cel.txt").size());
    fs_.setAttributes(path("link.txt"), 0);
    EXPECT_EQ(modeOf("cel.txt"), mode_t(0444));
    EXPECT_TRUE(fs_.removeFile(path("link.txt")));
    EXPECT_TRUE(fs_.removeFile(path("link_folder")));
    EXPECT_FALSE(QFileInfo(path("link.txt")).isSymLink());
    EXPECT_FALSE(QFileInfo(path("link_folder")).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(path("cel.txt")));
    EXPECT_TRUE(QFileInfo::exists(path("folder/w_srodku")));
    // Folders are never removed.
    EXPECT_FALSE(fs_.removeFile(path("folder")));
    EXPECT_TRUE(QFileInfo::exists(path("folder")));
}

TEST_F(RealFileSystemTest, FilesAreWrittenReplacedAndLookedUp) {
    const auto write = [&](const QString& name, WriteMode mode, const QByteArray& bytes,
                           bool finish) {
        auto file = fs_.openForWriting(path(name), mode);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->device().write(bytes), bytes.size());
        if (finish) {
            EXPECT_TRUE(file->finish());
        }
    };
    write("a.txt", WriteMode::Truncate, "abc", true);
    write("a.txt", WriteMode::Append, "de", true);
    write("a.txt", WriteMode::Replace, "nowe", false); // not finished: the old file stays
    auto in = fs_.openForReading(path("a.txt"));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->readAll(), QByteArray("abcde"));
    write("a.txt", WriteMode::Replace, "nowe", true);
    EXPECT_EQ(fs_.openForReading(path("a.txt"))->readAll(), QByteArray("nowe"));
    EXPECT_EQ(QDir(tmp_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.txt"});

    // A replacing file that is handed to the disk in steps while it grows,
    // through small writes and ones larger than a step.
    QByteArray big(19 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7919) >> 5);
    {
        auto file = fs_.openForWriting(path("a.txt"), WriteMode::Replace);
        ASSERT_NE(file, nullptr);
        const qsizetype pieces[] = {3, 70'001, 9 << 20};
        for (qsizetype at = 0, i = 0; at < big.size(); ++i) {
            const qsizetype n = std::min(pieces[i % 3], big.size() - at);
            ASSERT_EQ(file->device().write(big.constData() + at, n), n);
            at += n;
        }
        EXPECT_TRUE(file->finish());
    }
    EXPECT_EQ(fs_.openForReading(path("a.txt"))->readAll(), big);

    const QDateTime when(QDate(2020, 2, 3), QTime(4, 5, 6, 700));
    for (const WriteMode mode : {WriteMode::Truncate, WriteMode::Replace}) {
        {
            auto file = fs_.openForWriting(path("t.txt"), mode);
            ASSERT_NE(file, nullptr);
            file->device().write("x");
            EXPECT_TRUE(file->setModifiedTime(when));
            EXPECT_TRUE(file->finish());
        }
        const auto status = fs_.status(path("t.txt"));
        ASSERT_TRUE(status.has_value());
        EXPECT_TRUE(status->isFile && !status->isFolder);
        EXPECT_EQ(status->size, 1);
        EXPECT_EQ(status->modified, when);
    }

    EXPECT_TRUE(fs_.createFolder(path("x/y/z")));
    EXPECT_TRUE(fs_.status(path("x/y/z"))->isFolder);
    EXPECT_FALSE(fs_.createFolder(path("t.txt/sub"))); // a file is in the way
    makeLink("x", "link_x");
    EXPECT_TRUE(fs_.isLink(path("link_x")));
    EXPECT_FALSE(fs_.isLink(path("x")));
    EXPECT_EQ(fs_.canonicalPath(path("link_x/y")), fs_.canonicalPath(path("x/y")));
    EXPECT_EQ(fs_.canonicalPath(path("brak")), QString());

    QString temporary;
    {
        auto file = fs_.createTemporaryFile(QStringLiteral("FID"));
        ASSERT_NE(file, nullptr);
        temporary = file->path();
        EXPECT_TRUE(QFileInfo(temporary).fileName().startsWith(QStringLiteral("FID")));
        file->device().write("lista");
        EXPECT_TRUE(file->finish());
        EXPECT_EQ(fs_.openForReading(temporary)->readAll(), QByteArray("lista"));
    }
    EXPECT_FALSE(QFileInfo::exists(temporary)); // gone with its owner
}

TEST_F(RealFileSystemTest, ReplaceTakesTheNamesPlaceAndNeverWritesThroughALink) {
    enum Kind { File, SymbolicLink, HardLink, Missing };
    const struct {
        Kind kind;
        bool finish;
    } cases[] = {
        {File, true},     {File, false},     {SymbolicLink, true}, {SymbolicLink, false},
        {HardLink, true}, {HardLink, false}, {Missing, true},      {Missing, false},
    };
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // Every case in both replacing modes: waiting for the disk or not.
    const int n = int(std::size(cases));
    for (int i = 0; i < 2 * n; ++i) {
        const auto& c = cases[i % n];
        const WriteMode mode = i < n ? WriteMode::Replace : WriteMode::ReplaceUnsynced;
        SCOPED_TRACE(testing::Message()
                     << "kind " << c.kind << " finish " << c.finish << " mode " << int(mode));
        QDir(tmp_.path()).removeRecursively();
        QDir().mkpath(tmp_.path());
        makeFile("inny.txt", "cudzy");
        chmod("inny.txt", 0640);
        if (c.kind == File) {
            makeFile("cel.txt", "stary");
        } else if (c.kind == SymbolicLink)
            makeLink("inny.txt", "cel.txt");
        else if (c.kind == HardLink) {
            ASSERT_EQ(::link(native("inny.txt").constData(), native("cel.txt").constData()), 0);
        }
        if (c.kind == File) {
            chmod("cel.txt", 0604);
        }
        const QStringList before = entries();
        {
            auto file = fs_.openForWriting(path("cel.txt"), mode);
            ASSERT_NE(file, nullptr);
            EXPECT_EQ(file->path(), path("cel.txt"));
            EXPECT_EQ(file->device().write("nowa treść"), qint64(sizeof("nowa treść") - 1));
            if (c.finish) {
                EXPECT_TRUE(file->finish());
            }
        }
        // What lies behind a link is never touched.
        EXPECT_EQ(contentOf("inny.txt"), QByteArray("cudzy"));
        EXPECT_EQ(modeOf("inny.txt"), mode_t(0640));
        if (!c.finish) {
            // The old entry stays as it was and no temporary file is left.
            EXPECT_EQ(entries(), before);
            EXPECT_EQ(QFileInfo(path("cel.txt")).isSymLink(), c.kind == SymbolicLink);
            if (c.kind == File) {
                EXPECT_EQ(contentOf("cel.txt"), QByteArray("stary"));
            }
            continue;
        }
        EXPECT_EQ(entries(), (QStringList{"cel.txt", "inny.txt"}));
        EXPECT_FALSE(QFileInfo(path("cel.txt")).isSymLink());
        EXPECT_EQ(contentOf("cel.txt"), QByteArray("nowa treść"));
        // A replaced file keeps its permissions (a hard link those of the file
        // it shares); anything else gets a new file's.
        const mode_t kept[] = {0604, 0666 & ~mask, 0640, 0666 & ~mask};
        EXPECT_EQ(modeOf("cel.txt"), kept[c.kind]);
    }
}

TEST_F(RealFileSystemTest, ReplaceThatCannotTakeThePlaceLeavesNothingBehind) {
    makeDir("folder");
    auto file = fs_.openForWriting(path("folder"), WriteMode::Replace);
    ASSERT_NE(file, nullptr);
    file->device().write("x");
    EXPECT_FALSE(file->finish());
    EXPECT_FALSE(file->errorString().isEmpty());
    EXPECT_EQ(entries(), QStringList{"folder"});
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());

    QString reason;
    EXPECT_EQ(fs_.openForWriting(path("brak/plik"), WriteMode::Replace, &reason), nullptr);
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(RealFileSystemTest, ReadingRefusesAnythingButARegularFileWithoutBlocking) {
    makeFile("plik.txt", "treść");
    makeLink("plik.txt", "link.txt");
    makeDir("folder");
    ASSERT_EQ(::mkfifo(native("kolejka").constData(), 0644), 0);

    const auto readable = [&](const QString& p) {
        // A FIFO without a writer would block a plain open for good; the
        // look-up runs apart so that such a fault fails instead of hanging.
        auto done = std::make_shared<std::promise<std::pair<bool, QString>>>();
        auto result = done->get_future();
        std::thread([this, p, done] {
            QString reason;
            const auto in = fs_.openForReading(p, &reason);
            done->set_value({in && in->readAll() == QByteArray("treść"), reason});
        }).detach();
        if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "blocked on " << p.toStdString();
            return std::pair<bool, QString>{false, QStringLiteral("blocked")};
        }
        return result.get();
    };
    EXPECT_TRUE(readable(path("plik.txt")).first);
    EXPECT_TRUE(readable(path("link.txt")).first); // reading through a link is fine
    for (const QString& p : {path("kolejka"), path("folder"), QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(p.toStdString());
        const auto [ok, reason] = readable(p);
        EXPECT_FALSE(ok);
        EXPECT_EQ(reason, QStringLiteral("Not a regular file"));
    }
}

TEST_F(RealFileSystemTest, ReadingSeeksPeeksAndEndsAsAFileDoes) {
    QByteArray bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += char('a' + i % 23);
    makeFile("duzy.bin", bytes);
    const auto in = fs_.openForReading(path("duzy.bin"));
    ASSERT_NE(in, nullptr);
    EXPECT_FALSE(in->isSequential());
    EXPECT_EQ(in->size(), bytes.size());
    EXPECT_EQ(in->read(100), bytes.left(100));
    EXPECT_EQ(in->peek(10), bytes.mid(100, 10));
    EXPECT_EQ(in->pos(), 100);
    ASSERT_TRUE(in->seek(40000));
    EXPECT_EQ(in->readAll(), bytes.mid(40000));
    EXPECT_TRUE(in->atEnd());
    EXPECT_EQ(in->read(10), QByteArray());
    ASSERT_TRUE(in->seek(7));
    EXPECT_EQ(in->read(5), bytes.mid(7, 5));
    EXPECT_FALSE(in->seek(-1));
    in->close();
    EXPECT_FALSE(in->isOpen());
}

// Names are bytes here; those that are not UTF-8 must still reach the very
// same entry through every call, and two of them never become one.
TEST_F(RealFileSystemTest, NamesThatAreNotUtf8ReachTheirOwnEntries) {
    // The scan's calls (listing, look-ups, removal) are covered end to end
    // by the name tests of the window; these are the rest.
    const QByteArray root = QFile::encodeName(tmp_.path()) + '/';
    const auto rawPath = [&](const QByteArray& name) { return decodeFileName(root + name); };
    ASSERT_EQ(::mkdir(root + "d\xFF", 0755), 0);
    ASSERT_EQ(::symlink("d\xFF", root + "l\xFF"), 0);
    for (const WriteMode mode : {WriteMode::Truncate, WriteMode::Append, WriteMode::Replace}) {
        auto out = fs_.openForWriting(rawPath("d\xFF/n\xFE"), mode);
        ASSERT_NE(out, nullptr);
        out->device().write("+");
        EXPECT_TRUE(out->finish());
    }
    struct stat st;
    ASSERT_EQ(::lstat(root + "d\xFF/n\xFE", &st), 0);
    EXPECT_EQ(st.st_size, 1);
    EXPECT_EQ(fs_.openForReading(rawPath("l\xFF/n\xFE"))->readAll(), QByteArray("+"));
    EXPECT_TRUE(fs_.status(rawPath("l\xFF/n\xFE")).value().isFile);
    EXPECT_TRUE(fs_.status(rawPath("d\xFF")).value().isFolder);
    EXPECT_TRUE(fs_.isLink(rawPath("l\xFF")));
    EXPECT_EQ(fs_.canonicalPath(rawPath("l\xFF/n\xFE")),
              decodeFileName(QFile::encodeName(QFileInfo(tmp_.path()).canonicalFilePath()) +
                             "/d\xFF/n\xFE"));
    EXPECT_TRUE(fs_.createFolder(rawPath("d\xFF/e\xFE/f")));
    ASSERT_EQ(::lstat(root + "d\xFF/e\xFE/f", &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(RealFileSystemTest, AbsolutePathsKeepTheCurrentFoldersBytes) {
    const QByteArray folder = QFile::encodeName(tmp_.path()) + "/c\xFF";
    ASSERT_EQ(::mkdir(folder, 0755), 0);
    char* before = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(folder), 0);
    char* cwd = ::getcwd(nullptr, 0);
    const QString here = decodeFileName(QByteArrayView(cwd));
    ::free(cwd);
    const QString rel = absolutePath(QStringLiteral("x/../y/"));
    const QString dot = absolutePath(QStringLiteral("."));
    ASSERT_EQ(::chdir(before), 0);
    ::free(before);
    EXPECT_EQ(rel, here + "/y/");
    EXPECT_EQ(dot, here);
    EXPECT_EQ(absolutePath(QStringLiteral("/a//b/./c")), QStringLiteral("/a/b/c"));
    EXPECT_EQ(absolutePath(QString()), QString());
}

TEST_F(RealFileSystemTest, MissingPathsFail) {
    makeDir("folder");
    EXPECT_EQ(fs_.findFirst(path("folder"))->size, 0); // found, but folders have no size
    EXPECT_EQ(fs_.list(QString()), nullptr);
    EXPECT_EQ(fs_.list(path("brak/")), nullptr);
    // A folder with its trailing separator names no entry, as with FindFirstFile.
    for (const QString& missing : {QString(), path("brak.txt"), path("folder/")}) {
        EXPECT_FALSE(fs_.findFirst(missing).has_value()) << missing.toStdString();
        EXPECT_FALSE(fs_.findSize(missing).has_value()) << missing.toStdString();
        EXPECT_EQ(fs_.status(missing).has_value(), missing.endsWith('/')) << missing.toStdString();
        QString reason;
        EXPECT_EQ(fs_.openForReading(missing, &reason), nullptr) << missing.toStdString();
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_FALSE(fs_.setAttributes(path("brak"), 0));
    EXPECT_FALSE(fs_.removeFile(path("brak.txt")));
}

} // namespace

namespace {

TEST_F(RealFileSystemTest, TrashTakesEntriesBesideTheirRecords) {
    const QByteArray root = QFile::encodeName(tmp_.path()) + '/';
    const EnvGuard dataHome("XDG_DATA_HOME", root + "data");
    // Read by its bytes: Qt's file names are UTF-8.
    const auto record = [&](const QByteArray& name) {
        const int fd = ::open(root + "data/Trash/info/" + name + ".trashinfo", O_RDONLY);
        QByteArray text(4096, '\0');
        const ssize_t n = fd < 0 ? -1 : ::read(fd, text.data(), size_t(text.size()));
        if (fd >= 0)
            ::close(fd);
        return n < 0 ? QByteArray("<missing>") : text.left(n);
    };
    const auto trashed = [&](const QByteArray& name) {
        struct stat st;
        return ::lstat(root + "data/Trash/files/" + name, &st) == 0;
    };

    // The same name twice: the second gets a name of its own.
    for (const QByteArray content : {"1", "2"}) {
        makeFile("a.txt", content);
        EXPECT_TRUE(fs_.moveToTrash(path("a.txt")));
    }
    EXPECT_EQ(contentOf("data/Trash/files/a.txt"), "1");
    EXPECT_EQ(contentOf("data/Trash/files/a.txt.2"), "2");
    EXPECT_FALSE(QFile::exists(path("a.txt")));
    const QByteArray info = record("a.txt.2");
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + root + "a.txt\nDeletionDate=20"))
        << info.constData();
    EXPECT_EQ(modeOf("data/Trash/info") & 0777, 0700u);

    // A link goes itself; its target stays.
    makeFile("target");
    makeLink("target", "link");
    EXPECT_TRUE(fs_.moveToTrash(path("link")));
    EXPECT_TRUE(trashed("link"));
    EXPECT_EQ(contentOf("target"), "x");

    // A name that is not UTF-8 keeps its bytes, escaped in the record.
    ASSERT_EQ(::close(::open(root + "n\xFF", O_CREAT | O_WRONLY, 0600)), 0);
    EXPECT_TRUE(fs_.moveToTrash(decodeFileName(root + "n\xFF")));
    EXPECT_TRUE(trashed("n\xFF"));
    EXPECT_TRUE(record("n\xFF").contains("\nPath=" + root + "n%FF\n"));

    QString reason;
    EXPECT_FALSE(fs_.moveToTrash(path("missing"), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(RealFileSystemTest, TrashThatCannotBeMadeLeavesTheFile) {
    makeFile("Trash", "a file where the trash would be");
    makeFile("keep.txt");
    const EnvGuard dataHome("XDG_DATA_HOME", QFile::encodeName(tmp_.path()));
    QString reason;
    EXPECT_FALSE(fs_.moveToTrash(path("keep.txt"), &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(contentOf("keep.txt"), "x");
    EXPECT_EQ(entries(), (QStringList{"Trash", "keep.txt"}));
}

} // namespace
