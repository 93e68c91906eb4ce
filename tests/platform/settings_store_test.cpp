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

} // namespace
