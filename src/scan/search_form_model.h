// The state of the main window (TSearchForm) as plain data. Field names are
// the window's control names; the GUI draws them and nothing else.
#pragma once

#include "core/path_list.h"
#include "core/services.h"
#include "core/ui_port.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace pylomir::scan {

using core::FileDialogOptions;
using core::FoundList;
using core::MsgAnswer;
using core::MsgButtons;
using core::MsgIcon;
using core::Services;
using core::UiPort;
using core::WindowId;

// The four scanning modes, in the order of their radio buttons.
enum class FilterMode { Bezpieczny, MniejBezpieczny, Zaawansowany, Uzytkownika };

struct TimerModel {
    int Interval = 1000; // milliseconds
    bool Enabled = false;
};

// The full-list window (TForm1): a copy of FoundList's text.
struct FullListModel {
    QStringList Lines;
    // Set while Lines lags behind FoundList; the copy is made when the
    // window is shown or the run ends, never once per entry.
    bool Stale = false;
    bool Visible = false;
};

struct SearchFormModel {
    FoundList foundList; // FoundList
    FullListModel form1; // TForm1

    // Data holders of the scan run.
    QList<qint32> ListBoxRozmiar; // size of every entry reported in the last run
    qsizetype ListBoxDodajPodejrzane =
        0;                           // its count of "x" lines: entries auto-ignored in the last run
    QStringList ListBoxLiczbaZnalez; // FoundList's count at the end of the last run
    QString EditKBznalezion;         // byte total of the last run
    QString LabelIloscZnalez;        // found-count total
    QString SkanujDysk;              // root folder of the next run
    bool DhCheckFolder1ShowHint = true;         // hints of the folder tree
    QString LabelProgres = QStringLiteral("0"); // interval of the gauge timer, ms
    // Elapsed-time counters, process-wide, never reset.
    int elapsedSeconds = 0;
    int elapsedMinutes = 0;
    int elapsedHours = 0;

    // Visible outputs.
    QString Label50 = QStringLiteral("0 plików");                 // number of found files
    QString Label48 = QStringLiteral("0 plików");                 // ignored counter
    QString Label53 = QStringLiteral("0 plików");                 // suspicious counter
    QString Label57 = QStringLiteral("0 KB");                     // total size
    QString Label11 = QStringLiteral("Znalazłem:");               // caption over the found counter
    QString Label12 = QStringLiteral("Gotowy do skanowania...."); // status text
    QString Label16 = QStringLiteral("0");                        // scan count
    QString Label22 = QStringLiteral("0");                        // last scan date
    QString Label27;                                              // elapsed-time clock
    bool Label27Visible = false;
    int EncartaGauge = 0; // progress gauge, 0 to 100
    bool Animate1Active = false;
    QString StatusSkanowania; // scan status bar: the current folder
    bool StatusSkanowaniaVisible = true;
    QString StatusBar1Panel; // text of the panel status bar
    bool StatusBar1Visible = false;
    QString LabelAlerty = QStringLiteral("-"); // alert text
    bool Alert_NiskiVisible = false;
    bool Alert_SredniVisible = false;
    bool Alert_WysokiVisible = false;

    TimerModel Timer1; // progress gauge timer
    TimerModel Timer2; // elapsed-time clock, 1000 ms

    bool Button11Enabled = true; // start button
    bool btnUsunEnabled = true;  // delete button
    bool btnStopEnabled = false; // pause; enabled exactly while scanning

    // Options of the settings tab.
    bool cbRecursive = true;                                   // Przeszukuj podfoldery dysku
    bool CheckBox144 = true;                                   // read-only files
    bool CheckBox145 = true;                                   // hidden files
    bool CheckBox146 = true;                                   // system files
    bool CheckBox147 = false;                                  // folder names (hidden control)
    bool CheckBox148 = true;                                   // archive files
    bool CheckBox149 = true;                                   // files without attributes
    bool CheckBox103 = true;                                   // clear attributes of reported files
    bool CheckBox141 = true;                                   // auto-ignore large files
    QString EditRozmiarIgnorowania = QStringLiteral("670000"); // auto-ignore threshold, bytes

    // Filters tab.
    QStringList ListBoxFiltry;             // the filter list of the current mode
    bool ListBoxFiltrySorted = false;      // kept sorted once "Sortuj listę filtrów" ran
    qsizetype ListBoxFiltryItemIndex = -1; // the selected filter, or -1
    QString EditDodajFiltr;                // text of the new-filter field
    QString Label_LiczbaFiltrow = QStringLiteral("-"); // number of filters
    bool RadioButton4 = true;                          // "Bezpieczny" selected
    bool RadioButton1 = false;                         // "Mniej Bezpieczny" selected
    bool RadioButton3 = false;                         // "Zaawansowany" selected
    bool RadioButton2 = false;                         // "Ustawienia użytkownika" selected

    // Settings tab: options beyond the search options above.
    bool CheckBox100 = true;                   // write the deletion log at exit
    bool CheckBox99 = true;                    // show hints of the main controls
    bool CheckBox102 = false;                  // HTML reports
    bool CheckBox122 = true;                   // back up before the quick delete
    bool hintsShown = true;                    // hint flag of the controls the hint switch governs
    bool EditRozmiarIgnorowaniaEnabled = true; // follows CheckBox141
    QString LabelLOG_Katalog;                  // log folder as read at start
    QString LabelBAK_Katalog; // backup folder as read at start (used until restart)
    QString Edit4;            // backup folder field
    QString Edit5;            // log folder field

    // Statistics as displayed texts.
    QString Label15 = QStringLiteral("0"); // cumulative deleted files
    QString Label20 = QStringLiteral("0"); // cumulative deleted bytes
    QString Label26 = QStringLiteral("0"); // cumulative deleted size in KB/MB

    // Ignore lists.
    QStringList ListaIgnorowania;                      // IgnoredFiles
    QStringList ListBoxIgnorujTypy;                    // IgnoredTypes
    QString Label_Ignorowan = QStringLiteral("0");     // IgnoredFiles count
    QString Label_IgnorowanTypy = QStringLiteral("0"); // IgnoredTypes count
    QStringList ListaPorownana;                        // working storage of the ignore comparison

    bool scanning() const { return btnStopEnabled; }
};

} // namespace pylomir::scan
