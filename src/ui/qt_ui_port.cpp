#include "ui/qt_ui_port.h"

#include "platform/gui/sound.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace pylomir::ui {

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

QMessageBox::Icon toQt(scan::MsgIcon icon) {
    switch (icon) {
    case scan::MsgIcon::Information:
        return QMessageBox::Information;
    case scan::MsgIcon::Warning:
        return QMessageBox::Warning;
    case scan::MsgIcon::Error:
        return QMessageBox::Critical;
    case scan::MsgIcon::Question:
        return QMessageBox::Question;
    case scan::MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(scan::MsgButtons buttons) {
    switch (buttons) {
    case scan::MsgButtons::Ok:
        break;
    case scan::MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case scan::MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case scan::MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString startPath(const scan::FileDialogOptions& dialog) {
    if (dialog.initialDir.isEmpty())
        return dialog.defaultName;
    return QDir(dialog.initialDir).filePath(dialog.defaultName);
}

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

} // namespace

void QtUiPort::prepareModal() const {
    if (beforeModal_)
        beforeModal_();
}

void QtUiPort::showMessage(const QString& text) {
    prepareModal();
    QMessageBox::information(owner_, kAppTitle, text);
}

scan::MsgAnswer QtUiPort::messageBox(const QString& caption, const QString& text,
                                     scan::MsgIcon icon, scan::MsgButtons buttons) {
    prepareModal();
    QMessageBox box(toQt(icon), caption, text, toQt(buttons), owner_);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return scan::MsgAnswer::Yes;
    case QMessageBox::No:
        return scan::MsgAnswer::No;
    case QMessageBox::Ok:
        return scan::MsgAnswer::Ok;
    default:
        // Escape or the close button: whatever the box offers to back out.
        if (buttons == scan::MsgButtons::Ok)
            return scan::MsgAnswer::Ok;
        if (buttons == scan::MsgButtons::YesNo)
            return scan::MsgAnswer::No;
        return scan::MsgAnswer::Cancel;
    }
}

void QtUiPort::showError(const QString& text) {
    prepareModal();
    QMessageBox::critical(owner_, kAppTitle, text);
}

void QtUiPort::playSound(const QString& name) {
    static const QStringList known = {QStringLiteral("JABLKO"), QStringLiteral("GOTOWE"),
                                      QStringLiteral("ALERT")};
    if (known.contains(name))
        platform::playSound(QStringLiteral(":/sounds/%1.wav").arg(name.toLower()));
}

std::optional<QString> QtUiPort::browseForFolder(const QString& title) {
    prepareModal();
    return chosen(QFileDialog::getExistingDirectory(owner_, title));
}

std::optional<QString> QtUiPort::openFileName(const scan::FileDialogOptions& dialog) {
    prepareModal();
    return chosen(QFileDialog::getOpenFileName(owner_, dialog.title, startPath(dialog),
                                               toQtFilter(dialog.filter)));
}

std::optional<QString> QtUiPort::saveFileName(const scan::FileDialogOptions& dialog) {
    prepareModal();
    return chosen(QFileDialog::getSaveFileName(owner_, dialog.title, startPath(dialog),
                                               toQtFilter(dialog.filter)));
}

void QtUiPort::showWindow(scan::WindowId window) {
    if (showWindow_)
        showWindow_(window);
}

} // namespace pylomir::ui
