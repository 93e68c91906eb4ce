// The options of the "Ustawienia" tab in one table: where each lives in the
// model, the value it is stored as, its caption, the search option it turns
// on and its default.
#pragma once

#include "core/main_window_model.h"
#include "engine/file_search.h"

#include <array>
#include <optional>

namespace pylomir::scan {

struct OptionRow {
    bool core::OptionsState::*option;
    const char* storedName; // value of the Ustawienia key; null: never stored
    const char* caption;    // UTF-8; null: no check box
    std::optional<engine::SearchOption> searchOption;
    bool byDefault;
};

// In the order they are read and written.
inline constexpr std::array<OptionRow, 13> kOptionTable{{
    {&core::OptionsState::writeLogOnClose, "AutoLog", "Zapisuj logi ze skanowania systemu",
     std::nullopt, true},
    {&core::OptionsState::showHints, "Podpowiedzi", "Pokaż podpowiedzi do przycisków", std::nullopt,
     true},
    {&core::OptionsState::includeSubfolders, "Podfoldery", "Przeszukuj podfoldery dysku",
     engine::SearchOption::IncludeSubfolders, true},
    {&core::OptionsState::htmlReportsEnabled, "AutoHTML", "Włącz możliwość tworzenia raportów HTML",
     std::nullopt, false},
    {&core::OptionsState::clearAttributesOnScan, "AutoAtrybut",
     "Automatycznie kasuj atrybuty pliku", std::nullopt, true},
    {&core::OptionsState::backupBeforeQuickDelete, "AutoKopia",
     "Twórz kopię zapasową przed usunieciem - opcja dla przycisku \"Szybkie usuwanie\"",
     std::nullopt, true},
    {&core::OptionsState::autoIgnore, "Ignorowanie",
     "Automatycznie dodawaj pliki o podwyższonym ryzyku do listy Ignorowań większe od:",
     std::nullopt, true},
    {&core::OptionsState::includeReadOnly, "TylkoOdczyt",
     "Szukaj w plikach z atrybutem tylko do odczytu", engine::SearchOption::ReadOnly, true},
    {&core::OptionsState::includeHidden, "Ukryty", "Szukaj w plikach z atrybutem ukryty",
     engine::SearchOption::Hidden, true},
    {&core::OptionsState::includeSystem, "Systemowy", "Szukaj w plikach z atrybutem systemowy",
     engine::SearchOption::System, true},
    {&core::OptionsState::includeArchive, "Archiwalny", "Szukaj w plikach z atrybutem archiwalny",
     engine::SearchOption::Archive, true},
    {&core::OptionsState::includeAnyFile, "BezAtrybutu", "Szukaj w plikach bez atrybutów",
     engine::SearchOption::AnyFile, true},
    // A hidden check box "Szukaj jako nazw folderów": off, not stored.
    {&core::OptionsState::includeFolders, nullptr, nullptr, engine::SearchOption::Folders, false},
}};

// The row of an option.
const OptionRow& optionRow(bool core::OptionsState::*option);

// The search options the model's options turn on.
engine::SearchOptions searchOptions(const core::OptionsState& options);

} // namespace pylomir::scan
