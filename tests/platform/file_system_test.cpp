#include "platform/file_system.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

using namespace pylomir::platform;

namespace {

// Sets the process's time zone for one test and puts the old one back.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* tz)
        : old_(qgetenv("TZ")), hadOld_(qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", tz);
        ::tzset();
    }
    ~ZoneGuard() {
        if (hadOld_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        ::tzset();
    }

private:
    QByteArray old_;
    bool hadOld_;
};

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
    void makeLink(const QString& target, const QString& name) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), native(name).constData()), 0);
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
    };
    QHash<QString, Seen> listAll() const {
        QHash<QString, Seen> seen;
        auto listing = realFileSystem().list(tmp_.path() + QLatin1Char('/'));
        EXPECT_NE(listing, nullptr);
        if (!listing)
            return seen;
        while (listing->next())
            seen.insert(listing->name().toString(),
                        {listing->attributes(), listing->isDirectory(), listing->size()});
        return seen;
    }

    QTemporaryDir tmp_;
    FileSystem& fs_ = realFileSystem();
};

TEST_F(RealFileSystemTest, ListsEveryEntryWithDecodedNames) {
    // Names that take the ASCII path, the UTF-8 path after an ASCII start,
    // and one longer than the initial buffer.
    const QString longName = QString(100, QLatin1Char('a')) + QString(70, QChar(0x0105));
    const QStringList names = {QStringLiteral(".ukryty"),          QStringLiteral("plik.tmp"),
                               QStringLiteral("zażółć gęślą.log"), QStringLiteral("日本.txt"),
                               QStringLiteral("bez_kropki"),       longName};
    for (const QString& n : names)
        makeFile(n);
    ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("folder")));

    const auto seen = listAll();
    QSet<QString> expected(names.begin(), names.end());
    expected << QStringLiteral(".") << QStringLiteral("..") << QStringLiteral("folder");
    const auto keys = seen.keys();
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()), expected);
}

TEST_F(RealFileSystemTest, MapsPosixKindsAndPermissionsToAttributes) {
    makeFile(QStringLiteral("zwykly.txt"), "12345");
    makeFile(QStringLiteral(".ukryty"));
    makeFile(QStringLiteral("tylko.txt"));
    ASSERT_EQ(::chmod(native(QStringLiteral("tylko.txt")).constData(), 0444), 0);
    ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("zablokowany")));
    ASSERT_EQ(::chmod(native(QStringLiteral("zablokowany")).constData(), 0555), 0);
    makeLink(path(QStringLiteral("folder")), QStringLiteral("link_do_folderu"));
    makeLink(path(QStringLiteral("brak")), QStringLiteral("martwy_link"));
    ASSERT_EQ(::mkfifo(native(QStringLiteral("kolejka")).constData(), 0644), 0);

    struct Case {
        const char* name;
        qint32 attributes;
        bool isDirectory;
    };
    const Case cases[] = {
        {"zwykly.txt", faArchive, false},
        {".ukryty", faArchive | faHidden, false},
        {"tylko.txt", faArchive | faReadOnly, false},
        {"folder", faDirectory, true},
        {"zablokowany", faDirectory | faReadOnly, true},
        {"link_do_folderu", faArchive, false},
        {"martwy_link", faArchive, false},
        {"kolejka", faSysFile, false},
    };
    const auto seen = listAll();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromUtf8(c.name);
        ASSERT_TRUE(seen.contains(name));
        EXPECT_EQ(seen[name].attributes, c.attributes);
        EXPECT_EQ(seen[name].isDirectory, c.isDirectory);
        // findFirst looks the same entry up by path and must agree.
        const auto found = fs_.findFirst(path(name));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->name, name);
        EXPECT_EQ(found->attributes, c.attributes);
    }
    EXPECT_EQ(seen[QStringLiteral("zwykly.txt")].size, 5);
    EXPECT_EQ(seen[QStringLiteral("folder")].size, 0);

    // Sizes beyond 32 bits arrive whole (a sparse file costs nothing).
    const qint64 big = (qint64(1) << 32) + 5;
    ASSERT_EQ(::truncate(native(QStringLiteral("zwykly.txt")).constData(), big), 0);
    EXPECT_EQ(listAll()[QStringLiteral("zwykly.txt")].size, big);
}

