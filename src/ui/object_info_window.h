// The object information window "Szczegóły obiektu": the last assessed
// file's details and what its kind is, shown modally.
#pragma once

#include "app/main_window_core.h"
#include "ui/command_runner.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace pylomir::ui {

class ObjectInfoWindow : public QDialog {
    Q_OBJECT
public:
    ObjectInfoWindow(app::MainWindowCore& windowCore, CommandRunner run, QWidget* parent = nullptr);

    // Shows the window modally until a command closes it.
    void present();
    // Brings every value up to the model; closes when the model says so.
    void sync();

    QLineEdit* nameEdit() const { return nameEdit_; }
    QLabel* descriptionLabel() const { return descriptionLabel_; }
    QLabel* fileNameLabel() const { return fileNameLabel_; }
    QLabel* extensionLabel() const { return extensionLabel_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QLabel* locationLabel() const { return locationLabel_; }
    QLabel* commentLabel() const { return commentLabel_; }
    QLabel* riskLabel() const { return riskLabel_; }
    QLabel* modifiedLabel() const { return modifiedLabel_; }
    QLabel* attributesLabel() const { return attributesLabel_; }
    QProgressBar* frequencyBar() const { return frequencyBar_; }
    QLabel* positionLabel() const { return positionLabel_; }
    // The level's sign; at most one of the three is shown.
    QLabel* alertImage(core::AlertLevel level) const { return alertImages_[int(level)]; }
    QPushButton* closeButton() const { return closeButton_; }
    QPushButton* goToLocationButton() const { return goToLocationButton_; }
    QPushButton* filterDescriptionsButton() const { return filterDescriptionsButton_; }
    QPushButton* openFileButton() const { return openFileButton_; }
    QPushButton* addToIgnoredMasksButton() const { return addToIgnoredMasksButton_; }
    QToolButton* previousButton() const { return previousButton_; }
    QToolButton* nextButton() const { return nextButton_; }

public slots:
    // Escape and the close box: the model hears of it first.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildDetailsPanel();
    void syncDetails();

    app::MainWindowCore& core_;
    CommandRunner run_;

    QLabel* alertImages_[3] = {};
    QLineEdit* nameEdit_ =
        nullptr; // lower case, white on black; "Dodaj do filtra ignorow." takes it
    QLabel* descriptionLabel_ = nullptr;   // the known type's description, bold green
    QWidget* detailsPanel_ = nullptr;      // drawn on a lighter card
    QLabel* fileNameLabel_ = nullptr;      // "Plik:"
    QLabel* extensionLabel_ = nullptr;     // "Typ pliku:"
    QLabel* sizeLabel_ = nullptr;          // "Rozmiar:"
    QLabel* locationLabel_ = nullptr;      // "Lokalizacja:", its text as its hint
    QLabel* commentLabel_ = nullptr;       // "Komentarz:", two lines
    QLabel* riskLabel_ = nullptr;          // "Poziom ryzyka:", bold in the level's colour
    QLabel* modifiedLabel_ = nullptr;      // "Data modyfikacji:"
    QLabel* attributesLabel_ = nullptr;    // "Atrybuty:"
    QProgressBar* frequencyBar_ = nullptr; // "Spotykalność:"
    QLabel* positionLabel_ = nullptr;      // "Plik n  /  m"
    QToolButton* previousButton_ = nullptr;
    QToolButton* nextButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;              // "Zamknij"
    QPushButton* goToLocationButton_ = nullptr;       // "Idź do lokalizacji"
    QPushButton* filterDescriptionsButton_ = nullptr; // "Opisy filtrów"
    QPushButton* openFileButton_ = nullptr;           // "Otwórz plik"
    QPushButton* addToIgnoredMasksButton_ = nullptr;  // "Dodaj do filtra ignorow."
};

} // namespace pylomir::ui
