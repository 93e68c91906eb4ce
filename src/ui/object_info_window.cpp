#include "ui/object_info_window.h"

#include "core/shown_texts.h"
#include "ui/alert_sign.h"
#include "ui/hint_switch.h"
#include "ui/widget_sync.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

namespace pylomir::ui {

namespace {

constexpr int kClientWidth = 463;
constexpr int kClientHeight = 402;
constexpr int kSignSize = 32;

const QString kNoValue = QStringLiteral("-");
const QColor kDescriptionGreen(0x00, 0x80, 0x00);
const QColor kBlueComment(0x00, 0x00, 0xFF);

// One line of a value: a text wider than the field is shortened in the
// middle, where a path's least telling part is, and the field never grows
// the window.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }
    void setFullText(const QString& text) {
        if (full_ == text)
            return;
        full_ = text;
        elide();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() {
        const QString shown =
            fontMetrics().elidedText(full_, Qt::ElideMiddle, contentsRect().width());
        if (text() != shown)
            setText(shown);
    }
    QString full_;
};

void setValue(QLabel* label, const QString& text) {
    // Every single-line value of this window is an ElidedLabel.
    static_cast<ElidedLabel*>(label)->setFullText(text);
}

void setPlain(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// The name field holds lower case whatever is typed or pasted.
class LowerCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        const QString lower = input.toLower();
        if (lower != input) {
            input = lower;
            pos = int(std::min<qsizetype>(pos, input.size()));
        }
        return Acceptable;
    }
};

QLabel* captionLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    setTextColour(label, QColor(0x33, 0x3D, 0x4A));
    return label;
}

QPushButton* button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    // Enter in the name field must not run a command by itself.
    b->setAutoDefault(false);
    return b;
}

QToolButton* arrowButton(Qt::ArrowType arrow, const QString& hint, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    setHint(b, hint);
    return b;
}

} // namespace

ObjectInfoWindow::ObjectInfoWindow(app::MainWindowCore& windowCore, CommandRunner run,
                                   QWidget* parent)
    : QDialog(parent), core_(windowCore), run_(std::move(run)) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Szczegóły obiektu"));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(12, 10, 12, 10);
    page->setSpacing(6);

    // The level's sign beside the name; the three signs share one place.
    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    auto* signs = new QGridLayout;
    signs->setContentsMargins(0, 0, 0, 0);
    for (const core::AlertLevel level :
         {core::AlertLevel::Low, core::AlertLevel::Medium, core::AlertLevel::High}) {
        auto* image = new QLabel(this);
        image->setFixedSize(kSignSize, kSignSize);
        image->setPixmap(alertSign(level, kSignSize));
        image->hide();
        signs->addWidget(image, 0, 0);
        alertImages_[int(level)] = image;
    }
    auto* signPlace = new QWidget(this);
    signPlace->setFixedSize(kSignSize, kSignSize);
    signPlace->setLayout(signs);
    top->addWidget(signPlace);
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setValidator(new LowerCaseValidator(nameEdit_));
    nameEdit_->setStyleSheet(
        QStringLiteral("QLineEdit { background: black; color: white; border: 1px solid #5A6B7D; "
                       "padding: 2px 4px; }"));
    QFont nameFont = nameEdit_->font();
    nameFont.setBold(true);
    nameEdit_->setFont(nameFont);
    top->addWidget(nameEdit_, 1);
    page->addLayout(top);

    descriptionLabel_ = new QLabel(this);
    descriptionLabel_->setTextFormat(Qt::PlainText);
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = descriptionLabel_->font();
    bold.setBold(true);
    descriptionLabel_->setFont(bold);
    setTextColour(descriptionLabel_, kDescriptionGreen);
    // Room for five lines always, so a long description does not push the
    // details down.
    descriptionLabel_->setFixedHeight(5 * QFontMetrics(bold).lineSpacing() + 2);
    page->addWidget(descriptionLabel_);

    page->addWidget(buildDetailsPanel());
    page->addStretch(1);

    auto* stepRow = new QHBoxLayout;
    stepRow->setSpacing(4);
    previousButton_ = arrowButton(Qt::LeftArrow, QStringLiteral("Poprzedni znaleziony plik"), this);
    nextButton_ = arrowButton(Qt::RightArrow, QStringLiteral("Następny znaleziony plik."), this);
    positionLabel_ = new QLabel(this);
    positionLabel_->setTextFormat(Qt::PlainText);
    positionLabel_->setAlignment(Qt::AlignCenter);
    positionLabel_->setMinimumWidth(110);
    // The counter keeps its place when hidden, so the arrows do not move.
    QSizePolicy keepPlace = positionLabel_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    positionLabel_->setSizePolicy(keepPlace);
    stepRow->addWidget(previousButton_);
    stepRow->addWidget(positionLabel_);
    stepRow->addWidget(nextButton_);
    stepRow->addStretch(1);
    addToIgnoredMasksButton_ = button(QStringLiteral("Dodaj do filtra ignorow."), this);
    setHint(addToIgnoredMasksButton_,
            QStringLiteral("Dodaje ten typ pliku do listy ignorowanych plików (obsługuje znaki "
                           "wieloznaczne: *, ?)"));
    stepRow->addWidget(addToIgnoredMasksButton_);
    page->addLayout(stepRow);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    goToLocationButton_ = button(QStringLiteral("Idź do lokalizacji"), this);
    filterDescriptionsButton_ = button(QStringLiteral("Opisy filtrów"), this);
    openFileButton_ = button(QStringLiteral("Otwórz plik"), this);
    closeButton_ = button(QStringLiteral("Zamknij"), this);
    buttons->addWidget(goToLocationButton_);
    buttons->addWidget(filterDescriptionsButton_);
    buttons->addWidget(openFileButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);
    page->addLayout(buttons);

    assess::ObjectInfo& info = core_.objectInfo();
    connect(nameEdit_, &QLineEdit::textEdited, this,
            [&info](const QString& typed) { info.setNameText(typed); });
    connect(closeButton_, &QPushButton::clicked, this, &ObjectInfoWindow::reject);
    connect(goToLocationButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.goToLocationFromObjectInfo(); }); });
    connect(filterDescriptionsButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.showFilterDescriptionsFromObjectInfo(); }); });
    connect(openFileButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.openFileFromObjectInfo(); }); });
    connect(addToIgnoredMasksButton_, &QPushButton::clicked, this,
            [this] { run_([this] { core_.addObjectInfoNameToIgnoredMasks(); }); });
    connect(previousButton_, &QToolButton::clicked, this,
            [this, &info] { run_([&info] { info.showPreviousFound(); }); });
    connect(nextButton_, &QToolButton::clicked, this,
            [this, &info] { run_([&info] { info.showNextFound(); }); });

    sync();
}

