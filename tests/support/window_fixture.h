// A main window's core over a fake folder tree, an in-memory settings store
// and a temporary program folder.
#pragma once

#include "app/main_window_core.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/text_file.h"
#include "support/fake_file_system.h"
#include "support/fake_services.h"
#include "support/faulty_file_system.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace pylomir::testing {

class WindowFixture : public ::testing::Test {
protected:
    QTemporaryDir home;
    FaultyFileSystem disk; // where the program folder's files are read and written
    FakeFileSystem fs{disk};
    MemorySettingsStore settings;
    FakeClock clock;
    platform::LocaleFormats locale{QLocale(QLocale::Polish, QLocale::Poland)};
    ScriptedUi ui;
    ScriptedPump pump;
    std::unique_ptr<app::MainWindowCore> window;

    void SetUp() override {
        // Tests may call SetUp again for a fresh window (table-driven cases).
        ASSERT_TRUE(home.isValid());
        QDir(home.path() + QStringLiteral("/Filtry")).removeRecursively();
        QDir(home.path()).mkdir(QStringLiteral("Filtry"));
        disk = FaultyFileSystem();
        fs = FakeFileSystem(disk);
        settings = MemorySettingsStore();
        ui = ScriptedUi();
        pump = ScriptedPump();
        window = start();
        ui.boxes.clear(); // the first start's log-folder message
        model().filters.filters = {QStringLiteral("*.tmp"), QStringLiteral("*.bak")};
        // The fake tree's files have no bytes to back up; backup tests turn it on.
        model().options.backupBeforeQuickDelete = false;
        run().setScanRoot(QStringLiteral("/r"));
        fs.folders[QStringLiteral("/r/")];
    }

    core::Services services() {
        core::Services s;
        s.fileSystem = &fs;
        s.settings = &settings;
        s.clock = &clock;
        s.locale = &locale;
        s.ui = &ui;
        s.pump = &pump;
        s.programDir = home.path() + QLatin1Char('/');
        return s;
    }
    // A fresh window over the fixture's store and folder, as at a new start.
    std::unique_ptr<app::MainWindowCore> start() {
        auto w = std::make_unique<app::MainWindowCore>(services());
        w->startUp();
        return w;
    }

    QString filtersPath(const QString& name) const {
        return home.path() + QStringLiteral("/Filtry/") + name;
    }
    void writeList(const QString& name, const QStringList& lines) {
        ASSERT_TRUE(platform::writeListFile(platform::realFileSystem(), filtersPath(name), lines));
    }
    QStringList readList(const QString& name) {
        QStringList lines;
        EXPECT_TRUE(platform::readListFile(platform::realFileSystem(), filtersPath(name), lines));
        return lines;
    }
    void store(const char* key, const char* name, const char* value) {
        settings.createKey(QString::fromLatin1(key));
        settings.writeString(QString::fromLatin1(key), QString::fromLatin1(name),
                             QString::fromUtf8(value));
    }

    core::MainWindowModel& model() { return window->model(); }
    scan::ScanRun& run() { return window->scanRun(); }
    void scan() { run().startScan(); }
};

} // namespace pylomir::testing
