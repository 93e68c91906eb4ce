#include "scan/scan_run.h"

#include "ignore/ignore_lists.h"
#include "platform/program_dir.h"

#include <limits>

namespace pylomir::scan {

namespace {

const QString kFiles = QStringLiteral(" plików");
const QString kScanning = QStringLiteral("Skanuję. Proszę zaczekaj...");
const QString kFound = QStringLiteral("Znalazłem:");

// A whole number of bytes, as typed in the threshold field.
std::optional<qint64> parseThreshold(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

ScanRun::ScanRun(SearchFormModel& model, const Services& services, ignore::IgnoreLists& ignoreLists)
    : m_(model), s_(services), ignore_(ignoreLists) {
    engine::SearchEnvironment env;
    env.fileSystem = s_.fileSystem;
    env.pump = s_.pump;
    skaner_.setEnvironment(env);
    skaner_.onFolderEntered = [this](engine::FileSearch*, const QString& p) {
        SkanerChangeFolder(p);
    };
    skaner_.onEntryFound = [this](engine::FileSearch*, engine::FoundEntry& r) {
        SkanerFileFound(r);
    };
    skaner_.onStatistics = [this](engine::FileSearch*, engine::SearchStatistics& st) {
        SkanerStatistics(st);
    };
}

void ScanRun::Button11Click() {
    if (m_.scanning())
        return;
    // The run needs a whole number of bytes for the auto-ignore threshold.
    const auto threshold = parseThreshold(m_.EditRozmiarIgnorowania);
    if (m_.CheckBox141 && !threshold) {
        s_.ui->messageBox(
            QStringLiteral("Błąd"),
            QStringLiteral(
                "Pole \"Automatycznie dodawaj pliki o podwyższonym ryzyku do listy "
                "Ignorowań większe od:\" musi zawierać liczbę całkowitą bajtów.\n"
                "Popraw je na zakładce \"Ustawienia\" i rozpocznij skanowanie ponownie."),
            MsgIcon::Error, MsgButtons::Ok);
        return;
    }
    threshold_ = threshold.value_or(std::numeric_limits<qint64>::max());

    m_.EncartaGauge = 0;
    m_.Label48 = QStringLiteral("0") + kFiles;
    m_.Label53 = QStringLiteral("0") + kFiles;
    m_.Label57 = QStringLiteral("0 KB");
    m_.Animate1Active = true;

    m_.ListBoxRozmiar.clear();
    m_.ListBoxDodajPodejrzane = 0;
    m_.ListBoxLiczbaZnalez.clear();

    m_.Label11 = kFound;
    m_.Label12 = kScanning;

    const QDateTime now = s_.clock->now();
    m_.Label22 =
        s_.locale->shortDate(now.date()) + QLatin1Char(',') + s_.locale->longTime(now.time());

    s_.ui->playSound(QStringLiteral("JABLKO"));

    m_.Timer1.Interval = m_.LabelProgres.toInt();
    m_.Timer1.Enabled = true;
    m_.Timer2.Enabled = true;
    m_.Label27Visible = true;

    m_.form1.Lines.clear();
    m_.form1.Stale = false;
    m_.ListBoxDodajPodejrzane = 0;

    m_.Button11Enabled = false;
    m_.btnUsunEnabled = false;
    m_.btnStopEnabled = true;

    m_.Alert_NiskiVisible = m_.Alert_SredniVisible = m_.Alert_WysokiVisible = false;
    m_.LabelAlerty = QStringLiteral("-");

    m_.StatusSkanowaniaVisible = true;
    m_.StatusBar1Visible = false;
    m_.StatusSkanowania.clear();
    m_.StatusBar1Panel.clear();

    skaner_.setRootFolder(m_.SkanujDysk);
    QStringList& wanted = skaner_.wantedMasks();
    wanted.clear();
    wanted.append(m_.ListBoxFiltry);

    updateScanCount();

    engine::SearchOptions options;
    using engine::SearchOption;
    options.setFlag(SearchOption::IncludeSubfolders, m_.cbRecursive);
    options.setFlag(SearchOption::ReadOnly, m_.CheckBox144);
    options.setFlag(SearchOption::Hidden, m_.CheckBox145);
    options.setFlag(SearchOption::System, m_.CheckBox146);
    options.setFlag(SearchOption::Folders, m_.CheckBox147);
    options.setFlag(SearchOption::Archive, m_.CheckBox148);
    options.setFlag(SearchOption::AnyFile, m_.CheckBox149);
    skaner_.options = options;
    skaner_.enabledTests = {};

    skaner_.setExcludedMasks(m_.ListBoxIgnorujTypy);

    if (s_.pump)
        s_.pump->processPendingMessages();
    try {
        if (!skaner_.search()) {
            s_.ui->messageBox(QStringLiteral("Błąd"),
                              QStringLiteral("Błąd skanowania folderu. Może on być zabezpieczony "
                                             "lub używany przez system.\nSprawdź, który folder "
                                             "spowodował błąd (poniżej) i nie skanuj go ponownie."),
                              MsgIcon::None, MsgButtons::Ok);
        }
    } catch (const engine::MaskError& e) {
        // The run stops; the end steps still bring the window back to idle.
        s_.ui->showError(e.message());
    }
    endOfRun();
}

void ScanRun::updateScanCount() {
    // Any failure here only skips the count and the date.
    const QString key = QStringLiteral("Skanowan");
    if (!s_.settings || !s_.settings->keyExists(key))
        return;
    const auto text = s_.settings->readString(key, QStringLiteral("Liczba"));
    if (!text)
        return;
    bool ok = false;
    const int count = text->trimmed().toInt(&ok);
    if (!ok || count == std::numeric_limits<int>::max())
        return;
    m_.Label16 = QString::number(count + 1);
    const QDateTime now = s_.clock->now();
    s_.settings->writeString(key, QStringLiteral("Data"),
                             s_.locale->shortDate(now.date()) + QLatin1Char(' ') +
                                 s_.locale->longTime(now.time()));
}

void ScanRun::SkanerChangeFolder(const QString& newPath) {
    m_.StatusSkanowania = newPath;
}

void ScanRun::addToIgnoredFiles(const QString& path) {
    // The list may have been edited by a command run from the message hook.
    if (ignoredIndexSize_ != m_.ListaIgnorowania.size()) {
        ignoredIndex_.clear();
        for (const QString& p : std::as_const(m_.ListaIgnorowania))
            ignoredIndex_.insert(p.toCaseFolded());
    }
    const QString key = path.toCaseFolded();
    if (!ignoredIndex_.contains(key)) {
        m_.ListaIgnorowania.append(path);
        ignoredIndex_.insert(key);
    }
    ignoredIndexSize_ = m_.ListaIgnorowania.size();
}

void ScanRun::SkanerFileFound(engine::FoundEntry& record) {
    const QString path = record.fullPath();
    platform::FileSystem& fs = *s_.fileSystem;

    std::optional<qint64> size;
    bool lookedUp = false;
    bool autoIgnored = false;
    if (m_.CheckBox141) {
        size = fs.findSize(path);
        lookedUp = true;
        if (size && threshold_ < qint64(qint32(*size))) {
            addToIgnoredFiles(path);
            ++m_.ListBoxDodajPodejrzane;
            m_.Label53 = QString::number(m_.ListBoxDodajPodejrzane) + kFiles;
            autoIgnored = true;
        }
    }
    if (!autoIgnored && !m_.foundList.contains(path))
        m_.foundList.append(path);

    // One look-up serves both the threshold and the size list.
    if (!lookedUp)
        size = fs.findSize(path);
    if (size)
        m_.ListBoxRozmiar.append(qint32(*size));

    m_.form1.Stale = true;

    m_.Label50 = QString::number(m_.foundList.count()) + kFiles;
    m_.Label12 = kScanning;
    m_.Label11 = kFound;

    if (!m_.foundList.isEmpty())
        m_.foundList.setCurrent(m_.foundList.count() - 1);

    if (m_.CheckBox103)
        fs.setAttributes(path, 0);
}

void ScanRun::SkanerStatistics(engine::SearchStatistics& stats) {
    m_.Label50 = QString::number(stats.filesFound) + kFiles;
}

void ScanRun::endOfRun() {
    s_.ui->playSound(QStringLiteral("GOTOWE"));
    m_.Animate1Active = false;

    Button9Click();
    ButtonKBznalezionClick();
    ignore_.Button15Click();

    m_.Label50 = QString::number(m_.foundList.count()) + kFiles;
    m_.ListBoxLiczbaZnalez.append(QString::number(m_.foundList.count()));

    syncFullList();

    m_.Timer1.Enabled = false;
    m_.Timer2.Enabled = false;
    m_.Button11Enabled = true;
    m_.btnUsunEnabled = true;
    m_.btnStopEnabled = false;

    m_.Label12 = QStringLiteral("Wyszukiwanie gotowe !");
    m_.StatusBar1Panel.clear();

    m_.Alert_NiskiVisible = m_.Alert_SredniVisible = m_.Alert_WysokiVisible = false;
    m_.LabelAlerty = QStringLiteral("-");

    ignore_.writeIgnoredFiles();

    m_.StatusSkanowaniaVisible = false;
    m_.StatusBar1Visible = true;
    m_.StatusSkanowania.clear();
    m_.StatusBar1Panel.clear();
    m_.EncartaGauge = 100;
}

void ScanRun::Button9Click() {
    // Summed in 64 bits: whole numbers, so the floating-point sum is exact anyway.
    qint64 total = 0;
    for (qint32 size : std::as_const(m_.ListBoxRozmiar))
        total += size;
    m_.EditKBznalezion = QString::number(total);
}

void ScanRun::ButtonKBznalezionClick() {
    bool ok = false;
    const qint64 n = m_.EditKBznalezion.toLongLong(&ok);
    if (!ok) {
        s_.ui->showError(
            QStringLiteral("'%1' is not a valid integer value").arg(m_.EditKBznalezion));
        return;
    }
    m_.Label57 = QString::number(n / 1024) + QStringLiteral(" KB");
}

void ScanRun::Button22Click() {
    qint64 total = 0;
    for (const QString& n : std::as_const(m_.ListBoxLiczbaZnalez))
        total += n.toLongLong();
    m_.LabelIloscZnalez = QString::number(total);
}

void ScanRun::btnStopClick() {
    if (!m_.scanning())
        return;
    m_.Label12 = QStringLiteral("Pauza skanowania");
    m_.Timer1.Enabled = false;
    m_.Animate1Active = false;
    // The engine stays held inside this box until it is closed.
    s_.ui->showMessage(QStringLiteral("Naciśnij \"OK\", aby kontynuować skanowanie"));
    m_.Timer1.Enabled = true;
    m_.Animate1Active = true;
    m_.Label12 = kScanning;
}

void ScanRun::DhCheckFolder1ChangeFolder(const QString& path) {
    // Turns the tree's hint back on, but never against the hint switch.
    m_.DhCheckFolder1ShowHint = m_.hintsShown;
    m_.SkanujDysk = path;
    m_.StatusSkanowaniaVisible = true;
    m_.StatusBar1Visible = false;
    m_.StatusSkanowania.clear();
    m_.StatusBar1Panel.clear();
}

void ScanRun::Timer2Timer() {
    if (++m_.elapsedSeconds == 60) {
        m_.elapsedSeconds = 0;
        if (++m_.elapsedMinutes == 60) {
            m_.elapsedMinutes = 0;
            if (++m_.elapsedHours == 24)
                m_.elapsedHours = 0;
        }
    }
    m_.Label27 = twoDigits(m_.elapsedMinutes) + QLatin1Char(':') + twoDigits(m_.elapsedSeconds);
    if (s_.pump)
        s_.pump->processPendingMessages();
}

void ScanRun::Timer1Timer() {
    if (m_.EncartaGauge < 100)
        ++m_.EncartaGauge;
}

bool ScanRun::FormClose() {
    if (m_.scanning()) {
        s_.ui->showMessage(QStringLiteral("Trwa skanowanie dysku !. Jeśli chcesz zamknąć program "
                                          "musisz najpierw anulować dalsze szukanie !"));
        return false;
    }
    return true;
}

void ScanRun::syncFullList() {
    m_.form1.Lines = m_.foundList.paths();
    m_.form1.Stale = false;
}

} // namespace pylomir::scan
