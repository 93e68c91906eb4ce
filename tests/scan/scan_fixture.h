#pragma once

#include "platform/locale_formats.h"
#include "scan/search_form.h"
#include "support/fake_file_system.h"
#include "support/fake_services.h"
#include "support/qt_printers.h"
#include "support/scripted_ui.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace pylomir::testing {

// A main window over a fake file system, with a temporary program folder.
class ScanFixture : public ::testing::Test {
protected:
    QTemporaryDir home;
    FakeFileSystem fs;
    MemorySettingsStore settings;
    FakeClock clock;
    platform::LocaleFormats locale{QLocale(QLocale::Polish, QLocale::Poland)};
    ScriptedUi ui;
    ScriptedPump pump;
    std::unique_ptr<scan::SearchForm> form;

    void SetUp() override {
        // Tests may call SetUp again for a fresh window (table-driven cases).
        ASSERT_TRUE(home.isValid());
        QDir(home.path() + QStringLiteral("/Filtry")).removeRecursively();
        QDir(home.path()).mkdir(QStringLiteral("Filtry"));
        fs = FakeFileSystem();
        settings = MemorySettingsStore();
        ui = ScriptedUi();
        pump = ScriptedPump();
        core::Services s;
        s.fileSystem = &fs;
        s.settings = &settings;
        s.clock = &clock;
        s.locale = &locale;
        s.ui = &ui;
        s.pump = &pump;
        s.programDir = home.path() + QLatin1Char('/');
        form = std::make_unique<scan::SearchForm>(s);
        form->FormCreate();
        ui.boxes.clear(); // the first start's log-folder message
        model().ListBoxFiltry = {QStringLiteral("*.tmp"), QStringLiteral("*.bak")};
        model().SkanujDysk = QStringLiteral("/r");
        fs.folders[QStringLiteral("/r/")];
    }

    scan::SearchFormModel& model() { return form->model(); }
    scan::ScanRun& run() { return form->scanRun(); }
    void scan() { run().Button11Click(); }
};

} // namespace pylomir::testing
