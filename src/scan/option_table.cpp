#include "scan/option_table.h"

namespace pylomir::scan {

const OptionRow& optionRow(bool core::OptionsState::*option) {
    for (const OptionRow& row : kOptionTable) {
        if (row.option == option)
            return row;
    }
    return kOptionTable.back(); // every option has a row
}

engine::SearchOptions searchOptions(const core::OptionsState& options) {
    engine::SearchOptions bits;
    for (const OptionRow& row : kOptionTable) {
        if (row.searchOption)
            bits.setFlag(*row.searchOption, options.*row.option);
    }
    return bits;
}

} // namespace pylomir::scan
