#include "ui/about_page.h"

#include "core/app_info.h"
#include "ui/look.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace pylomir::ui {

namespace {

const char* const kName = "Pylomir 8.5 Professional";
const char* const kDescription =
    "Aplikacja do skanowania dysku w celu przeszukania i usunięcia różnych typów plików "
    "tymczasowych pojawiających się po zainstalowaniu, odinstalowaniu programów, przeglądaniu "
    "stron, codziennej pracy z systemem i aplikacjami oraz potencjalnie niebezpiecznych "
    "skryptów i przemianowanych plików z wirusami.";
const char* const kVersionBlock = "Wersja: 8.5 Pro\r\nWersja kodowa: 8.5.01.05.197 build "
                                  "8\r\n\r\nFormatów używanych:\r\nWszystkich formatów:";
const char* const kFormatCounts = "197\r\n254";
const char* const kSafetyNote =
    "Autor zapewnia, że żadne problemy w Trybie Bezpiecznym\r\npo usunięciu plików ze strony "
    "systemu Windows lub aplikacji - NIE WYSTĄPIĄ.\r\nJednocześnie autor nie ponosi "
    "odpowiedzialności za usunięcie danych, które mogły być potrzebne.";
const char* const kReminderNote =
    "Pamiętaj ! Jeśli nie jesteś doświadczonym użytkownikiem wybieraj zawsze Tryb "
    "Bezpieczny.\r\nZapewnia on 99% bezpieczeństwo stabilności systemu po usunięciu "
    "znalezionych plików.\r\nJeśli nie jesteś pewny usunięcia nieznanego pliku, zrób jego "
    "kopię bezpieczeństwa - możesz wtedy odzyskać ten plik.";
const char* const kInvitation =
    "Jeśli chcesz, aby program Pylomir był dalej rozwijany i unowocześniany, przyślij swoje "
    "sugestie i uwagi o programie pod adres podany powyżej. Dzięki temu usuwanie plików "
    "tymczasowych stanie się jeszcze doskonalsze...";
const char* const kPagesCaption = "Odwiedź Nas - Oficjalna Strona Programu:";
const char* const kContactCaption = "Pytania do programu - Kontakt:";

// The texts keep their Windows line breaks; a label wants plain LF.
QString shown(const char* text) {
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* label(const char* text, QWidget* parent, bool wrap = false) {
    auto* l = new QLabel(shown(text), parent);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QFont bold(QFont font) {
    font.setBold(true);
    return font;
}

} // namespace

LinkLabel::LinkLabel(const QString& text, std::function<void()> openTarget, QWidget* parent)
    : QLabel(text, parent), openTarget_(std::move(openTarget)) {
    setCursor(Qt::PointingHandCursor);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kLinkColour);
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release over the link, as with a button.
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (clicked && openTarget_)
        openTarget_();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    setHot(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
    setHot(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::setHot(bool hot) {
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, hot ? kLinkColour.lighter(140) : kLinkColour);
    setPalette(colours);
}

AboutPage::AboutPage(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent)
    : QWidget(parent), core_(windowCore), run_(std::move(run)) {
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 8, 12, 8);
    page->setSpacing(6);

    nameLabel_ = label(kName, this);
    QFont title = bold(font());
    if (title.pointSizeF() > 0)
        title.setPointSizeF(title.pointSizeF() * 1.7);
    nameLabel_->setFont(title);
    QPalette titleColours = nameLabel_->palette();
    titleColours.setColor(QPalette::WindowText, kLinkColour.darker(120));
    nameLabel_->setPalette(titleColours);
    page->addWidget(nameLabel_);
    descriptionLabel_ = label(kDescription, this, true);
    page->addWidget(descriptionLabel_);

    // The version block with its two numbers beside its last two lines, and
    // the links to the right of it.
    auto* middle = new QHBoxLayout;
    middle->setSpacing(8);
    versionLabel_ = label(kVersionBlock, this);
    formatCountsLabel_ = label(kFormatCounts, this);
    formatCountsLabel_->setFont(bold(font()));
    auto* version = new QGridLayout;
    version->setHorizontalSpacing(10);
    version->setVerticalSpacing(0);
    version->addWidget(versionLabel_, 0, 0);
    version->addWidget(formatCountsLabel_, 0, 1, Qt::AlignBottom | Qt::AlignLeft);
    middle->addLayout(version);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    middle->addWidget(rule);

    pagesCaptionLabel_ = label(kPagesCaption, this);
    pagesCaptionLabel_->setFont(bold(font()));
    contactCaptionLabel_ = label(kContactCaption, this);
    contactCaptionLabel_->setFont(bold(font()));
    homePageLink_ = link(core::kHomePageUrl, core::kHomePageUrl);
    secondPageLink_ = link(core::kSecondPageUrl, core::kSecondPageUrl);
    questionsLink_ = link(core::kQuestionsUrl, core::kQuestionsUrl);
    authorMailLink_ = link(core::kAuthorMail, QStringLiteral("mailto:") + core::kAuthorMail);
    auto* links = new QVBoxLayout;
    links->setSpacing(1);
    for (QLabel* row :
         {pagesCaptionLabel_, static_cast<QLabel*>(homePageLink_),
          static_cast<QLabel*>(secondPageLink_), contactCaptionLabel_,
          static_cast<QLabel*>(questionsLink_), static_cast<QLabel*>(authorMailLink_)}) {
        if (row == contactCaptionLabel_)
            links->addSpacing(4);
        links->addWidget(row, 0, Qt::AlignLeft);
    }
    links->addStretch(1);
    middle->addLayout(links, 1);
    page->addLayout(middle);

    // The two notes, set apart.
    auto* notes = new QFrame(this);
    notes->setFrameShape(QFrame::StyledPanel);
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(8, 6, 8, 6);
    notesLayout->setSpacing(6);
    safetyNoteLabel_ = label(kSafetyNote, notes, true);
    reminderNoteLabel_ = label(kReminderNote, notes, true);
    reminderNoteLabel_->setFont(bold(font()));
    notesLayout->addWidget(safetyNoteLabel_);
    notesLayout->addWidget(reminderNoteLabel_);
    page->addWidget(notes);

    invitationLabel_ = label(kInvitation, this, true);
    page->addWidget(invitationLabel_);
    authorMailLabel_ =
        new QLabel(QStringLiteral("Adres e-mail autora: %1").arg(core::kAuthorMail), this);
    authorMailLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    page->addWidget(authorMailLabel_);
    page->addStretch(1);
}

LinkLabel* AboutPage::link(const QString& shownText, const QString& target) {
    return new LinkLabel(
        shownText, [this, target] { openLink(target); }, this);
}

void AboutPage::openLink(const QString& target) {
    run_([this, target] { core_.services().ui->openWithShell(target); });
}

} // namespace pylomir::ui
