// The "O programie" tab: the program's name, description, version, notes
// and the links to its pages and its author.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QLabel>
#include <QWidget>

#include <functional>

namespace pylomir::ui {

// A label drawn as a link that runs its action when clicked.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> openTarget, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setHot(bool hot);

    std::function<void()> openTarget_;
    bool pressed_ = false;
};

class AboutPage : public QWidget {
    Q_OBJECT
public:
    AboutPage(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent = nullptr);

    QLabel* nameLabel() const { return nameLabel_; }
    QLabel* descriptionLabel() const { return descriptionLabel_; }
    QLabel* versionLabel() const { return versionLabel_; }
    QLabel* formatCountsLabel() const { return formatCountsLabel_; }
    QLabel* safetyNoteLabel() const { return safetyNoteLabel_; }
    QLabel* reminderNoteLabel() const { return reminderNoteLabel_; }
    QLabel* invitationLabel() const { return invitationLabel_; }
    QLabel* pagesCaptionLabel() const { return pagesCaptionLabel_; }
    QLabel* contactCaptionLabel() const { return contactCaptionLabel_; }
    LinkLabel* homePageLink() const { return homePageLink_; }
    LinkLabel* secondPageLink() const { return secondPageLink_; }
    LinkLabel* questionsLink() const { return questionsLink_; }
    LinkLabel* authorMailLink() const { return authorMailLink_; }
    QLabel* authorMailLabel() const { return authorMailLabel_; }

private:
    // Opens a page or writes a mail with the desktop's program for it.
    void openLink(const QString& target);
    LinkLabel* link(const QString& shown, const QString& target);

    app::MainWindowCore& core_;
    CommandRunner run_;
    QLabel* nameLabel_ = nullptr;           // "Pylomir 8.5 Professional"
    QLabel* descriptionLabel_ = nullptr;    // what the program does
    QLabel* versionLabel_ = nullptr;        // the version block
    QLabel* formatCountsLabel_ = nullptr;   // the two numbers beside its last lines
    QLabel* safetyNoteLabel_ = nullptr;     // "Autor zapewnia, ..."
    QLabel* reminderNoteLabel_ = nullptr;   // "Pamiętaj ! ..."
    QLabel* invitationLabel_ = nullptr;     // send your suggestions
    QLabel* pagesCaptionLabel_ = nullptr;   // "Odwiedź Nas - ..."
    QLabel* contactCaptionLabel_ = nullptr; // "Pytania do programu - Kontakt:"
    LinkLabel* homePageLink_ = nullptr;
    LinkLabel* secondPageLink_ = nullptr;
    LinkLabel* questionsLink_ = nullptr;
    LinkLabel* authorMailLink_ = nullptr;
    QLabel* authorMailLabel_ = nullptr;
};

} // namespace pylomir::ui
