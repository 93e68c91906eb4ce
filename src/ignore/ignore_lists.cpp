#include "ignore/ignore_lists.h"

#include "platform/program_dir.h"
#include "platform/text_file.h"

#include "platform/file_system.h"
#include <QHash>

namespace pylomir::ignore {

QStringList PorownajListy(const QStringList& source, const QStringList& removal) {
    // Each source entry takes the first equal removal entry still unused.
    // Equal entries are interchangeable, so a count per case-folded text gives
    // the same result as searching the removal list entry by entry, in linear
    // time. What is left of the removal list is not needed.
    QHash<QString, qsizetype> available;
    for (const QString& r : removal)
        ++available[r.toCaseFolded()];
    QStringList kept;
    kept.reserve(source.size());
    for (const QString& s : source) {
        auto it = available.find(s.toCaseFolded());
        if (it != available.end() && *it > 0)
            --*it;
        else
            kept.append(s);
    }
    return kept;
}

IgnoreLists::IgnoreLists(scan::SearchFormModel& model, const core::Services& services)
    : m_(model), s_(services) {}

QString IgnoreLists::ignoredFilesPath() const {
    return platform::filtersDir(s_.programDir) + QStringLiteral("ignoralplik.dat");
}

QString IgnoreLists::ignoredTypesPath() const {
    return platform::filtersDir(s_.programDir) + QStringLiteral("ignoraltyp.dat");
}

bool IgnoreLists::readList(const QString& path, QStringList& list) {
    QString reason;
    QStringList lines;
    if (!platform::readListFile(*s_.fileSystem, path, lines, &reason)) {
        s_.ui->showError(platform::cannotOpenMessage(path, reason));
        return false;
    }
    list = lines;
    return true;
}

bool IgnoreLists::writeList(const QString& path, const QStringList& list) {
    QString reason;
    if (!platform::writeListFile(*s_.fileSystem, path, list, &reason)) {
        s_.ui->showError(platform::cannotCreateMessage(path, reason));
        return false;
    }
    return true;
}

void IgnoreLists::loadAtStartup() {
    if (s_.fileSystem->exists(ignoredFilesPath()))
        readList(ignoredFilesPath(), m_.ListaIgnorowania);
    else
        writeList(ignoredFilesPath(), m_.ListaIgnorowania);
    if (s_.fileSystem->exists(ignoredTypesPath()))
        readList(ignoredTypesPath(), m_.ListBoxIgnorujTypy);
    else
        writeList(ignoredTypesPath(), m_.ListBoxIgnorujTypy);
    m_.Label_Ignorowan = QString::number(m_.ListaIgnorowania.size());
    m_.Label_IgnorowanTypy = QString::number(m_.ListBoxIgnorujTypy.size());
}

bool IgnoreLists::writeIgnoredFiles() {
    return writeList(ignoredFilesPath(), m_.ListaIgnorowania);
}

bool IgnoreLists::writeIgnoredTypes() {
    return writeList(ignoredTypesPath(), m_.ListBoxIgnorujTypy);
}

void IgnoreLists::Button15Click() {
    m_.StatusBar1Panel.clear();
    m_.Label12 = QStringLiteral("Usuwanie ignorowanych wpisów");
    m_.ListaPorownana = m_.foundList.paths();
    const qsizetype before = m_.foundList.count();
    m_.foundList.assign(PorownajListy(m_.ListaPorownana, m_.ListaIgnorowania));
    const qsizetype after = m_.foundList.count();
    m_.Label48 = QString::number(before - after) + QStringLiteral(" plików");
    m_.ListaPorownana.clear();
    m_.Label50 = QString::number(after) + QStringLiteral(" plików");
    m_.Label12 = QStringLiteral("Przeszukiwanie gotowe !");
    m_.StatusBar1Panel = QStringLiteral("Gotowe !");
}

} // namespace pylomir::ignore
