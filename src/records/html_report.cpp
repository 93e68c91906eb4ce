#include "records/html_report.h"

#include "core/app_info.h"
#include "core/shown_texts.h"
#include "core/time_stamp.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale_formats.h"
#include "platform/text_file.h"
#include "records/deletion.h"
#include "records/record_file.h"

namespace pylomir::records {

namespace {

const QString& kAuthorMail = core::kAuthorMail;
const QString& kWebPage = core::kHomePageUrl;
const QString kCredit =
    QStringLiteral("Wyprodukowane przez Tessaly. Program rozpowszechniany bezpłatnie.");

// A file name may hold markup characters; inserted raw they would become markup.
QString escaped(const QString& text) {
    return htmlEscaped(text);
}

// A value cell of the information table.
QString valueCell(const char* prefix, const QString& value, const char* suffix = "</span>") {
    return QString::fromUtf8(prefix) + escaped(value) + QString::fromUtf8(suffix);
}

} // namespace

QString reportDate(const QDate& date, const platform::LocaleFormats& locale) {
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(locale.monthName(date.month()))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

HtmlReport::HtmlReport(const core::MainWindowModel& model, const core::Services& services,
                       core::StatusLine& status)
    : m_(model), services_(services), status_(status) {}

void HtmlReport::exportHtmlReport() {
    const QStringList lines = buildHtmlReport(services_.clock->now());
    core::FileDialogOptions dialog;
    dialog.title = QStringLiteral("Zapisz raport");
    dialog.filter = QStringLiteral("Strona HTML|*.htm");
    dialog.defaultName = chosenName_;
    const std::optional<QString> name = services_.ui->saveFileName(dialog);
    if (!name || name->isEmpty())
        return;
    chosenName_ = *name;
    const QString stamp = core::timeStamp(services_.clock->now(), *services_.locale);
    const QString path = core::freeFileName(
        *services_.fileSystem, *name + QLatin1Char('_') + stamp + QStringLiteral(".htm"));
    QString reason;
    if (!writeRecordFile(*services_.fileSystem, path, lines, reason)) {
        services_.ui->showError(platform::cannotCreateMessage(path, reason));
        return;
    }
    status_.show(QStringLiteral("Wyeksportowano raport"));
}

QStringList HtmlReport::buildHtmlReport(const QDateTime& now) const {
    const core::ScanState& scan = m_.scan;
    const core::StatisticsState& statistics = m_.statistics;
    const QString title = escaped(core::kAppTitle);
    const QString generated = reportDate(now.date(), *services_.locale) + QStringLiteral(",    ") +
                              services_.locale->longTime(now.time());

    QStringList lines{
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<META NAME=\"GENERATOR\" CONTENT=\"Pylomir\">"),
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                       "charset=windows-1250\">"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<STYLE>"),
        QStringLiteral("A { text-decoration: none }"),
        QStringLiteral("A:hover { text-decoration: underline }"),
        QStringLiteral("TD { font: 80% verdana, arial; color: #000000; vertical-align: "
                       "text-center; text-align: left }"),
        QStringLiteral("TD.cr { font: 80% verdana, arial; color: #000000; vertical-align: "
                       "text-center; text-align: right }"),
        QStringLiteral("TD.cc { font: 80% verdana, arial; color: #000000; vertical-align: "
                       "text-center; text-align: center }"),
        QStringLiteral("TD.pt { font: bold 140% verdana, arial; color: #000080; vertical-align: "
                       "text-center }"),
        QStringLiteral("TD.dt { font: bold 110% verdana, arial; color: #000080; vertical-align: "
                       "text-center }"),
        QStringLiteral(".style2 {"),
        QStringLiteral("\tfont-size: x-small;"),
        QStringLiteral("\tcolor: #9900FF;"),
        QStringLiteral("}"),
        QStringLiteral(".style5 {color: #990066}"),
        QStringLiteral(".style6 {color: #0000FF}"),
        QStringLiteral("</STYLE>"),
        QStringLiteral("<TITLE>Raport usuniętych plików: ") + title + QStringLiteral("</TITLE>"),
        QStringLiteral("<BODY BGCOLOR=\"#FFFFFF\">"),
        QString(),
        QStringLiteral("<TABLE WIDTH=100%>"),
        QStringLiteral("  <TD CLASS=pt><div align=\"left\"></div>"),
        QStringLiteral("    <div align=\"center\">") + title +
            QStringLiteral(" - Raport usuniętych plików </div>"),
        QStringLiteral("  <TR>"),
        QStringLiteral("    <TD><HR>"),
        QStringLiteral("</TABLE>"),
        QStringLiteral("<p>&nbsp;</p>"),
        QStringLiteral("<TABLE WIDTH=100%>"),
        QStringLiteral("  <TD CLASS=pt><div align=\"left\">Informacje o raporcie:</div>"),
        QStringLiteral("<TR><TD><HR></TABLE><TABLE><TR><TD width=\"9\"><TD width=\"9\">"),
        QStringLiteral("  <TD width=\"211\">Wersja aplikacji:"),
        QStringLiteral("  <TD width=\"724\">") + title,
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD>Kontakt z autorem programu:&nbsp;&nbsp;"),
        QStringLiteral("  <TD><A HREF=\"mailto:%1\">%1 - autor programu: Tessaly</A>")
            .arg(kAuthorMail),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("  <TD>Oficjalna Strona programu:"),
        QStringLiteral("  <TD><A HREF=\"%1\">%1</A>").arg(kWebPage),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("  <TD>Raport wygenerowano:"),
        valueCell("  <TD><span class=\"style5\">", generated),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("<TR>"),
        QStringLiteral("  <TD>"),
        QStringLiteral("  <TD>"),
        QStringLiteral("  <TD>"),
        QStringLiteral("    <p>&nbsp;</p>"),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("  <TD> Znaleziono teraz plików:"),
        valueCell("  <TD><span class=\"style5\">", core::lastScanFoundCountText(scan)),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD> Rozmiar plików:&nbsp;&nbsp;"),
        valueCell("  <TD><span class=\"style5\">", core::foundSizeText(scan)),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD> Zignorowano:&nbsp;&nbsp;"),
        valueCell("  <TD><span class=\"style5\">", core::ignoredCountText(scan)),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD> Podejrzanych:&nbsp;&nbsp;"),
        valueCell("  <TD><span class=\"style5\">", core::suspiciousCountText(scan)),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD> Usunięto teraz KB:&nbsp;&nbsp;"),
        valueCell("  <TD><span class=\"style5\">", core::sessionDeletedSizeText(statistics)),
        QStringLiteral("<TR><TD><TD>"),
        QStringLiteral("  <TD> Usunięto teraz plików:&nbsp;"),
        valueCell("  <TD><span class=\"style5\">", QString::number(m_.records.htmlReportedCount)),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("  <TD> Usunięto wszystkich plików:"),
        valueCell("   <TD><span class=\"style5\">", statistics.totalDeletedFilesText),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("  <TD> Przeprowadzonych skanowań:"),
        valueCell("  <TD><span class=\"style5\">", core::scanCountText(statistics)),
        QStringLiteral("  <TR>"),
        QStringLiteral("    <TD>"),
        QStringLiteral("   <TD>"),
        QStringLiteral("    <TD> <p>Suma rozmiaru wszystkich skasowanych plików: </p>"),
        valueCell("    <TD><span class=\"style5\">", statistics.totalDeletedBytesText,
                  " bajtów</span>"),
        QStringLiteral("  <TR>"),
        QStringLiteral("    <TD>"),
        QStringLiteral("    <TD>"),
        QStringLiteral("    <TD> Zaokrąglona suma wszystkich skasowanych plików:"),
        valueCell("    <TD><span class=\"style5\">", statistics.totalDeletedSizeText),
        QStringLiteral("  <TR>"),
        QStringLiteral("    <TD>"),
        QStringLiteral("    <TD>"),
        QStringLiteral("    <TD> Czas skanowania:"),
        valueCell("    <TD><span class=\"style5\">", core::elapsedClockText(scan)),
        QStringLiteral("  <TR><TD><TD>"),
        QStringLiteral("    <TD> Ostatnio skanowano dnia:"),
        valueCell("    <TD><span class=\"style5\">", statistics.lastScanText),
        QStringLiteral("  </TABLE>"),
        QStringLiteral("<BR><BR>"),
        QString(),
        QStringLiteral("<TABLE WIDTH=100%>"),
        QStringLiteral("  <TD CLASS=pt> Lista usuniętych plików:"),
        QStringLiteral("<TR><TD><HR></TABLE>"),
    };
    // The fragments went into the buffer as one entry, which the file ends
    // with a line break of its own: one empty line follows them.
    if (m_.options.htmlReportsEnabled) {
        lines += m_.records.htmlFragments;
        lines += QString();
    } else {
        lines +=
            QStringLiteral("Opcja \"Włącz możliwość tworzenia raportów HTML\" jest wyłączona !");
    }
    lines += {
        QStringLiteral("<HR>"),
        QStringLiteral("<div align=\"right\"><span class=\"style2\">") + kCredit +
            QStringLiteral("</span><BR>"),
        QStringLiteral("</div>"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    };
    return lines;
}

} // namespace pylomir::records
