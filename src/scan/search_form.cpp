#include "scan/search_form.h"

#include "platform/file_system.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace pylomir::scan {

SearchForm::SearchForm(const Services& services)
    : services_(services), ignoreLists_(model_, *services_.ui, services_.programDir),
      scanRun_(model_, services_, ignoreLists_), filterSets_(model_, services_),
      settingsTab_(model_, services_, filterSets_) {
    model_.SkanujDysk = platform::driveRoot();
}

QString SearchForm::filtersDir() const {
    return services_.programDir + QStringLiteral("Filtry") + platform::separator();
}

void SearchForm::FormCreate() {
    // Until the scanning modes arrive, the safe set is the filter list.
    const QString safeSet = filtersDir() + QStringLiteral("filtr_a1.dat");
    if (QFileInfo::exists(safeSet)) {
        QString reason;
        if (!platform::readListFile(safeSet, model_.ListBoxFiltry, &reason))
            services_.ui->showError(
                QStringLiteral("Cannot open file \"%1\". %2").arg(safeSet, reason));
    }
    ignoreLists_.loadAtStartup();
}

} // namespace pylomir::scan
