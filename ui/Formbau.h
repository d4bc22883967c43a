#pragma once

#include <QString>
#include <QStyle>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Small steps that put a control at its designed place with its designed name.
// Positions are left, top within the parent, as in the window's design.
namespace lw::ui {

// Puts a top-level window in the middle of the primary screen, where the start
// window stands; the other windows are centred over that place.
void AufBildschirmZentrieren(QWidget& fenster);

// A label sized to its text.
QLabel* Beschriftung(QWidget* eltern, const char* name, int links, int oben, const QString& text);

// A button with the hand cursor.
QPushButton* Knopf(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                   const QString& text);

// A button with one of the style's stock symbols (OK, Ja, Nein).
QPushButton* SymbolKnopf(QWidget* eltern, const char* name, int links, int oben, int breite,
                         int hoehe, QStyle::StandardPixmap symbol, const QString& text);

// The cancel kind: stock cancel symbol, "Abbrechen", pressed by Escape while
// the button is visible (a hidden page's button does not answer).
QPushButton* AbbrechenKnopf(QWidget* eltern, const char* name, int links, int oben, int breite);

// The abort kind: stock abort symbol, "Abbrechen", no key of its own.
QPushButton* AbbruchKnopf(QWidget* eltern, const char* name, int links, int oben, int breite);

QLineEdit* Feld(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                const QString& text);

QGroupBox* Gruppe(QWidget* eltern, const char* name, int links, int oben, int breite, int hoehe,
                  const QString& titel);

// Check boxes and radio buttons keep their designed size unless this
// platform's font needs more room; a caption is never cut off.
QCheckBox* Kontrollkaestchen(QWidget* eltern, const char* name, int links, int oben, int breite,
                             int hoehe, const QString& text);
QRadioButton* Optionsfeld(QWidget* eltern, const char* name, int links, int oben, int breite,
                          int hoehe, const QString& text);

}  // namespace lw::ui