QWidget* ObjectInfoWindow::buildDetailsPanel() {
    detailsPanel_ = new QWidget(this);
    auto* grid = new QGridLayout(detailsPanel_);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(1, 1);

    fileNameLabel_ = new ElidedLabel(detailsPanel_);
    extensionLabel_ = new ElidedLabel(detailsPanel_);
    sizeLabel_ = new ElidedLabel(detailsPanel_);
    locationLabel_ = new ElidedLabel(detailsPanel_);
    riskLabel_ = new ElidedLabel(detailsPanel_);
    QFont bold = riskLabel_->font();
    bold.setBold(true);
    riskLabel_->setFont(bold);
    modifiedLabel_ = new ElidedLabel(detailsPanel_);
    attributesLabel_ = new ElidedLabel(detailsPanel_);

    commentLabel_ = new QLabel(detailsPanel_);
    commentLabel_->setTextFormat(Qt::PlainText);
    commentLabel_->setWordWrap(true);
    commentLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    commentLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    // The longest comments take two lines only in a smaller face.
    QFont small = commentLabel_->font();
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.9);
    commentLabel_->setFont(small);
    commentLabel_->setFixedHeight(2 * QFontMetrics(small).lineSpacing() + 2);

    frequencyBar_ = new QProgressBar(detailsPanel_);
    frequencyBar_->setRange(0, 100);
    frequencyBar_->setFormat(QStringLiteral("%v % występowania"));
    frequencyBar_->setAlignment(Qt::AlignCenter);
    frequencyBar_->setFixedHeight(18);
    frequencyBar_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    const struct {
        const char* caption;
        QWidget* value;
    } rows[] = {
        {"Plik:", fileNameLabel_},
        {"Typ pliku:", extensionLabel_},
        {"Rozmiar:", sizeLabel_},
        {"Lokalizacja:", locationLabel_},
        {"Komentarz:", commentLabel_},
        {"Poziom ryzyka:", riskLabel_},
        {"Data modyfikacji:", modifiedLabel_},
        {"Atrybuty:", attributesLabel_},
        {"Spotykalność:", frequencyBar_},
    };
    int row = 0;
    for (const auto& r : rows) {
        QLabel* caption = captionLabel(QString::fromUtf8(r.caption), detailsPanel_);
        const bool tall = r.value == commentLabel_;
        grid->addWidget(caption, row, 0, tall ? Qt::AlignTop : Qt::AlignVCenter);
        grid->addWidget(r.value, row, 1);
        ++row;
    }
    return detailsPanel_;
}

