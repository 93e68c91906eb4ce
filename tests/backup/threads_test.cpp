// Backups and restores that compress and inflate on other threads against
// the same work done on the calling thread alone: the same archive bytes,
// files, events and errors, whatever goes wrong half way.
#include "backup_test_util.h"

#include "support/faulty_file_system.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>

namespace pylomir::backup::testing {
namespace {

// A disk that can also give only the first bytes of one file: reads past
// them fail, while the file's size still tells the whole.
class FaultyFileSystem : public pylomir::testing::FaultyFileSystem {
public:
    QString cutFile;
    qint64 readableBytes = 0;

    std::unique_ptr<QIODevice> openForReading(const QString& path, QString* reason) override {
        auto file = pylomir::testing::FaultyFileSystem::openForReading(path, reason);
        if (!file || path != cutFile)
            return file;
        return std::make_unique<CutDevice>(std::move(file), readableBytes);
    }

private:
    class CutDevice final : public QIODevice {
    public:
        CutDevice(std::unique_ptr<QIODevice> inner, qint64 readable)
            : inner_(std::move(inner)), left_(readable) {
            open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        }
        qint64 size() const override { return inner_->size(); }

    protected:
        qint64 readData(char* data, qint64 n) override {
            if (left_ <= 0)
                return -1;
            const qint64 got = inner_->read(data, qMin(n, left_));
            left_ -= qMax<qint64>(got, 0);
            return got;
        }
        qint64 writeData(const char*, qint64) override { return -1; }

    private:
        std::unique_ptr<QIODevice> inner_;
        qint64 left_;
    };
};

const int kThreadCounts[] = {1, 2, 3};
const QDateTime kTime(QDate(2021, 3, 4), QTime(5, 6, 8));

// Every file below a folder with its bytes, by path relative to the folder.
// The information list is stored with the time it was written: that date
// is left out.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QByteArray bytes = readAll(path);
        const qsizetype list = bytes.indexOf(kListMemberName);
        if (list >= 0)
            bytes.replace(list + qsizetype(sizeof kListMemberName) - 1, 4, "date");
        files.insert(QDir(folder).relativeFilePath(path), bytes);
    }
    return files;
}

struct Workspace {
    // Small files (one block or none each) go in before the last input, so
    // the blocks in flight belong to many files at once.
    explicit Workspace(int smallFiles = 0) {
        for (int i = 0; i < smallFiles; ++i)
            small << dir.filePath(QStringLiteral("src/small%1").arg(i, 2, 10, QLatin1Char('0')));
        inputs = inputs.mid(0, 5) + small + inputs.mid(5);
    }
    QTemporaryDir dir;
    QString text = dir.filePath("src/text.txt"), random = dir.filePath("src/random.bin"),
            block = dir.filePath("src/block.txt"), one = dir.filePath("src/one"),
            empty = dir.filePath("src/empty"), mixed = dir.filePath("src/mixed");
    QStringList inputs{text, random, block, one, empty, mixed};
    QStringList small;
    QString archive = dir.filePath("arch/x.backup");
    QString out = dir.filePath("out");

