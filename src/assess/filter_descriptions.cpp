#include "assess/filter_descriptions.h"

#include "platform/locale_formats.h"

namespace pylomir::assess {

const QList<FilterDescription>& filterDescriptions() {
    static const QList<FilterDescription> rows;
    return rows;
}

QString categoryCaption(FilterCategory) {
    return {};
}

QString maskColumnCaption() {
    return QStringLiteral("Typ pliku");
}

QString descriptionColumnCaption() {
    return QStringLiteral(
        "Opis rozszerzenia używanego przez aplikację [DOSTĘPNE: 197   Z   254   WSZYSTKICH]");
}

bool isNotHandled(const FilterDescription&) {
    return false;
}

FilterDescriptionsTab::FilterDescriptionsTab(core::FilterDescriptionsState& state,
                                             const core::Services& services)
    : state_(state), s_(services) {}

void FilterDescriptionsTab::fill() {
    state_.rowOrder.clear();
    for (qsizetype i = 0; i < filterDescriptions().size(); ++i)
        state_.rowOrder.append(i);
}

void FilterDescriptionsTab::setSorted(bool on) {
    state_.sorted = on;
}

} // namespace pylomir::assess