void ObjectInfoWindow::present() {
    sync();
    if (core_.model().objectInfo.visible)
        exec();
}

void ObjectInfoWindow::sync() {
    const core::ObjectInfoState& info = core_.model().objectInfo;
    if (nameEdit_->text() != info.nameText) {
        // Keep the caret where the user is typing.
        const int caret = nameEdit_->cursorPosition();
        nameEdit_->setText(info.nameText);
        nameEdit_->setCursorPosition(std::min(caret, int(info.nameText.size())));
    }
    setPlain(descriptionLabel_, info.descriptionText);
    if (frequencyBar_->value() != info.frequency)
        frequencyBar_->setValue(info.frequency);
    setPlain(positionLabel_, info.positionText);
    setShown(positionLabel_, info.positionVisible());
    enable(previousButton_, info.arrowsEnabled());
    enable(nextButton_, info.arrowsEnabled());
    syncDetails();

    if (!info.visible && isVisible())
        done(QDialog::Rejected);
}

void ObjectInfoWindow::syncDetails() {
    const core::AlertState& alert = core_.model().alert;
    const std::optional<core::FileDetails>& d = alert.details;
    setValue(fileNameLabel_, d ? d->name : kNoValue);
    setValue(extensionLabel_, d ? d->extension : kNoValue);
    setValue(sizeLabel_, d ? core::sizeText(*d) : kNoValue);
    setValue(locationLabel_, d ? d->location : kNoValue);
    // A path longer than the field is read from its hint.
    const QString locationHint = d ? d->location : kNoValue;
    if (locationLabel_->toolTip() != locationHint) {
        locationLabel_->setToolTip(locationHint);
        locationLabel_->setToolTipDuration(kHintMs);
    }
    setPlain(commentLabel_, d ? core::commentText(d->rule) : kNoValue);
    // Two rules turn the comment blue, and none turns it back.
    const QColor plain = palette().color(QPalette::WindowText);
    setTextColour(commentLabel_, alert.commentBlue ? kBlueComment : plain);
    setValue(riskLabel_, d ? core::riskText(d->level) : kNoValue);
    setTextColour(riskLabel_, d ? alertColour(d->level) : plain);
    setValue(modifiedLabel_, d ? d->modifiedText : kNoValue);
    setValue(attributesLabel_, d ? core::attributesText(*d) : kNoValue);
    for (const core::AlertLevel level :
         {core::AlertLevel::Low, core::AlertLevel::Medium, core::AlertLevel::High})
        setShown(alertImage(level), d && d->level == level);
}

void ObjectInfoWindow::reject() {
    run_([this] { core_.objectInfo().close(); });
    sync();
}

void ObjectInfoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Over the main window, wherever it stands now.
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->window()->frameGeometry().center());
        move(frame.topLeft());
    }
}

void ObjectInfoWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A calm background: a soft blue-grey fall with a light band at the top.
    QLinearGradient fall(0, 0, 0, height());
    fall.setColorAt(0.0, QColor(0xF4, 0xF7, 0xFB));
    fall.setColorAt(0.35, QColor(0xE6, 0xED, 0xF4));
    fall.setColorAt(1.0, QColor(0xD3, 0xDD, 0xE8));
    p.fillRect(rect(), fall);
    p.setPen(QPen(QColor(0xA8, 0xB6, 0xC6), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    // The details sit on a lighter card with a thin frame.
    if (detailsPanel_) {
        const QRectF card = QRectF(detailsPanel_->geometry()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setBrush(QColor(255, 255, 255, 150));
        p.setPen(QPen(QColor(0x9F, 0xAF, 0xC2), 1));
        p.drawRoundedRect(card, 5, 5);
    }
}

} // namespace pylomir::ui
