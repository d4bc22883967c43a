#pragma once

#include <QDialog>
#include <QWidget>

#include "model/Projektdaten.h"

class QLineEdit;
class QToolButton;

// Up and down arrows bound to an edit field: each step writes the new position
// into the field, and a number typed there is the new position. The arrow keys
// in the field step as well.
class AufAbRegler final : public QWidget {
public:
    AufAbRegler(QWidget* eltern, QLineEdit* feld, int minimum, int maximum, int position);

    int Position() const { return position_; }
    // A new position, the upper end raised to it when it lies above.
    void Setzen(int position);
    void Schritt(int richtung);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    QLineEdit* feld_;
    QToolButton* auf_;
    QToolButton* ab_;
    int minimum_;
    int maximum_;
    int position_;
};

// Asks for the number of pages before the main window opens for a new site
// ("Anzahl der Seiten"). OK stores it in Seitenzahl; the close box stores nothing.
class Tfrm_LinkAnzahl final : public QDialog {
public:
    explicit Tfrm_LinkAnzahl(lw::Projektdaten& daten);

    // Opens with this count instead of 5, for a saved site of that many pages.
    void Vorgeben(int anzahl);

private:
    // Escape closes the window as its close box does: nothing is stored.
    void bbtn_OKLinkZahlClick();

    lw::Projektdaten& daten_;
    QLineEdit* ed_LinkZahl;
    AufAbRegler* ud_Links;
};
