// The engine over real folders: order, links and hidden files.
#include "engine/file_search.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pylomir::engine;

namespace {

void touch(const QString& path, int bytes = 0) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(QByteArray(bytes, 'x'));
}

struct Outcome {
    QStringList found;
    QList<qint32> attributes;
    QList<qint32> sizes;
    QStringList folders;
    bool result = false;
};

Outcome search(const QString& root, const QStringList& masks) {
    Outcome run;
    TEasyFileSearch s;
    s.setRootPath(root);
    s.setFileNames(masks);
    s.OnFileFound = [&](TEasyFileSearch*, TFileInformations& r) {
        run.found << r.Path.mid(root.size()) + r.Name;
        run.attributes << r.Attributes;
        run.sizes << r.Size;
    };
    s.OnChangeFolder = [&](TEasyFileSearch*, const QString& p) { run.folders << p; };
    run.result = s.Search();
    return run;
}

TEST(RealTreeTest, RootFilesComeBeforeSubFolderFiles) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + QLatin1Char('/');
    QDir(root).mkpath(QStringLiteral("a/b"));
    QDir(root).mkpath(QStringLiteral("c"));
    touch(root + QStringLiteral("a/b/deep.tmp"));
    touch(root + QStringLiteral("a/mid.tmp"), 1234);
    touch(root + QStringLiteral("c/mid2.tmp"));
    touch(root + QStringLiteral("top.tmp"));
    touch(root + QStringLiteral(".hidden.tmp"));
    touch(root + QStringLiteral("skip.txt"));

    const Outcome run = search(root, {QStringLiteral("*.tmp")});
    EXPECT_TRUE(run.result);
    ASSERT_EQ(run.found.size(), 5) << run.found.join(u' ').toStdString();
    QStringList top = run.found.mid(0, 2);
    top.sort();
    EXPECT_EQ(top, (QStringList{".hidden.tmp", "top.tmp"}));
    QStringList middle = run.found.mid(2, 2);
    middle.sort();
    EXPECT_EQ(middle, (QStringList{"a/mid.tmp", "c/mid2.tmp"}));
    EXPECT_EQ(run.found[4], QStringLiteral("a/b/deep.tmp"));
    EXPECT_TRUE(run.attributes[run.found.indexOf(".hidden.tmp")] & pylomir::platform::faHidden);
    EXPECT_EQ(run.sizes[run.found.indexOf("a/mid.tmp")], 1234);
    EXPECT_EQ(run.folders.first(), root);
}

TEST(RealTreeTest, LinksToFoldersAreFilesAndNeverEntered) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + QLatin1Char('/');
    QDir(root).mkpath(QStringLiteral("sub"));
    touch(root + QStringLiteral("sub/x.tmp"));
    // A loop back to the root, and a link out of the tree.
    ASSERT_TRUE(QFile::link(root, root + QStringLiteral("sub/loop.tmp")));
    QTemporaryDir outside;
    touch(outside.path() + QStringLiteral("/out.tmp"));
    ASSERT_TRUE(QFile::link(outside.path(), root + QStringLiteral("away")));

    const Outcome run = search(root, {QStringLiteral("*.*"), QStringLiteral("away")});
    EXPECT_TRUE(run.result);
    QStringList found = run.found;
    found.sort();
    EXPECT_EQ(found, (QStringList{"away", "sub", "sub/loop.tmp", "sub/x.tmp"}));
    EXPECT_FALSE(run.attributes[run.found.indexOf("sub/loop.tmp")] &
                 pylomir::platform::faDirectory);
    EXPECT_TRUE(run.attributes[run.found.indexOf("sub")] & pylomir::platform::faDirectory);
    EXPECT_EQ(run.folders.size(), 2); // the root and sub only
}

} // namespace
