#include "platform/settings_store.h"

#include "env_guard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

// Every write reaches the file at once, so a fresh store reads what the last one left.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }
    std::unique_ptr<SettingsStore> open() const { return openSettingsStore(file()); }
    QString file() const { return tmp_.path() + QStringLiteral("/Tessaly/Pylomir.ini"); }
    QTemporaryDir tmp_;
    const QString key_ = QStringLiteral("Skanowan");
};

TEST_F(SettingsStoreTest, CreatedKeysSurviveAReopenEvenWhenEmpty) {
    auto store = open();
    EXPECT_FALSE(store->keyExists(key_));
    EXPECT_FALSE(store->readString(key_, "Liczba"));
    // Writing needs the key to exist, as with an opened registry key.
    EXPECT_FALSE(store->writeString(key_, "Liczba", "1"));
    EXPECT_TRUE(store->createKey(key_));
    EXPECT_TRUE(store->createKey("SKANOWAN")); // the same key again
    EXPECT_FALSE(store->createKey(QString()));

    store = open();
    EXPECT_TRUE(store->keyExists("skanowan"));
    EXPECT_FALSE(store->keyExists("Usunieto"));
    // An empty key has no values, whatever keeps it in the file.
    for (const QString& name : {QStringLiteral("Liczba"), QStringLiteral("@"), QString()})
        EXPECT_FALSE(store->readString(key_, name)) << name.toStdString();
}

TEST_F(SettingsStoreTest, ValueNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    auto store = open();
    ASSERT_TRUE(store->createKey(key_));
    ASSERT_TRUE(store->writeString(key_, "Listbox", "5"));
    ASSERT_TRUE(store->writeString("skanowan", "ListBox", "7"));
    EXPECT_EQ(open()->readString("SKANOWAN", "LISTBOX"), QStringLiteral("7"));
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray ini = f.readAll();
    EXPECT_TRUE(ini.contains("Listbox=7")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("ListBox")) << ini.toStdString();
}

TEST_F(SettingsStoreTest, ValuesRoundTripExactly) {
    const QStringList values = {"",
                                "C:\\",
                                "C:\\\\",
                                "zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ 日本",
                                "@Variant(abc)",
                                "a,b, c",
                                "  z odstępami  ",
                                "\"w cudzysłowie\" ; = # [sekcja]",
                                "wiersz\npo wierszu"};
    auto store = open();
    ASSERT_TRUE(store->createKey(key_));
    for (int i = 0; i < values.size(); ++i)
        ASSERT_TRUE(store->writeString(key_, QString::number(i), values[i]));
    store = open();
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(store->readString(key_, QString::number(i)), values[i]);
    // Nothing the store writes itself looks damaged to it.
    ASSERT_TRUE(store->writeString(key_, "0", "x"));
    EXPECT_EQ(store->damagedFileCopy(), QString());
    EXPECT_FALSE(QFile::exists(file() + ".bad"));
}

TEST_F(SettingsStoreTest, UnwritableFileMakesWritesFail) {
    // A folder where the file should be: sync cannot replace it.
    ASSERT_TRUE(QDir().mkpath(file()));
    EXPECT_FALSE(open()->createKey(key_));
}

TEST_F(SettingsStoreTest, EnvironmentNamesTheDefaultFile) {
    const QString viaEnv = tmp_.path() + QStringLiteral("/env.ini");
    {
        const EnvGuard env("PYLOMIR_SETTINGS", QFile::encodeName(viaEnv));
        EXPECT_TRUE(openSettingsStore()->createKey(key_));
    }
    EXPECT_TRUE(openSettingsStore(viaEnv)->keyExists("skanowan"));
}

// A rewrite keeps only what the store reads, so a file holding anything else
// is copied aside first, once; the copy's name is there to be told.
TEST_F(SettingsStoreTest, AFileARewriteWouldCutIsCopiedAsideFirst) {
    const QByteArray head = "[Skanowan]\nLiczba=3\n";
    const struct {
        QByteArray line;
        bool damaged;
    } cases[] = {
        {"to nie jest wpis", true},
        {"; komentarz", true},
        {"# komentarz", true},
        {"Data=1 ; komentarz", true},
        {"Data=\"bez końca", true},
        {"LOGKatalog=C:\\logi\\", true}, // a lone backslash joins the next line
        {"[Sekcja] ogon", true},
        {"[Sekcja", true},
        {"Da\"ta=1", true},
        {"Data=\"a;b\"", false},
        {"LOGKatalog=C:\\\\", false}, // an escaped backslash
        {"  Data = 1  ", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        QDir().mkpath(QFileInfo(file()).path());
        QFile::remove(file() + ".bad");
        const QByteArray original = head + c.line + "\r\n[Usunieto]\nListbox=7\n";
        {
            QFile f(file());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(original);
        }
        auto store = open();
        ASSERT_TRUE(store->writeString(key_, "Liczba", "4"));
        ASSERT_TRUE(store->writeString(key_, "Data", "5"));
        EXPECT_EQ(open()->readString(key_, "Liczba"), QStringLiteral("4"));
        QFile bad(file() + ".bad");
        if (!c.damaged) {
            EXPECT_FALSE(bad.exists());
            EXPECT_EQ(store->damagedFileCopy(), QString());
            continue;
        }
        EXPECT_EQ(store->damagedFileCopy(), file() + ".bad");
        ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
        EXPECT_EQ(bad.readAll(), original);
        bad.close();
        // The rewritten file is whole again: no further copy, nothing to tell.
        ASSERT_TRUE(bad.remove());
        store = open();
        ASSERT_TRUE(store->writeString(key_, "Liczba", "5"));
        EXPECT_EQ(store->damagedFileCopy(), QString());
        EXPECT_FALSE(bad.exists());
    }
}

TEST_F(SettingsStoreTest, WithoutItsCopyADamagedFileIsNotRewritten) {
    const QByteArray original = "[Skanowan]\nLiczba=3\nto nie jest wpis\n";
    QDir().mkpath(file() + ".bad"); // a folder where the copy belongs
    {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(original);
    }
    auto store = open();
    EXPECT_FALSE(store->writeString(key_, "Liczba", "4"));
    EXPECT_FALSE(store->createKey("Ustawienia"));
    EXPECT_EQ(store->damagedFileCopy(), QString());
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), original);
}

} // namespace
