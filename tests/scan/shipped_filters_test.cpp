#include "engine/mask.h"
#include "platform/file_system.h"
#include "platform/text_file.h"
#include "scan/filter_sets.h"

#include <gtest/gtest.h>

using namespace pylomir;

namespace {

QStringList shipped(scan::FilterMode mode) {
    QStringList lines;
    const QString path =
        QStringLiteral(PYLOMIR_SOURCE_DIR "/data/Filtry/") + scan::FilterSets::fileName(mode);
    EXPECT_TRUE(platform::readListFile(platform::realFileSystem(), path, lines))
        << path.toStdString();
    return lines;
}

// Masks the program describes but deliberately does not look for.
const char* const kNotHandled[] = {
    "*&*?*[*",      "*.&*",         "*.?\?!",          "*.aspx",        "*.dof",
    "*.drc",        "*.fcgi",       "*.html.log",      "*.nfo",         "*.rar.log",
    "*.sav",        "*.url",        "*.zip.log",       "*].asp",        "*].css",
    "*nowego.*",    "*site.*",      "?[?].*",          "?etlog.txt",    "about.htm",
    "about.txt",    "brudlog.txt",  "czytaj*.txt",     "eelog.txt",     "faq.txt",
    "file_id.diz",  "iconcache.db", "insta*.txt",      "manual.htm",    "modemdet.txt",
    "mssecure.xml", "ndislog.txt",  "oewablog.txt",    "order.*",       "pq_debug.txt",
    "readme.*",     "register.*",   "release*notes.*", "runonceex.txt", "sflog.txt",
    "suhdlog.txt",  "system.st",    "tips.txt",        "whatsnew.*"};

TEST(ShippedFiltersTest, SetsAreValidNestedAndLeaveOutUnhandledMasks) {
    using scan::FilterMode;
    const QStringList user = shipped(FilterMode::UserDefined);
    const QStringList safe = shipped(FilterMode::Safe);
    const QStringList lessSafe = shipped(FilterMode::LessSafe);
    const QStringList advanced = shipped(FilterMode::Advanced);
    ASSERT_FALSE(user.isEmpty());
    EXPECT_LT(user.size(), safe.size());
    EXPECT_LT(safe.size(), lessSafe.size());
    EXPECT_LT(lessSafe.size(), advanced.size());

    const std::pair<const QStringList*, const QStringList*> nested[] = {
        {&user, &safe}, {&safe, &lessSafe}, {&lessSafe, &advanced}};
    for (const auto& [inner, outer] : nested) {
        for (const QString& m : *inner)
            EXPECT_TRUE(outer->contains(m)) << m.toStdString();
    }
    for (const QStringList* set : {&user, &safe, &lessSafe, &advanced}) {
        QStringList unique = *set;
        EXPECT_EQ(unique.removeDuplicates(), 0);
        for (const QString& m : *set) {
            EXPECT_TRUE(engine::Mask(m).isValid()) << m.toStdString();
            for (const char* skip : kNotHandled)
                EXPECT_NE(m, QString::fromUtf8(skip));
        }
    }
}

} // namespace
