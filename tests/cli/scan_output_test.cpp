// The scan command's output over a real tree: names a line-based reader would
// split, and folders that cannot be listed.
#include "support/cli_process.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

namespace {

using Output = pylomir::testing::CliResult;

class ScanOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        tree = root + "/tree";
        QDir().mkpath(root + "/home/Filtry");
        QDir().mkpath(tree);
        write(root + "/home/Filtry/filtr_a1.dat", "*.tmp\r\n");
        write(root + "/settings.ini", "[Ustawienia]\nBezpieczny=1\nAutoAtrybut=0\n"
                                      "[Skanowan]\nLOGKatalog=" +
                                          root.toUtf8() + "/\n");
    }

    static void write(const QString& path, const QByteArray& data) {
        pylomir::testing::writeFile(path, data);
    }

    Output scan(const QStringList& options) const {
        pylomir::testing::CliProcess run{root + "/home", root + "/settings.ini"};
        if (asNobody)
            run.launcher = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        return run(QStringList{"scan", tree} + options);
    }

    QTemporaryDir dir;
    QString root, tree;
    bool asNobody = false; // root ignores permissions; an ordinary user does not
};

// Undoes the text format's escapes: \n, \t, \\ and \ooo.
QStringList textPaths(const QByteArray& out) {
    QStringList paths;
    for (const QByteArray& line : out.split('\n')) {
        QByteArray bytes;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char next = i + 1 < line.size() ? line[i + 1] : 0;
            if (line[i] != '\\')
                bytes += line[i];
            else if (next == 'n' || next == 't' || next == '\\')
                bytes += next == 'n' ? '\n' : next == 't' ? '\t' : '\\', ++i;
            else
                bytes += char(line.mid(i + 1, 3).toInt(nullptr, 8)), i += 3;
        }
        if (!bytes.isEmpty())
            paths << QFile::decodeName(bytes);
    }
    return paths;
}

QStringList nullPaths(const QByteArray& out) {
    EXPECT_TRUE(out.endsWith('\0'));
    QStringList paths;
    for (const QByteArray& path : out.split('\0'))
        paths << QFile::decodeName(path);
    paths.removeAll(QString());
    return paths;
}

QStringList jsonPaths(const QByteArray& out) {
    // Strings carry their control characters escaped; the layout has none.
    for (const char raw : {'\t', '\r', '\x01'})
        EXPECT_FALSE(out.contains(raw)) << int(raw);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    QStringList paths;
    for (const QJsonValue& e : doc["found"].toArray())
        paths << e["path"].toString();
    return paths;
}

// RFC 4180: records end with CR LF, quoted fields double their quotes and may
// hold line breaks.
QStringList csvPaths(const QByteArray& out) {
    QList<QByteArrayList> records{{}};
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char ch = out[i];
        if (quoted && ch == '"' && out.mid(i, 2) == "\"\"")
            field += '"', ++i;
        else if (ch == '"')
            quoted = !quoted;
        else if (!quoted && ch == ',')
            records.back() << field, field.clear();
        else if (!quoted && out.mid(i, 2) == "\r\n")
            records.back() << field, field.clear(), records.append(QByteArrayList()), ++i;
        else
            field += ch;
    }
    EXPECT_FALSE(quoted);
    records.removeLast();
    EXPECT_FALSE(records.isEmpty());
    QStringList paths;
    for (qsizetype i = 1; i < records.size(); ++i) {
        EXPECT_EQ(records[i].size(), 2);
        paths << QFile::decodeName(records[i].value(0));
    }
    return paths;
}

TEST_F(ScanOutputTest, NamesWithControlCharactersParseBackInEveryFormat) {
    const char* names[] = {"plain.tmp",    "new\nline.tmp", "tab\there.tmp", "back\\n.tmp",
                           "ctl\x01x.tmp", "cr\rret.tmp",   "del\x7f.tmp",   "quote,\"q\".tmp"};
    QStringList expected;
    for (const char* name : names) {
        expected << tree + "/" + QFile::decodeName(name);
        write(expected.last(), "x");
    }
    expected.sort();

    const struct {
        const char* what;
        QStringList options;
        std::function<QStringList(const QByteArray&)> parse;
    } formats[] = {
        {"text", {}, textPaths},
        {"null", {"--null"}, nullPaths},
        {"json", {"--format", "json"}, jsonPaths},
        {"csv", {"--format", "csv"}, csvPaths},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.what);
        const Output r = scan(f.options);
        EXPECT_EQ(r.code, 3) << r.err.toStdString();
        QStringList paths = f.parse(r.rawOut);
        paths.sort();
        EXPECT_EQ(paths, expected);
    }
    // One path, one line.
    EXPECT_EQ(scan({}).rawOut.count('\n'), expected.size());
    EXPECT_EQ(scan({"--null", "--format", "csv"}).code, 2);
}

TEST_F(ScanOutputTest, UnlistableFolderIsSkippedNamedAndGivesThePartialStatus) {
    const QString locked = tree + "/locked";
    QDir().mkpath(locked);
    QDir().mkpath(tree + "/zz/deep");
    write(locked + "/inside.tmp", "x");
    write(tree + "/a.tmp", "x");
    write(tree + "/zz/deep/after.tmp", "x");
    QFile::setPermissions(locked, {});
    struct Restore {
        QString path;
        ~Restore() {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } restore{locked};
    if (::geteuid() == 0 && QFile::exists("/usr/bin/setpriv")) {
        QProcess::execute("chmod", {"-R", "a+rwX", root});
        QFile::setPermissions(locked, {});
        asNobody = true;
    } else if (!QDir(locked).entryList(QDir::Files).isEmpty()) {
        GTEST_SKIP() << "permissions do not deny listing here";
    }

    const Output text = scan({});
    EXPECT_EQ(text.code, 4) << text.err.toStdString();
    EXPECT_EQ(textPaths(text.rawOut), (QStringList{tree + "/a.tmp", tree + "/zz/deep/after.tmp"}));
    // Named once, by the command line itself, not again by the window's box.
    EXPECT_EQ(text.err.count(locked), 1) << text.err.toStdString();
    EXPECT_TRUE(text.err.contains(locked + "\n"));

    const Output json = scan({"--format", "json"});
    EXPECT_EQ(json.code, 4);
    const QJsonObject summary = QJsonDocument::fromJson(json.rawOut)["summary"].toObject();
    EXPECT_EQ(summary["unlistedFolders"].toArray(), QJsonArray{locked});
    EXPECT_TRUE(summary["error"].isNull());
    EXPECT_EQ(summary["found"].toInt(), 2);
}

} // namespace
