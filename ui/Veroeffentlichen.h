#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "publish/Veroeffentlichen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// Puts the saved folder Neu on a web host ("Veröffentlichen"). Everything but
// the password and the key's passphrase comes from and goes to
// Veroeffentlichen.ini beside Neu. The window stays open whatever a publish
// ends in, with the outcome above its buttons and everything typed kept, so
// that "Veröffentlichen" can be pressed again; only the user closes it.
class Tfrm_Veroeffentlichen final : public QDialog {
public:
    // zielordner holds Neu; ersteSeite is the file the menu's first button
    // opens, for a start page where Neu has no index.html.
    Tfrm_Veroeffentlichen(const std::string& zielordner, const std::string& ersteSeite,
                          QWidget* eltern = nullptr);

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void reject() override;

private:
    // A line of the window: its controls with their height above the line's
    // top. Lines are placed from the top down, a hidden one takes no room.
    struct Zeile {
        std::vector<std::pair<QWidget*, int>> teile;
        int hoehe;
    };

    void cb_ProtokollChange();
    void btn_SchluesselClick();
    void btn_VeroeffentlichenClick();
    void btn_AbbrechenVeroeffentlichenClick();
    lw::Protokoll GewaehltesProtokoll() const;
    void Sperren(bool gesperrt);
    // Shows the lines the protocol and the key need and puts them in place.
    void Anordnen();
    // The outcome above the buttons; empty clears it.
    void Melden(const QString& text, bool fehler);
    // Runs the publish with the fields disabled, which come back whatever it
    // ends in; the text of its failure, or empty.
    QString Durchfuehren(const lw::Zugang& zugang, lw::VeroeffentlichenBericht& bericht);

    std::string zielordner_;
    std::string ersteSeite_;
    lw::VeroeffentlichenEinstellungen einstellungen_;
    std::vector<Zeile> zeilen_;
    bool portGeaendert_ = false;
    bool laeuft_ = false;
    bool abbrechen_ = false;
    // The close box during a publish: the window closes once it has stopped.
    bool schliessen_ = false;

    QComboBox* cb_Protokoll;
    QLineEdit* ed_Server;
    QLineEdit* ed_Port;
    QLineEdit* ed_Benutzer;
    QLineEdit* ed_Passwort;
    QLabel* lbl_Schluessel;
    QLineEdit* ed_Schluessel;
    QPushButton* btn_Schluessel;
    QLabel* lbl_Passphrase;
    QLineEdit* ed_Passphrase;
    QLineEdit* ed_Ordner;
    QLineEdit* ed_Adresse;
    QSpinBox* se_Verbindungen;
    QLabel* lbl_Warnung;
    QLabel* lbl_Startseite;
    QCheckBox* cbx_Startseite;
    QLabel* lbl_Datei;
    QProgressBar* pb_Hochladen;
    QLabel* lbl_Meldung;
    QPushButton* btn_Veroeffentlichen;
    QPushButton* btn_AbbrechenVeroeffentlichen;
};
