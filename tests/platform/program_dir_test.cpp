#include "platform/program_dir.h"

#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace pylomir::platform;
using pylomir::testing::FaultyFileSystem;

namespace {

// A prefix with an installed program: bin/ and the shipped filters.
class ProgramDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        root_ = tmp_.path();
        mkdir("prefix/bin");
        write("prefix/share/pylomir/Filtry/filtr_a1.dat", "*.tmp\r\n");
        write("prefix/share/pylomir/Filtry/filtr_user.dat", "*.old\r\n");
    }

    QString at(const QString& rel) const { return root_ + QLatin1Char('/') + rel; }
    void mkdir(const QString& rel) const { ASSERT_TRUE(QDir(root_).mkpath(rel)); }
    void write(const QString& rel, const QByteArray& content) const {
        QDir(root_).mkpath(QFileInfo(at(rel)).path());
        QFile f(at(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray read(const QString& rel) const {
        QFile f(at(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    ProgramDirPlaces installed(const QString& dataHome = {}) const {
        return {{}, at("prefix/bin"), dataHome, at("home")};
    }

    pylomir::testing::TempDir tmp_;
    QString root_;
};

TEST_F(ProgramDirTest, ChoosesByOverrideFiltryFolderAndDataHome) {
    mkdir("portable/Filtry");
    write("loose/Filtry", "a file, not a folder");
    const QString shipped = at("prefix/share/pylomir/Filtry/");
    struct Case {
        const char* what;
        ProgramDirPlaces places;
        QString dir;
        QString shippedFilters;
    };
    const Case cases[] = {
        {"override wins over a Filtry folder",
         {at("elsewhere"), at("portable"), at("data"), at("home")},
         at("elsewhere/"),
         {}},
        {"Filtry beside the executable",
         {{}, at("portable"), at("data"), at("home")},
         at("portable/"),
         {}},
        {"a file named Filtry is not a folder",
         {{}, at("loose"), at("data"), at("home")},
         at("data/pylomir/"),
         at("loose/../share/pylomir/Filtry/")},
        {"installed, data home set", installed(at("data")), at("data/pylomir/"), shipped},
        {"installed, data home unset", installed(), at("home/.local/share/pylomir/"), shipped},
        {"installed, relative data home ignored", installed(QStringLiteral("rel/data")),
         at("home/.local/share/pylomir/"), shipped},
    };
    for (const Case& c : cases) {
        const ProgramDirChoice choice = chooseProgramDir(c.places, realFileSystem());
        EXPECT_EQ(choice.dir, c.dir) << c.what;
        EXPECT_EQ(QDir::cleanPath(choice.shippedFilters), QDir::cleanPath(c.shippedFilters))
            << c.what;
        EXPECT_TRUE(choice.shippedFilters.isEmpty() || choice.shippedFilters.endsWith('/'))
            << c.what;
    }
}

TEST_F(ProgramDirTest, SeedingCopiesOnlyMissingFilesAndKeepsTheUsersOwn) {
    const ProgramDirChoice choice = chooseProgramDir(installed(at("data")), realFileSystem());
    write("data/pylomir/Filtry/filtr_user.dat", "*.mine\r\n");
    seedFilters(choice.shippedFilters, choice.dir, realFileSystem());
    EXPECT_EQ(read("data/pylomir/Filtry/filtr_a1.dat"), QByteArray("*.tmp\r\n"));
    EXPECT_EQ(read("data/pylomir/Filtry/filtr_user.dat"), QByteArray("*.mine\r\n"));

    // A later start puts back a file the user removed, and nothing else.
    QFile::remove(at("data/pylomir/Filtry/filtr_a1.dat"));
    write("data/pylomir/Filtry/ignoralplik.dat", "/home/u/keep.bak\r\n");
    seedFilters(choice.shippedFilters, choice.dir, realFileSystem());
    EXPECT_EQ(read("data/pylomir/Filtry/filtr_a1.dat"), QByteArray("*.tmp\r\n"));
    EXPECT_EQ(read("data/pylomir/Filtry/filtr_user.dat"), QByteArray("*.mine\r\n"));
    EXPECT_EQ(read("data/pylomir/Filtry/ignoralplik.dat"), QByteArray("/home/u/keep.bak\r\n"));
    EXPECT_EQ(QDir(at("data/pylomir/Filtry")).entryList(QDir::Files).size(), 3);
}

TEST_F(ProgramDirTest, ADanglingLinkAtAShippedNameIsLeftAlone) {
    mkdir("data/pylomir/Filtry");
    ASSERT_TRUE(QFile::link(at("nowhere"), at("data/pylomir/Filtry/filtr_a1.dat")));
    seedFilters(at("prefix/share/pylomir/Filtry/"), at("data/pylomir/"), realFileSystem());
    EXPECT_FALSE(QFile::exists(at("nowhere")));
    EXPECT_EQ(read("data/pylomir/Filtry/filtr_user.dat"), QByteArray("*.old\r\n"));
}

TEST_F(ProgramDirTest, SeedingFailuresLeaveNoFileBehindAndDoNotStopTheRest) {
    const QString shipped = at("prefix/share/pylomir/Filtry/");
    const QString target = at("data/pylomir/Filtry/");
    struct Case {
        const char* what;
        void (*fault)(FaultyFileSystem&, const QString& shipped, const QString& target);
        QByteArray a1, user; // what each file holds afterwards
        bool shippedGone = false;
        bool folderMade = true;
    };
    const Case cases[] = {
        {"the folder cannot be made",
         [](FaultyFileSystem& fs, const QString&, const QString& t) {
             fs.unmakeableFolders.insert(t);
         },
         "<missing>", "<missing>", false, false},
        {"one file refused",
         [](FaultyFileSystem& fs, const QString&, const QString& t) {
             fs.denied.insert(t + "filtr_a1.dat");
         },
         "<missing>", "*.old\r\n"},
        {"a shipped file unreadable",
         [](FaultyFileSystem& fs, const QString& s, const QString&) {
             fs.unreadable.insert(s + "filtr_user.dat");
         },
         "*.tmp\r\n", "<missing>"},
        {"the disk is full",
         [](FaultyFileSystem& fs, const QString&, const QString&) { fs.bytesBeforeDiskFull = 3; },
         "<missing>", "<missing>"},
        {"the shipped folder is gone", [](FaultyFileSystem&, const QString&, const QString&) {},
         "<missing>", "<missing>", true, false},
    };
    for (const Case& c : cases) {
        QDir(at("data")).removeRecursively();
        FaultyFileSystem fs;
        c.fault(fs, shipped, target);
        seedFilters(c.shippedGone ? at("prefix/share/none/") : shipped, at("data/pylomir/"), fs);
        EXPECT_EQ(read("data/pylomir/Filtry/filtr_a1.dat"), c.a1) << c.what;
        EXPECT_EQ(read("data/pylomir/Filtry/filtr_user.dat"), c.user) << c.what;
        EXPECT_EQ(QFileInfo::exists(target), c.folderMade) << c.what;
        // No temporary file of a failed copy is left beside the lists.
        EXPECT_LE(QDir(target).entryList(QDir::Files | QDir::Hidden).size(),
                  int(c.a1 != "<missing>") + int(c.user != "<missing>"))
            << c.what;
    }
}

} // namespace