TEST_F(RealFileSystemTest, ConvertsFileTimesToLocalCalendarTime) {
    // A fixed zone with daylight saving, so that a UTC conversion or a lost
    // offset shows.
    const ZoneGuard zone("CET-1CEST,M3.5.0,M10.5.0/3");

    makeFile(QStringLiteral("zima.txt"));
    makeFile(QStringLiteral("lato.txt"));
    // 2026-01-05 13:05:33.250 UTC (winter) and 2025-07-01 22:30:00 UTC (summer).
    const timespec winter[2] = {{1751409000, 0}, {1767618333, 250000000}};
    const timespec summer[2] = {{1767618333, 0}, {1751409000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, native(QStringLiteral("zima.txt")).constData(), winter, 0), 0);
    ASSERT_EQ(::utimensat(AT_FDCWD, native(QStringLiteral("lato.txt")).constData(), summer, 0), 0);

    const SystemTime winterLocal{2026, 1, 1, 5, 14, 5, 33, 250}; // Monday
    const SystemTime summerLocal{2025, 7, 3, 2, 0, 30, 0, 0};    // Wednesday, next day

    const auto w = fs_.findFirst(path(QStringLiteral("zima.txt")));
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(w->times.lastWrite, winterLocal);
    EXPECT_EQ(w->times.lastAccess, summerLocal);

    auto listing = fs_.list(tmp_.path() + QLatin1Char('/'));
    ASSERT_NE(listing, nullptr);
    bool sawSummer = false;
    while (listing->next()) {
        if (listing->name() != QLatin1String("lato.txt"))
            continue;
        sawSummer = true;
        const FileTimes t = listing->times();
        EXPECT_EQ(t.lastWrite, summerLocal);
        EXPECT_EQ(t.lastAccess, (SystemTime{2026, 1, 1, 5, 14, 5, 33, 0}));
        // Creation is the birth time (just now) where the file system keeps
        // one, otherwise the last write.
        if (t.creation != t.lastWrite) {
            const QDateTime created(QDate(t.creation.year, t.creation.month, t.creation.day),
                                    QTime(t.creation.hour, t.creation.minute, t.creation.second));
            EXPECT_LT(qAbs(created.secsTo(QDateTime::currentDateTime())), 600);
        }
    }
    EXPECT_TRUE(sawSummer);
}

TEST_F(RealFileSystemTest, LookUpsNeverFollowLinksAndFailForMissingPaths) {
    EXPECT_EQ(fs_.list(QString()), nullptr);
    EXPECT_EQ(fs_.list(path(QStringLiteral("brak/"))), nullptr);
    makeFile(QStringLiteral("cel.txt"), "123456789");
    makeLink(path(QStringLiteral("cel.txt")), QStringLiteral("link.txt"));
    ASSERT_TRUE(QDir(tmp_.path()).mkdir(QStringLiteral("folder")));

    EXPECT_FALSE(fs_.findFirst(path(QStringLiteral("brak.txt"))).has_value());
    EXPECT_FALSE(fs_.findFirst(QString()).has_value());
    EXPECT_FALSE(fs_.findFirst(path(QStringLiteral("folder/"))).has_value());
    const auto folder = fs_.findFirst(path(QStringLiteral("folder")));
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->attributes, faDirectory);
    // The link's own size (the length of the target path), not the target's.
    const auto link = fs_.findFirst(path(QStringLiteral("link.txt")));
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->size, QFile::encodeName(path(QStringLiteral("cel.txt"))).size());
}

TEST_F(RealFileSystemTest, SetAttributesChangesOnlyWritePermissions) {
    struct Case {
        mode_t before;
        qint32 attributes;
        mode_t after;
    };
    const Case cases[] = {
        {0444, 0, 0644},          // clearing gives the owner write, nothing else
        {0400, 0, 0600},          //
        {0755, 0, 0755},          // already writable: untouched
        {0666, faReadOnly, 0444}, // read-only takes every write bit
        {0440, faArchive, 0640},  // any set without read-only is writable
        {04555, 0, 04755},        // special bits survive
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.before << " " << c.attributes);
        makeFile(QStringLiteral("p"));
        ASSERT_EQ(::chmod(native(QStringLiteral("p")).constData(), c.before), 0);
        EXPECT_TRUE(fs_.setAttributes(path(QStringLiteral("p")), c.attributes));
        EXPECT_EQ(modeOf(QStringLiteral("p")), c.after);
        ASSERT_TRUE(QFile::remove(path(QStringLiteral("p"))));
    }
    EXPECT_FALSE(fs_.setAttributes(path(QStringLiteral("brak")), 0));
}

TEST_F(RealFileSystemTest, LinksAreChangedAndRemovedWithoutTouchingTheirTargets) {
    makeFile(QStringLiteral("cel.txt"), "dane");
    ASSERT_EQ(::chmod(native(QStringLiteral("cel.txt")).constData(), 0444), 0);
    makeLink(path(QStringLiteral("cel.txt")), QStringLiteral("link.txt"));
    ASSERT_TRUE(QDir(tmp_.path()).mkpath(QStringLiteral("folder/w_srodku")));
    makeLink(path(QStringLiteral("folder")), QStringLiteral("link_folder"));

    fs_.setAttributes(path(QStringLiteral("link.txt")), 0);
    EXPECT_EQ(modeOf(QStringLiteral("cel.txt")), mode_t(0444));

    EXPECT_TRUE(fs_.removeFile(path(QStringLiteral("link.txt"))));
    EXPECT_TRUE(fs_.removeFile(path(QStringLiteral("link_folder"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("link.txt"))));
    EXPECT_FALSE(QFileInfo(path(QStringLiteral("link_folder"))).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("cel.txt"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("folder/w_srodku"))));

    // Folders are never removed, and a missing file is a failure.
    EXPECT_FALSE(fs_.removeFile(path(QStringLiteral("folder"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("folder"))));
    EXPECT_FALSE(fs_.removeFile(path(QStringLiteral("brak.txt"))));
}

} // namespace
