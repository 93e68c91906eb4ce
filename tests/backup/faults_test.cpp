// Failures of the disk and of single files, injected through the file system:
// the code and the file are reported, and no half archive is left behind.
#include "backup_test_util.h"

#include "support/faulty_file_system.h"

#include <functional>

namespace pylomir::backup::testing {
namespace {

using pylomir::testing::FaultyFileSystem;

struct Sources {
    QTemporaryDir dir;
    QString a = dir.filePath("src/a.bin"), b = dir.filePath("src/b.bin");
    QString archive = dir.filePath("arch/x.backup");

    Sources() {
        writeFile(a, testData(600'000, 1)); // stored blocks, more than the writer buffers
        writeFile(b, testData(1000, 2));
        QDir().mkpath(dir.filePath("arch"));
    }
};

TEST(ArchiveFaults, FailedBackupNamesTheFileAndLeavesNoArchive) {
    const struct {
        const char* what;
        std::function<void(FaultyFileSystem&, Archiver&, const Sources&)> inject;
        qint32 code;
        QString Sources::*file; // the file the message names, if any
    } cases[] = {
        {"disk full half way",
         [](FaultyFileSystem& fs, Archiver&, const Sources&) { fs.bytesBeforeDiskFull = 300'000; },
         ecCreateArchive, &Sources::archive},
        {"archive refused",
         [](FaultyFileSystem& fs, Archiver&, const Sources& s) { fs.denied << s.archive; },
         ecCreateArchive, &Sources::archive},
        {"source vanishes after it was measured",
         [](FaultyFileSystem& fs, Archiver& archiver, const Sources& s) {
             archiver.onProgress = [&fs, &s](Archiver*, const QString& name, Percent, bool&) {
                 if (name == s.a)
                     fs.vanishing << s.b;
             };
         },
         ecReadData, &Sources::b},
        {"no temporary folder",
         [](FaultyFileSystem& fs, Archiver&, const Sources&) { fs.noTemporaryFolder = true; },
         ecTempFile, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sources s;
        FaultyFileSystem fs;
        Archiver archiver;
        configureForBackup(archiver, true);
        archiver.setFileSystem(&fs);
        Errors errors;
        collectErrors(archiver, errors);
        c.inject(fs, archiver, s);
        EXPECT_FALSE(archiver.backup({s.a, s.b}, s.archive));
        EXPECT_EQ(errors, errorNaming(c.code, c.file ? s.*c.file : QString()));
        EXPECT_TRUE(QDir(s.dir.filePath("arch")).isEmpty()); // no archive, no temporary volume
    }
}

TEST(ArchiveFaults, FailedReadsAndWritesOfARestoreNameTheirFile) {
    Sources s;
    {
        Archiver archiver;
        configureForBackup(archiver);
        ASSERT_TRUE(archiver.backup({s.a, s.b}, s.archive));
    }
    const QString out = s.dir.filePath("out");
    FaultyFileSystem fs;
    Archiver archiver;
    archiver.setFileSystem(&fs);
    Errors errors;
    collectErrors(archiver, errors);

    // The target's disk fills up half way through.
    fs.bytesBeforeDiskFull = 300'000;
    EXPECT_FALSE(archiver.restore(s.archive, out));
    EXPECT_EQ(errors, errorNaming(ecReadData, out + "/a.bin"));
    EXPECT_EQ(archiver.filesDone(), 0);
    EXPECT_FALSE(QFileInfo::exists(out + "/b.bin"));

    // The archive cannot be opened.
    fs.bytesBeforeDiskFull = -1;
    fs.denied << s.archive;
    errors.clear();
    try {
        archiver.restore(s.archive, out);
        ADD_FAILURE() << "no error raised";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.message(), namingFile(kCannotReadArchive, s.archive));
    }
    QString title;
    archiver.readArchiveInfo(s.archive, nullptr, title);
    EXPECT_EQ(errors, errorNaming(ecReadArchive, s.archive));
}

} // namespace
} // namespace pylomir::backup::testing
