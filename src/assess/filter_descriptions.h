// The filter description list of the "Opisy filtrów" tab: one row per
// file mask the program knows, with its category and a description.
#pragma once

#include "core/main_window_model.h"
#include "core/services.h"

#include <QList>
#include <QString>

namespace pylomir::assess {

// The row categories, each with its icon, in the order of their numbers.
enum class FilterCategory {
    UnknownAppTemporary,
    Temporary,
    Internet,
    ProgramBackup,
    RiskyToDelete,
    LogsAndReports,
    InfoAndText,
    RegistryBackup
};
inline constexpr int kFilterCategoryCount = 8;

struct FilterDescription {
    QString mask;
    FilterCategory category = FilterCategory::Temporary;
    QString description;
};

// The rows in their stored order.
const QList<FilterDescription>& filterDescriptions();
// The legend's caption of a category.
QString categoryCaption(FilterCategory category);
// The list's column captions.
QString maskColumnCaption();
QString descriptionColumnCaption();
// Whether a row's mask is one the program does not handle: its description
// starts with the "not handled" mark.
bool isNotHandled(const FilterDescription& row);

// The tab's order of rows. Owner of FilterDescriptionsState.
class FilterDescriptionsTab {
public:
    FilterDescriptionsTab(core::FilterDescriptionsState& state, const core::Services& services);

    // The stored order; run once when the window is created.
    void fill();
    // The sort check box: while on, the rows are sorted by mask in the
    // user's locale; turning it off keeps the present order.
    void setSorted(bool on);

private:
    // Orders the rows by mask: the user's collation, or plain comparison
    // ignoring case when no locale is given.
    void sortRows();

    core::FilterDescriptionsState& state_;
    const core::Services& s_;
};

} // namespace pylomir::assess