    // The sources as they were, no archive, nothing restored.
    void reset() {
        QDir(dir.filePath("arch")).removeRecursively();
        QDir(out).removeRecursively();
        QDir().mkpath(dir.filePath("arch"));
        writeFile(text, testData(300'000, 1, true), kTime); // compressed blocks
        writeFile(random, testData(200'000, 2), kTime);     // stored blocks
        writeFile(block, testData(kBlockSize, 3, true), kTime);
        writeFile(one, "x", kTime);
        writeFile(empty, "", kTime);
        writeFile(mixed, testData(50'000, 4, true) + testData(50'001, 5), kTime);
        for (int i = 0; i < small.size(); ++i) {
            const qsizetype size = i % 7 == 3   ? 0
                                   : i % 5 == 1 ? kBlockSize
                                                : (i * 2'713) % 9'000 + 1;
            writeFile(small[i], testData(size, 100 + unsigned(i), i % 3 != 0), kTime);
        }
    }
};

struct Outcome {
    bool ok = false;
    QString raised; // the message of an ArchiveError, if one was thrown
    Errors errors;
    std::vector<std::pair<std::string, int>> progress;
    QStringList stored;
    qint32 filesDone = 0;
    QMap<QString, QByteArray> files;
};

void expectSame(const Outcome& serial, const Outcome& parallel) {
    EXPECT_EQ(parallel.ok, serial.ok);
    EXPECT_EQ(parallel.raised, serial.raised);
    EXPECT_EQ(parallel.errors, serial.errors);
    EXPECT_EQ(parallel.progress, serial.progress);
    EXPECT_EQ(parallel.stored, serial.stored);
    EXPECT_EQ(parallel.filesDone, serial.filesDone);
    EXPECT_EQ(parallel.files.keys(), serial.files.keys());
    EXPECT_TRUE(parallel.files == serial.files);
}

// A run on the calling thread alone, then the same run with each number of
// codec threads, which must come out the same; gives the lone run's outcome.
Outcome expectSameOnEveryThreadCount(const std::function<Outcome(int threads)>& run) {
    const Outcome serial = run(0);
    for (const int threads : kThreadCounts) {
        SCOPED_TRACE(threads);
        expectSame(serial, run(threads));
    }
    return serial;
}

// What a case does to a run: before it starts, and at each progress event
// (numbered from 1), where it may stop the operation.
struct Tweak {
    using Before = std::function<void(Workspace&, FaultyFileSystem&)>;
    using OnProgress =
        std::function<void(Workspace&, FaultyFileSystem&, int call, bool& keepGoing)>;
    using Configure = std::function<void(Archiver&)>;
    Tweak() = default;
    Tweak(Before b, OnProgress p, Configure c = {})
        : before(std::move(b)), onProgress(std::move(p)), configure(std::move(c)) {}

    Before before;
    OnProgress onProgress;
    Configure configure;
};

void prepare(Archiver& archiver, FaultyFileSystem& fs, Workspace& w, Outcome& o, const Tweak& tweak,
             int threads) {
    archiver.setCodecThreads(threads);
    fs.concurrentLookUps = true;
    archiver.setFileSystem(&fs);
    archiver.onVolumeNeeded = [](Archiver*, quint16, bool& go) { go = true; };
    collectErrors(archiver, o.errors);
    archiver.onProgress = [&, tweak](Archiver*, const QString& name, Percent p, bool& go) {
        // The information list's temporary name differs from run to run.
        const bool known = name.isEmpty() || w.inputs.contains(name) || name.startsWith(w.out);
        o.progress.emplace_back(known ? name.toStdString() : "<list>", p);
        if (tweak.onProgress)
            tweak.onProgress(w, fs, int(o.progress.size()), go);
    };
    if (tweak.before)
        tweak.before(w, fs);
    if (tweak.configure)
        tweak.configure(archiver);
}

Outcome backupWith(int threads, Workspace& w, CompressionLevel level, qint32 volumeSize,
                   const Tweak& tweak = {}) {
    w.reset();
    Outcome o;
    FaultyFileSystem fs;
    Archiver archiver;
    configureForBackup(archiver, true);
    archiver.setCompressionLevel(level);
    archiver.setMaxVolumeSize(volumeSize);
    prepare(archiver, fs, w, o, tweak, threads);
    try {
        o.ok = archiver.backup(w.inputs, w.archive);
    } catch (const ArchiveError& e) {
        o.raised = e.message();
    }
    o.stored = archiver.storedFiles();
    o.filesDone = archiver.filesDone();
    o.files = snapshot(w.dir.filePath("arch"));
    return o;
}

Outcome restoreWith(int threads, Workspace& w, const QMap<QString, QByteArray>& volumes,
                    const Tweak& tweak = {}) {
    w.reset();
    for (auto it = volumes.begin(); it != volumes.end(); ++it)
        writeFile(w.dir.filePath("arch/" + it.key()), it.value());
    Outcome o;
    FaultyFileSystem fs;
    Archiver archiver;
    prepare(archiver, fs, w, o, tweak, threads);
    try {
        o.ok = archiver.restore(w.archive, w.out);
    } catch (const ArchiveError& e) {
        o.raised = e.message();
    }
    o.filesDone = archiver.filesDone();
    o.files = snapshot(w.out);
    return o;
}

Tweak diskFullAfter(qint64 bytes) {
    return {[bytes](Workspace&, FaultyFileSystem& fs) { fs.bytesBeforeDiskFull = bytes; }, {}};
}
// Stops the archiver at its stopAt-th progress report (0: never).
void stopOnProgressCall(Archiver& archiver, int stopAt) {
    archiver.onProgress = [stopAt, calls = 0](Archiver*, const QString&, Percent,
                                              bool& go) mutable {
        if (++calls == stopAt)
            go = false;
    };
}

Tweak stopAtCall(int stopAt) {
    return {{}, [stopAt](Workspace&, FaultyFileSystem&, int call, bool& go) {
                if (call == stopAt)
                    go = false;
            }};
}

TEST(ArchiveThreads, ArchiveBytesAndEventsAreTheSameAtEveryLevelAndVolumeSize) {
    const CompressionLevel levels[] = {CompressionLevel::Fastest, CompressionLevel::None,
                                       CompressionLevel::Default, CompressionLevel::Max};
    Workspace w;
    for (const CompressionLevel level : levels) {
        for (const qint32 volumeSize : {0, kVolumeSlack + 3 * kBlockSize}) {
            SCOPED_TRACE(::testing::Message()
                         << "level " << int(level) << ", volumes " << volumeSize);
            const Outcome serial = expectSameOnEveryThreadCount(
                [&](int threads) { return backupWith(threads, w, level, volumeSize); });
            ASSERT_TRUE(serial.ok);
            ASSERT_GT(serial.files.size(), volumeSize > 0 ? 3 : 0);
        }
    }
}

TEST(ArchiveThreads, FailedOrStoppedBackupLeavesWhatTheCallingThreadAloneLeaves) {
    const struct {
        const char* what;
        Tweak tweak;
    } cases[] = {
        {"disk full in the header", diskFullAfter(30)},
        {"disk full in the first file", diskFullAfter(100'000)},
        {"disk full in a later volume", diskFullAfter(260'000)},
        {"stopped at the first block", stopAtCall(2)},
        {"stopped in the middle of a file", stopAtCall(9)},
        {"stopped in a later file", stopAtCall(30)},
        {"an input cannot be read to its end",
         {[](Workspace& w, FaultyFileSystem& fs) {
              fs.cutFile = w.random;
              fs.readableBytes = 70'000;
          },
          {}}},
        {"an input cannot be read at all",
         {[](Workspace& w, FaultyFileSystem& fs) {
              fs.cutFile = w.mixed;
              fs.readableBytes = 0;
          },
          {}}},
        {"a later input vanishes",
         {{},
          [](Workspace& w, FaultyFileSystem& fs, int call, bool&) {
              if (call == 3)
                  fs.vanishing << w.mixed;
          }}},
    };
    Workspace w;
    for (const auto& c : cases) {
        for (const qint32 volumeSize : {0, kVolumeSlack + 5 * kBlockSize}) {
            SCOPED_TRACE(::testing::Message() << c.what << ", volumes " << volumeSize);
            const Outcome serial = expectSameOnEveryThreadCount([&](int threads) {
                return backupWith(threads, w, CompressionLevel::Fastest, volumeSize, c.tweak);
            });
            ASSERT_FALSE(serial.ok);
        }
    }
}

TEST(ArchiveThreads, RestoreGivesTheSameFilesEventsAndErrorsEvenFromADamagedArchive) {
    Workspace w;
    const Outcome written = backupWith(0, w, CompressionLevel::Fastest, 0);
    ASSERT_TRUE(written.ok);
    const QByteArray archive = written.files.value("x.backup");
    ASSERT_FALSE(archive.isEmpty());
    // A byte changed some way past a member's name: its date and segment
    // signature take 8 bytes, the first block's length 4 more.
    const auto flipped = [&](const char* name, qsizetype into) {
        QByteArray bytes = archive;
        const QByteArray stored = w.dir.filePath(name).toUtf8();
        const qsizetype at = archive.indexOf(stored);
        EXPECT_GT(at, 0) << name;
        bytes[at + stored.size() + into] ^= 0x5A;
        return QMap<QString, QByteArray>{{"x.backup", bytes}};
    };
    const struct {
        const char* what;
        QMap<QString, QByteArray> volumes;
        Tweak tweak;
        bool ok;
    } cases[] = {
        {"whole", {{"x.backup", archive}}, {}, true},
        {"cut short", {{"x.backup", archive.left(archive.size() / 3)}}, {}, false},
        {"a block's length damaged", flipped("src/text.txt", 8 + 2), {}, false},
        {"compressed data damaged", flipped("src/text.txt", 12 + 100), {}, false},
        {"a later member damaged", flipped("src/mixed", 3000), {}, false},
        {"disk full in the first file", {{"x.backup", archive}}, diskFullAfter(100'000), false},
        {"disk full in a later file", {{"x.backup", archive}}, diskFullAfter(420'000), false},
        {"stopped in the middle of a file", {{"x.backup", archive}}, stopAtCall(7), false},
        {"stopped in a later file", {{"x.backup", archive}}, stopAtCall(27), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome serial = expectSameOnEveryThreadCount(
            [&](int threads) { return restoreWith(threads, w, c.volumes, c.tweak); });
        EXPECT_EQ(serial.ok, c.ok);
    }
}

TEST(ArchiveThreads, RestoreOverVolumesIsTheSame) {
    Workspace w;
    const Outcome written =
        backupWith(0, w, CompressionLevel::Default, kVolumeSlack + 3 * kBlockSize);
    ASSERT_TRUE(written.ok);
    for (const int stopAt : {0, 5, 20}) {
        SCOPED_TRACE(stopAt);
        const Outcome serial = expectSameOnEveryThreadCount([&](int threads) {
            return restoreWith(threads, w, written.files, stopAtCall(stopAt));
        });
        EXPECT_EQ(serial.ok, stopAt == 0);
    }
}

// A caller's stream goes on just after what the restore consumed, however
// far the blocks were read ahead.
TEST(ArchiveThreads, StoppedRestoreLeavesTheCallersStreamWhereTheCallingThreadAloneLeavesIt) {
    Workspace w;
    w.reset();
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    {
        Archiver archiver;
        configureForBackup(archiver);
        archiver.setTargetStream(&stream);
        ASSERT_TRUE(archiver.backup(w.inputs, QLatin1String(kStreamArchiveName)));
    }
    stream.write("tail");
    const auto positionAfter = [&](int threads, int stopAt) {
        stream.seek(0);
        QDir(w.out).removeRecursively();
        Archiver archiver;
        archiver.setCodecThreads(threads);
        archiver.setSourceStream(&stream);
        stopOnProgressCall(archiver, stopAt);
        const bool ok = archiver.restore(QLatin1String(kStreamArchiveName), w.out);
        return std::make_pair(ok, stream.pos());
    };
    for (const int stopAt : {0, 2, 6, 19, 30}) {
        SCOPED_TRACE(stopAt);
        const auto serial = positionAfter(0, stopAt);
        EXPECT_EQ(serial.first, stopAt == 0);
        for (const int threads : kThreadCounts)
            EXPECT_EQ(positionAfter(threads, stopAt), serial);
    }
}

// The blocks in flight run across file boundaries: a fault, a stop or a
// volume's end among many small files leaves what the calling thread alone
// leaves.
TEST(ArchiveThreads, BackupOfManySmallFilesIsTheSameWhereverItEnds) {
    Workspace w(24);
    const Outcome whole = backupWith(0, w, CompressionLevel::Fastest, 0);
    ASSERT_TRUE(whole.ok);
    const QByteArray archive = whole.files.value("x.backup");
    const auto fullAt = [&](int file) {
        return diskFullAfter(archive.indexOf(w.small[file].toUtf8()) + 40);
    };
    const auto failing = [](int file, qint64 readable) {
        return Tweak{[file, readable](Workspace& w, FaultyFileSystem& fs) {
                         fs.cutFile = w.small[file];
                         fs.readableBytes = readable;
                     },
                     {}};
    };
    const struct {
        const char* what;
        Tweak tweak;
        bool ok;
    } cases[] = {
        {"whole", {}, true},
        {"stopped at a small file's block", stopAtCall(37), false},
        {"stopped at a later small file's block", stopAtCall(49), false},
        {"disk full in a small file", fullAt(9), false},
        {"a small file cannot be read to its end", failing(2, 100), false},
        {"a small file cannot be read at all", failing(8, 0), false},
        {"a small file cannot be opened",
         {[](Workspace& w, FaultyFileSystem& fs) { fs.denied << w.small[11]; }, {}},
         false},

        // Measured, then gone when it is opened to be stored.
        {"a small file vanishes",
         {{},
          [](Workspace& w, FaultyFileSystem& fs, int call, bool&) {
              if (call == 2)
                  fs.vanishing << w.small[13];
          }},
         false},
    };
    for (const auto& c : cases) {
        for (const qint32 volumeSize : {0, kVolumeSlack + 2 * kBlockSize}) {
            SCOPED_TRACE(::testing::Message() << c.what << ", volumes " << volumeSize);
            const Outcome serial = expectSameOnEveryThreadCount([&](int threads) {
                return backupWith(threads, w, CompressionLevel::Fastest, volumeSize, c.tweak);
            });
            EXPECT_EQ(serial.ok, c.ok);
        }
    }
}

// Blocks are inflated ahead into the members that follow; members that are
// skipped, damaged or stopped in leave what the calling thread alone leaves.
TEST(ArchiveThreads, RestoreOfManySmallMembersIsTheSameWhereverItEnds) {
    Workspace w(24);
    const Outcome written = backupWith(0, w, CompressionLevel::Default, 0);
    ASSERT_TRUE(written.ok);
    const QByteArray archive = written.files.value("x.backup");
    const QMap<QString, QByteArray> whole{{"x.backup", archive}};
    const auto damaged = [&](int file, qsizetype into) {
        QByteArray bytes = archive;
        const QByteArray stored = w.small[file].toUtf8();
        bytes[archive.indexOf(stored) + stored.size() + into] ^= 0x5A;
        return QMap<QString, QByteArray>{{"x.backup", bytes}};
    };
    const auto skipping = [](Tweak tweak) {
        tweak.configure = [](Archiver& archiver) {
            archiver.onRestoringFile = [](Archiver*, QString& target, qint32, bool& go) {
                go = go && !target.endsWith(QLatin1Char('1')) && !target.endsWith(QLatin1Char('4'));
            };
        };
        return tweak;
    };
    const Tweak existing{
        [](Workspace& w, FaultyFileSystem&) {
            for (int i = 0; i < w.small.size(); i += 3)
                writeFile(w.out + "/" + QFileInfo(w.small[i]).fileName(), "old");
        },
        {},
        [](Archiver& archiver) { archiver.setRestoreRule(RestoreRule::IfMissing); }};
    const struct {
        const char* what;
        QMap<QString, QByteArray> volumes;
        Tweak tweak;
        bool ok;
    } cases[] = {
        {"whole", whole, {}, true},
        {"members vetoed", whole, skipping({}), true},
        {"members kept by the rule", whole, existing, true},
        {"stopped at a small member's block", whole, stopAtCall(38), false},
        {"stopped after vetoed members", whole, skipping(stopAtCall(44)), false},
        {"a small member's block damaged", damaged(11, 12 + 30), {}, false},
        {"a small member's block length damaged", damaged(15, 8 + 1), {}, false},
        {"a small member's segment signature damaged", damaged(6, 5), {}, false},
        {"disk full in a small member", whole, diskFullAfter(760'000), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome serial = expectSameOnEveryThreadCount(
            [&](int threads) { return restoreWith(threads, w, c.volumes, c.tweak); });
        EXPECT_EQ(serial.ok, c.ok);
    }

    // Over volumes: what was read ahead in one volume is never taken for
    // the next.
    const Outcome split =
        backupWith(0, w, CompressionLevel::Fastest, kVolumeSlack + 2 * kBlockSize);
    ASSERT_TRUE(split.ok);
    ASSERT_GT(split.files.size(), 8);
    for (const int stopAt : {0, 41}) {
        SCOPED_TRACE(stopAt);
        const Outcome serial = expectSameOnEveryThreadCount(
            [&](int threads) { return restoreWith(threads, w, split.files, stopAtCall(stopAt)); });
        EXPECT_EQ(serial.ok, stopAt == 0);
    }
}

// A source that cannot go back: what was read ahead past a member is taken
// back within the reader's own buffer.
class SequentialSource final : public QIODevice {
public:
    explicit SequentialSource(QByteArray bytes) : bytes_(std::move(bytes)) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 given() const { return at_; }

protected:
    qint64 readData(char* data, qint64 n) override {
        // Odd amounts, so buffer ends fall anywhere.
        const qint64 take = std::min({n, qint64(bytes_.size()) - at_, qint64(7'777)});
        std::memcpy(data, bytes_.constData() + at_, size_t(take));
        at_ += take;
        return take;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
};

TEST(ArchiveThreads, RestoreFromASourceThatCannotSeekIsTheSame) {
    Workspace w(24);
    const Outcome written = backupWith(0, w, CompressionLevel::Fastest, 0);
    ASSERT_TRUE(written.ok);
    const QByteArray archive = written.files.value("x.backup");
    const auto restored = [&](int threads, int stopAt) {
        QDir(w.out).removeRecursively();
        SequentialSource source(archive);
        Archiver archiver;
        archiver.setCodecThreads(threads);
        archiver.setSourceStream(&source);
        stopOnProgressCall(archiver, stopAt);
        const bool ok = archiver.restore(QLatin1String(kStreamArchiveName), w.out);
        return std::make_tuple(ok, source.given(), snapshot(w.out));
    };
    for (const int stopAt : {0, 36, 47}) {
        SCOPED_TRACE(stopAt);
        const auto serial = restored(0, stopAt);
        EXPECT_EQ(std::get<0>(serial), stopAt == 0);
        if (stopAt == 0) {
            EXPECT_EQ(std::get<2>(serial).size(), w.inputs.size());
        }
        for (const int threads : kThreadCounts)
            EXPECT_TRUE(restored(threads, stopAt) == serial);
    }
}

qsizetype threadsRunning() {
    return QDir(QStringLiteral("/proc/self/task"))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
        .size();
}

TEST(ArchiveThreads, NoThreadOutlivesTheOperationHoweverItEnds) {
    if (threadsRunning() == 0)
        GTEST_SKIP() << "no per-process thread list here";
    Workspace w;
    w.reset();
    const qsizetype before = threadsRunning();
    Archiver archiver; // lives on: only the operation's threads must be gone
    configureForBackup(archiver);
    archiver.setCodecThreads(3);
    ASSERT_TRUE(archiver.backup(w.inputs, w.archive));
    EXPECT_EQ(threadsRunning(), before);
    const QByteArray whole = readAll(w.archive);

    int calls = 0;
    archiver.onProgress = [&calls](Archiver*, const QString&, Percent, bool& go) {
        go = ++calls % 5 != 0;
    };
    EXPECT_FALSE(archiver.backup(w.inputs, w.archive));
    EXPECT_EQ(threadsRunning(), before);
    writeFile(w.archive, whole);
    EXPECT_FALSE(archiver.restore(w.archive, w.out));
    EXPECT_EQ(threadsRunning(), before);

    // Cut just before a member's name length: reading it throws.
    writeFile(w.archive, whole.left(whole.indexOf(w.block.toUtf8()) - 4));
    archiver.onProgress = nullptr;
    EXPECT_THROW(archiver.restore(w.archive, w.dir.filePath("out2")), ArchiveError);
    EXPECT_EQ(threadsRunning(), before);
}

} // namespace
} // namespace pylomir::backup::testing
