#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::platform;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }
    std::unique_ptr<SettingsStore> open() const { return openSettingsStore(file()); }
    QString file() const { return tmp_.path() + QStringLiteral("/Tessaly/Pylomir.ini"); }
    QTemporaryDir tmp_;
};

TEST_F(SettingsStoreTest, CreatedKeysSurviveAReopenEvenWhenEmpty) {
    {
        auto store = open();
        EXPECT_FALSE(store->keyExists(QStringLiteral("Skanowan")));
        EXPECT_FALSE(store->readString(QStringLiteral("Skanowan"), QStringLiteral("Liczba")));
        // Writing needs the key to exist, as with an opened registry key.
        EXPECT_FALSE(store->writeString(QStringLiteral("Skanowan"), QStringLiteral("Liczba"),
                                        QStringLiteral("1")));
        EXPECT_TRUE(store->createKey(QStringLiteral("Skanowan")));
        EXPECT_TRUE(store->createKey(QStringLiteral("SKANOWAN"))); // the same key again
        EXPECT_FALSE(store->createKey(QString()));
    }
    auto store = open();
    EXPECT_TRUE(store->keyExists(QStringLiteral("Skanowan")));
    EXPECT_TRUE(store->keyExists(QStringLiteral("skanowan")));
    EXPECT_FALSE(store->keyExists(QStringLiteral("Usunieto")));
    // An empty key has no values, whatever keeps it in the file.
    EXPECT_FALSE(store->readString(QStringLiteral("Skanowan"), QStringLiteral("Liczba")));
    EXPECT_FALSE(store->readString(QStringLiteral("Skanowan"), QStringLiteral("@")));
    EXPECT_FALSE(store->readString(QStringLiteral("Skanowan"), QString()));
}

TEST_F(SettingsStoreTest, ValueNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    {
        auto store = open();
        ASSERT_TRUE(store->createKey(QStringLiteral("Usunieto")));
        ASSERT_TRUE(store->writeString(QStringLiteral("Usunieto"), QStringLiteral("Listbox"),
                                       QStringLiteral("5")));
        ASSERT_TRUE(store->writeString(QStringLiteral("usunieto"), QStringLiteral("ListBox"),
                                       QStringLiteral("7")));
    }
    auto store = open();
    EXPECT_EQ(store->readString(QStringLiteral("USUNIETO"), QStringLiteral("LISTBOX")),
              QStringLiteral("7"));
    QFile f(file());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray ini = f.readAll();
    EXPECT_TRUE(ini.contains("Listbox=7")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("ListBox")) << ini.toStdString();
}

TEST_F(SettingsStoreTest, ValuesRoundTripExactly) {
    const QStringList values = {
        QString(),
        QStringLiteral("0"),
        QStringLiteral("C:\\"),
        QStringLiteral("C:\\\\"),
        QStringLiteral("/home/użytkownik/Kopie zapasowe/"),
        QStringLiteral("05.12.2026 14:05:33"),
        QStringLiteral("zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ"),
        QStringLiteral("@Variant(abc)"),
        QStringLiteral("a,b, c"),
        QStringLiteral("  z odstępami  "),
        QStringLiteral("\"w cudzysłowie\" ; = # [sekcja]"),
        QStringLiteral("wiersz\npo wierszu"),
        QStringLiteral("日本"),
    };
    {
        auto store = open();
        ASSERT_TRUE(store->createKey(QStringLiteral("Skanowan")));
        for (int i = 0; i < values.size(); ++i)
            ASSERT_TRUE(store->writeString(QStringLiteral("Skanowan"), QStringLiteral("V%1").arg(i),
                                           values[i]));
    }
    auto store = open();
    for (int i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(values[i].toStdString());
        EXPECT_EQ(store->readString(QStringLiteral("Skanowan"), QStringLiteral("V%1").arg(i)),
                  values[i]);
    }
}

TEST_F(SettingsStoreTest, UnwritableFileMakesWritesFail) {
    // A folder where the file should be: sync cannot replace it.
    ASSERT_TRUE(QDir().mkpath(file()));
    auto store = open();
    EXPECT_FALSE(store->createKey(QStringLiteral("Ustawienia")));
}

TEST_F(SettingsStoreTest, EnvironmentNamesTheDefaultFile) {
    const QString viaEnv = tmp_.path() + QStringLiteral("/env.ini");
    const QByteArray old = qgetenv("PYLOMIR_SETTINGS");
    qputenv("PYLOMIR_SETTINGS", QFile::encodeName(viaEnv));
    {
        auto store = openSettingsStore();
        EXPECT_TRUE(store->createKey(QStringLiteral("Ustawienia")));
    }
    if (old.isEmpty())
        qunsetenv("PYLOMIR_SETTINGS");
    else
        qputenv("PYLOMIR_SETTINGS", old);
    EXPECT_TRUE(QFile::exists(viaEnv));
    EXPECT_TRUE(openSettingsStore(viaEnv)->keyExists(QStringLiteral("ustawienia")));
}

} // namespace
