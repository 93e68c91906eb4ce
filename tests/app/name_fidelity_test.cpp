// Names as the file system holds them: bytes that are not UTF-8, and names
// that differ only in letter case, found, shown, deleted, archived and
// restored as the very same entries.
#include "app/main_window_core.h"
#include "backup/archiver.h"
#include "platform/file_names.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/text_file.h"
#include "support/fake_services.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pylomir;
using namespace pylomir::testing;

namespace {

class NameFidelityTest : public ::testing::Test {
protected:
    pylomir::testing::TempDir home, work;
    MemorySettingsStore settings;
    FakeClock clock;
    platform::LocaleFormats locale{QLocale(QLocale::Polish, QLocale::Poland)};
    ScriptedUi ui;
    ScriptedPump pump;
    std::unique_ptr<app::MainWindowCore> window;
    QByteArray tree; // the scanned folder's bytes, with its trailing '/'

    void SetUp() override {
        ASSERT_TRUE(home.isValid() && work.isValid());
        QDir(home.path()).mkdir(QStringLiteral("Filtry"));
        tree = QFile::encodeName(work.path()) + "/tree/";
        ASSERT_EQ(::mkdir(tree.constData(), 0755), 0);
        core::Services s;
        s.fileSystem = &platform::realFileSystem();
        s.settings = &settings;
        s.clock = &clock;
        s.locale = &locale;
        s.ui = &ui;
        s.pump = &pump;
        s.programDir = home.path() + QLatin1Char('/');
        window = std::make_unique<app::MainWindowCore>(s);
        window->startUp();
        ui = ScriptedUi();
        auto& m = window->model();
        m.filters.filters = {QStringLiteral("*.tmp")};
        m.options.clearAttributesOnScan = true;
        m.options.autoIgnore = false;
        window->scanRun().setScanRoot(platform::decodeFileName(tree.chopped(1)));
    }

