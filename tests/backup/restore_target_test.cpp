// Where a member is restored, for both path styles on any machine.
#include "backup/restore_target.h"

#include <gtest/gtest.h>

namespace pylomir::backup {
namespace {

constexpr auto W = PathStyle::Windows;
constexpr auto P = PathStyle::Posix;

TEST(RestoreTarget, FileNameOrFolderTreeBelowTheFolderAndNothingOutside) {
    const struct {
        PathStyle style;
        const char* member;
        const char* folder;
        bool folderTree;
        const char* target; // "" when outside
    } cases[] = {
        {W, "c:\\a\\b.txt", "d:\\x", false, "d:\\x\\b.txt"},
        {W, "c:\\a\\b.txt", "d:\\x\\", true, "d:\\x\\a\\b.txt"},
        {W, "c:\\..\\evil", "d:\\x", false, "d:\\x\\evil"}, // only the name counts
        {W, "c:\\a\\..\\..\\evil", "d:\\x", true, ""},
        {W, "c:\\a\\b.txt:ads", "d:\\x", false, "d:\\x\\ads"},
        {W, "c:\\a\\b.txt:ads", "d:\\x", true, ""},
        {W, "c:\\a\\d:\\evil", "d:\\x", true, ""},
        {W, "c:\\\\srv\\x", "d:\\x", true, ""}, // an absolute remainder
        {W, "c:\\a\\", "d:\\x", false, ""},
        {W, "c:\\a\\", "d:\\x", true, ""},
        {W, "c:\\a\\.", "d:\\x", false, ""},
        {W, "c:\\a\\.", "d:\\x", true, ""},
        {W, "c:", "d:\\x", true, ""},
        {P, "/home/a/b.txt", "/out", false, "/out/b.txt"},
        {P, "/home/a/b.txt", "/out/", true, "/out/home/a/b.txt"},
        {P, "a/b", "/out", true, "/out/a/b"},
        {P, "/x/../../evil", "/out", true, ""},
        {P, "/x/..", "/out", false, ""},
        {P, "/x/.", "/out", false, ""},
        {P, "/x/.", "/out", true, ""},
        {P, "/x/", "/out", false, ""},
        {P, "/x/", "/out", true, ""},
        {P, "//etc/passwd", "/out", true, ""},
        {P, "/x/c:\\a\\b", "/out", false, "/out/c:\\a\\b"}, // ordinary characters here
        {P, "/x/c:d", "/out", true, "/out/x/c:d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.member << " into " << c.folder << " tree " << c.folderTree);
        const RestoreTarget t =
            restoreTarget(QString::fromUtf8(c.member),
                          asFolder(QString::fromUtf8(c.folder), c.style), c.folderTree, c.style);
        EXPECT_EQ(t.outside, !*c.target);
        if (*c.target) {
            EXPECT_EQ(t.path, QString::fromUtf8(c.target));
        }
    }
}

// With no target folder a member goes to its stored name, which must say
// plainly where: an archive from elsewhere may hold any text.
TEST(RestoreTarget, StoredPathsMustBeAbsoluteAndNormalised) {
    // On POSIX ":" and "\" are ordinary characters, and a Windows path is a relative name.
    const std::tuple<PathStyle, bool, QStringList> cases[] = {
        {P, true, {"/home/a/b.txt", "/a/c:d\\..\\e", "/a/.hidden", "/a/b.."}},
        {P,
         false,
         {"x.txt", "../x", "/a/../b", "/a/./b", "/a/..", "/a//b", "//a/b", "/a/", "/", "",
          "c:\\a\\b.txt"}},
        {W, true, {"c:\\a\\b.txt", "c:/a/b.txt", "\\\\srv\\share\\b.txt"}},
        {W,
         false,
         {"c:\\a\\..\\b", "c:\\a\\.\\b", "c:\\a\\\\b", "c:\\a/\\b", "c:\\a\\", "c:\\", "c:x", "\\x",
          "\\\\x", "\\\\srv\\share", "\\\\.\\pipe\\x", "\\\\?\\c:\\x", "x.txt", "..\\x",
          "c:\\a\\b.txt:ads", "c:\\a\\d:\\b", "1:\\a"}},
    };
    for (const auto& [style, regular, members] : cases) {
        for (const QString& member : members) {
            SCOPED_TRACE(member.toStdString());
            const RestoreTarget t = restoreTarget(member, QString(), false, style);
            EXPECT_EQ(t.path, member); // the stored path itself
            EXPECT_EQ(t.irregular, !regular);
            EXPECT_FALSE(t.outside);
        }
    }
    // Into a folder the names' own rules apply.
    EXPECT_FALSE(restoreTarget("a/b", "/out/", true, P).irregular);
}

TEST(RestoreTarget, ResolvedFoldersAndParents) {
    const std::tuple<PathStyle, const char*, const char*, bool> within[] = {
        {P, "/a/b", "/a", true}, {P, "/a", "/a", true},          {P, "/ab", "/a", false},
        {P, "/a/b", "", false},  {W, "c:\\a\\b", "c:\\a", true}, {W, "c:\\ab", "c:\\a", false},
        {P, "/a", "/", true},    {W, "c:\\a", "c:\\", true},     {W, "d:\\a", "c:\\", false},
    };
    for (const auto& [style, folder, base, inside] : within)
        EXPECT_EQ(isWithinFolder(folder, base, style), inside) << folder << " in " << base;

    const std::tuple<PathStyle, const char*, const char*> parents[] = {
        {P, "/a/b.txt", "/a"},        {P, "/b.txt", "/"},       {P, "b.txt", ""},
        {W, "c:\\a\\b.txt", "c:\\a"}, {W, "c:\\b.txt", "c:\\"}, {W, "c:/a/b", "c:/a"},
    };
    for (const auto& [style, path, parent] : parents)
        EXPECT_EQ(parentFolder(path, style), QString::fromUtf8(parent)) << path;
}

} // namespace
} // namespace pylomir::backup
