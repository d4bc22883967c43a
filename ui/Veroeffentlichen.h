#pragma once

#include <QDialog>
#include <string>

#include "publish/Veroeffentlichen.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Puts the saved folder Neu on a web host ("Veröffentlichen"). Everything but
// the password comes from and goes to Veroeffentlichen.ini beside Neu. The
// window ends after a publish or its "Abbrechen"; after a failure it stays
// open for another try.
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
    void cb_ProtokollChange();
    void btn_SchluesselClick();
    void btn_VeroeffentlichenClick();
    void btn_AbbrechenVeroeffentlichenClick();
    lw::Protokoll GewaehltesProtokoll() const;
    void Sperren(bool gesperrt);

    std::string zielordner_;
    std::string ersteSeite_;
    lw::VeroeffentlichenEinstellungen einstellungen_;
    bool portGeaendert_ = false;
    bool laeuft_ = false;
    bool abbrechen_ = false;

    QComboBox* cb_Protokoll;
    QLineEdit* ed_Server;
    QLineEdit* ed_Port;
    QLineEdit* ed_Benutzer;
    QLineEdit* ed_Passwort;
    QLabel* lbl_Schluessel;
    QLineEdit* ed_Schluessel;
    QPushButton* btn_Schluessel;
    QLineEdit* ed_Ordner;
    QLabel* lbl_Warnung;
    QLabel* lbl_Startseite;
    QCheckBox* cbx_Startseite;
    QLabel* lbl_Datei;
    QProgressBar* pb_Hochladen;
    QPushButton* btn_Veroeffentlichen;
    QPushButton* btn_AbbrechenVeroeffentlichen;
};
