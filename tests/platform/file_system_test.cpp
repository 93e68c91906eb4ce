#include "platform/file_system.h"

#include "env_guard.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    QHash<QString, Seen> listAll() const {
        QHash<QString, Seen> seen;
        auto listing = realFileSystem().list(tmp_.path() + QLatin1Char('/'));
        EXPECT_NE(listing, nullptr);
        while (listing && listing->next())
            seen.insert(listing->name().toString(), {listing->attributes(), listing->isDirectory(),
                                                     listing->size(), listing->times()});
        return seen;
    }

    QTemporaryDir tmp_;
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

    // Sizes beyond 32 bits arrive whole (a sparse file costs nothing).
    const qint64 big = (qint64(1) << 32) + 5;
    ASSERT_EQ(::truncate(native("zwykly.txt").constData(), big), 0);
    EXPECT_EQ(listAll()["zwykly.txt"].size, big);
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

    const QDateTime when(QDate(2020, 2, 3), QTime(4, 5, 6));
    {
        auto file = fs_.openForWriting(path("t.txt"), WriteMode::Truncate);
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
