// The two ignore lists: their files and the comparison run after a scan.
#pragma once

#include "core/ui_port.h"
#include "scan/search_form_model.h"

#include <QString>
#include <QStringList>

namespace pylomir::ignore {

// Each removal entry takes away at most one equal source entry (ignoring
// letter case); the entries kept come back in source order.
QStringList PorownajListy(const QStringList& source, const QStringList& removal);

class IgnoreLists {
public:
    IgnoreLists(scan::SearchFormModel& model, const core::Services& services);

    // Reads both lists at start-up, creating missing files empty.
    void loadAtStartup();
    // The ignore comparison ("porownaj"): entries on IgnoredFiles leave FoundList.
    void Button15Click();
    // Writes IgnoredFiles to Filtry/ignoralplik.dat; reports a failure.
    bool writeIgnoredFiles();
    bool writeIgnoredTypes();

    QString ignoredFilesPath() const;
    QString ignoredTypesPath() const;

private:
    bool readList(const QString& path, QStringList& list);
    bool writeList(const QString& path, const QStringList& list);

    scan::SearchFormModel& m_;
    core::Services s_;
};

} // namespace pylomir::ignore