    void makeFile(const QByteArray& name, const QByteArray& content, mode_t mode = 0644) {
        const int fd = ::open((tree + name).constData(), O_WRONLY | O_CREAT | O_EXCL, mode);
        ASSERT_GE(fd, 0) << name.toHex(' ').toStdString();
        ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
        ::close(fd);
    }
    static QByteArray contentOf(const QByteArray& path) {
        QByteArray out(64, '\0');
        const int fd = ::open(path.constData(), O_RDONLY);
        if (fd < 0)
            return "(missing)";
        out.resize(::read(fd, out.data(), size_t(out.size())));
        ::close(fd);
        return out;
    }
    static mode_t modeOf(const QByteArray& path) {
        struct stat st;
        return ::lstat(path.constData(), &st) == 0 ? st.st_mode & 0777 : 0;
    }
    QString pathOf(const QByteArray& name) const { return platform::decodeFileName(tree + name); }
    QStringList found() const {
        QStringList paths = window->model().foundList.paths();
        paths.sort();
        return paths;
    }
    QStringList pathsOf(const QList<QByteArray>& names) const {
        QStringList paths;
        for (const QByteArray& n : names)
            paths << pathOf(n);
        paths.sort();
        return paths;
    }
};

TEST_F(NameFidelityTest, NamesThatAreNotUtf8AreFoundDeletedArchivedAndRestoredByTheirBytes) {
    // Three names that a lossy decoding turns into one, and a folder name
    // no lossy path can list.
    const QList<QByteArray> names = {"b\xFF.tmp", "b\xFE.tmp", "b\xEF\xBF\xBD.tmp", "d\xFF/x.tmp"};
    makeFile(names[0], "ff", 0444);
    makeFile(names[1], "fe", 0444);
    makeFile(names[2], "fffd", 0444);
    ASSERT_EQ(::mkdir(tree + "d\xFF", 0755), 0);
    makeFile(names[3], "x", 0444);

    window->scanRun().startScan();
    EXPECT_TRUE(ui.boxes.empty()) << ui.texts().join('\n').toStdString();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.join('\n').toStdString();
    ASSERT_EQ(found(), pathsOf(names));
    for (const QByteArray& n : names) // each one's own attribute was cleared
        EXPECT_EQ(modeOf(tree + n), mode_t(0644)) << n.toHex(' ').toStdString();

    const QString archive = work.filePath(QStringLiteral("kopia.backup"));
    {
        backup::Archiver archiver;
        archiver.setBackupScope(backup::BackupScope::All);
        archiver.setClearArchiveAttribute(false);
        archiver.setStoreInfoList(true);
        ASSERT_TRUE(archiver.backup(window->model().foundList.paths(), archive));
        EXPECT_EQ(archiver.fileCount(), 4);
        EXPECT_EQ(archiver.filesDone(), 4);
    }

    // Deleting one leaves its look-alikes.
    platform::FileSystem& fs = platform::realFileSystem();
    EXPECT_TRUE(fs.removeFile(pathOf(names[0])));
    EXPECT_EQ(contentOf(tree + names[0]), "(missing)");
    EXPECT_EQ(contentOf(tree + names[1]), "fe");
    EXPECT_EQ(contentOf(tree + names[2]), "fffd");
    for (const QByteArray& n : names.mid(1))
        EXPECT_TRUE(fs.removeFile(pathOf(n)));
    for (const QByteArray& n : names)
        EXPECT_EQ(contentOf(tree + n), "(missing)");

    // Restored to the stored paths and below another folder, byte for byte.
    const QByteArray out = QFile::encodeName(work.path()) + "/out";
    for (const bool toFolder : {false, true}) {
        SCOPED_TRACE(toFolder ? "into a folder" : "to the stored paths");
        backup::Archiver archiver;
        archiver.setRestoreFolderTree(true);
        ASSERT_TRUE(
            archiver.restore(archive, toFolder ? platform::decodeFileName(out) : QString()));
        EXPECT_EQ(archiver.filesDone(), 4);
        const QByteArray base = toFolder ? out + tree : tree;
        EXPECT_EQ(contentOf(base + names[0]), "ff");
        EXPECT_EQ(contentOf(base + names[1]), "fe");
        EXPECT_EQ(contentOf(base + names[2]), "fffd");
        EXPECT_EQ(contentOf(base + names[3]), "x");
    }
}

TEST_F(NameFidelityTest, AnAutoIgnoredNameThatIsNotUtf8IsKeptOutOfTheListFileWithAMessage) {
    makeFile("b\xFF.tmp", "12345");
    makeFile("c.tmp", "12345");
    window->model().options.autoIgnore = true;
    window->model().options.autoIgnoreThresholdText = QStringLiteral("1");
    window->scanRun().startScan();
    QStringList ignored = window->model().ignore.ignoredFiles.paths();
    ignored.sort();
    EXPECT_EQ(ignored, pathsOf({"b\xFF.tmp", "c.tmp"})); // this session still ignores both
    const QString listPath = home.path() + QStringLiteral("/Filtry/ignoralplik.dat");
    QStringList lines;
    ASSERT_TRUE(platform::readListFile(platform::realFileSystem(), listPath, lines));
    EXPECT_EQ(lines, pathsOf({"c.tmp"}));
    EXPECT_EQ(ui.errors,
              QStringList{platform::skippedLinesMessage(listPath, {pathOf("b\xFF.tmp")})});
}

TEST_F(NameFidelityTest, NamesThatDifferOnlyInLetterCaseStayApart) {
    for (const QByteArray n : {"A.tmp", "a.tmp", "B.TMP"})
        makeFile(n, n, 0444);
    window->scanRun().startScan();
    ASSERT_EQ(found(), pathsOf({"A.tmp", "a.tmp", "B.TMP"})); // the mask ignores case, paths don't
    for (const QByteArray n : {"A.tmp", "a.tmp", "B.TMP"})
        EXPECT_EQ(modeOf(tree + n), mode_t(0644)) << n.constData();

    // Ignoring A.tmp takes A.tmp alone off the list.
    window->model().ignore.ignoredFiles.assign({pathOf("A.tmp")});
    window->scanRun().startScan();
    EXPECT_EQ(found(), pathsOf({"a.tmp", "B.TMP"}));
    EXPECT_EQ(window->model().scan.ignoredCount, 1);

    // Auto-ignore adds each of them, none taken for another one listed already.
    window->model().ignore.ignoredFiles.assign({pathOf("a.tmp")});
    window->model().options.autoIgnore = true;
    window->model().options.autoIgnoreThresholdText = QStringLiteral("0");
    window->scanRun().startScan();
    QStringList ignored = window->model().ignore.ignoredFiles.paths();
    ignored.sort();
    EXPECT_EQ(ignored, pathsOf({"A.tmp", "a.tmp", "B.TMP"}));
    EXPECT_TRUE(found().isEmpty());
}

} // namespace
