#include "ui/qt_ui_port.h"

#include "core/app_info.h"
#include "platform/gui/shell.h"
#include "platform/gui/sound.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
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

QString folderToStartAt(const QString& wanted) {
    QString path = QDir::fromNativeSeparators(wanted.trimmed());
    // A bare drive ("C:") means the drive's root here, not its current folder.
    if (path.size() == 2 && path[1] == QLatin1Char(':') && path[0].isLetter())
        path += QLatin1Char('/');
    if (path.isEmpty() || QDir::isRelativePath(path))
        return QDir::homePath();
    path = QDir::cleanPath(path);
    for (;;) {
        if (QFileInfo(path).isDir())
            return QDir::toNativeSeparators(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::homePath();
        path = parent;
    }
}

namespace {

QMessageBox::Icon toQt(core::MsgIcon icon) {
    switch (icon) {
    case core::MsgIcon::Information:
        return QMessageBox::Information;
    case core::MsgIcon::Warning:
        return QMessageBox::Warning;
    case core::MsgIcon::Error:
        return QMessageBox::Critical;
    case core::MsgIcon::Question:
        return QMessageBox::Question;
    case core::MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(core::MsgButtons buttons) {
    switch (buttons) {
    case core::MsgButtons::Ok:
        break;
    case core::MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case core::MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case core::MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString startPath(const core::FileDialogOptions& dialog) {
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

QWidget* QtUiPort::boxOwner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return owner_;
}

void QtUiPort::showMessage(const QString& text) {
    prepareModal();
    QMessageBox::information(boxOwner(), core::kAppTitle, text);
}

core::MsgAnswer QtUiPort::messageBox(const QString& caption, const QString& text,
                                     core::MsgIcon icon, core::MsgButtons buttons) {
    prepareModal();
    QMessageBox box(toQt(icon), caption, text, toQt(buttons), boxOwner());
    // Our own words: the boxes stay Polish where Qt's translations are missing.
    const std::pair<QMessageBox::StandardButton, const char*> words[] = {
        {QMessageBox::Yes, "Tak"}, {QMessageBox::No, "Nie"}, {QMessageBox::Cancel, "Anuluj"}};
    for (const auto& [button, word] : words) {
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(word));
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return core::MsgAnswer::Yes;
    case QMessageBox::No:
        return core::MsgAnswer::No;
    case QMessageBox::Ok:
        return core::MsgAnswer::Ok;
    default:
        // Escape or the close button: whatever the box offers to back out.
        if (buttons == core::MsgButtons::Ok)
            return core::MsgAnswer::Ok;
        if (buttons == core::MsgButtons::YesNo)
            return core::MsgAnswer::No;
        return core::MsgAnswer::Cancel;
    }
}

void QtUiPort::showError(const QString& text) {
    prepareModal();
    QMessageBox::critical(boxOwner(), core::kAppTitle, text);
}

void QtUiPort::playSound(const QString& name) {
    static const QStringList known = {core::kScanStartSound, core::kDoneSound, core::kAlertSound};
    if (known.contains(name))
        platform::playSound(QStringLiteral(":/sounds/%1.wav").arg(name.toLower()));
}

std::optional<QString> QtUiPort::browseForFolder(const QString& title, const QString& startFolder) {
    prepareModal();
    return chosen(
        QFileDialog::getExistingDirectory(boxOwner(), title, folderToStartAt(startFolder)));
}

std::optional<QString> QtUiPort::openFileName(const core::FileDialogOptions& dialog) {
    prepareModal();
    return chosen(QFileDialog::getOpenFileName(boxOwner(), dialog.title, startPath(dialog),
                                               toQtFilter(dialog.filter)));
}

std::optional<QString> QtUiPort::saveFileName(const core::FileDialogOptions& dialog) {
    prepareModal();
    return chosen(QFileDialog::getSaveFileName(boxOwner(), dialog.title, startPath(dialog),
                                               toQtFilter(dialog.filter)));
}

void QtUiPort::showWindow(core::WindowId window) {
    if (showWindow_)
        showWindow_(window);
}

bool QtUiPort::openWithShell(const QString& target) {
    return platform::shellOpen(target);
}

bool QtUiPort::openInTextViewer(const QString& path) {
    return platform::openInTextViewer(path);
}

std::optional<QString> QtUiPort::askText(const QString& title, const QString& prompt,
                                         const QString& proposal) {
    prepareModal();
    QInputDialog dialog(boxOwner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposal);
    dialog.setCancelButtonText(QStringLiteral("Anuluj"));
    // Room for a path with its mask.
    dialog.setMinimumWidth(420);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace pylomir::ui
