#include "ui/Veroeffentlichen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "ui/Anwendung.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

namespace {

constexpr lw::Protokoll kProtokolle[] = {lw::Protokoll::SFTP, lw::Protokoll::FTPS,
                                         lw::Protokoll::FTP};

}  // namespace

Tfrm_Veroeffentlichen::Tfrm_Veroeffentlichen(const std::string& zielordner,
                                             const std::string& ersteSeite, QWidget* eltern)
    : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      zielordner_(zielordner),
      ersteSeite_(ersteSeite) {
    setObjectName(QStringLiteral("frm_Veroeffentlichen"));
    setWindowTitle(QStringLiteral("Veröffentlichen"));
    setFixedSize(361, 337);

    Beschriftung(this, "Label1", 16, 19, QStringLiteral("Protokoll:"));
    cb_Protokoll = new QComboBox(this);
    cb_Protokoll->setObjectName(QStringLiteral("cb_Protokoll"));
    cb_Protokoll->setGeometry(104, 16, 241, 21);
    cb_Protokoll->addItems({QStringLiteral("SFTP"), QStringLiteral("FTPS (FTP mit TLS)"),
                            QStringLiteral("FTP (unverschlüsselt)")});

    Beschriftung(this, "Label2", 16, 51, QStringLiteral("Server:"));
    ed_Server = Feld(this, "ed_Server", 104, 48, 161, 21, QString());
    Beschriftung(this, "Label3", 273, 51, QStringLiteral("Port:"));
    ed_Port = Feld(this, "ed_Port", 305, 48, 40, 21, QString());
    ed_Port->setValidator(new QIntValidator(1, 65535, ed_Port));
    Beschriftung(this, "Label4", 16, 79, QStringLiteral("Benutzer:"));
    ed_Benutzer = Feld(this, "ed_Benutzer", 104, 76, 241, 21, QString());
    Beschriftung(this, "Label5", 16, 107, QStringLiteral("Passwort:"));
    ed_Passwort = Feld(this, "ed_Passwort", 104, 104, 241, 21, QString());
    ed_Passwort->setEchoMode(QLineEdit::Password);
    lbl_Schluessel = Beschriftung(this, "lbl_Schluessel", 16, 135, QStringLiteral("Schlüssel:"));
    ed_Schluessel = Feld(this, "ed_Schluessel", 104, 132, 209, 21, QString());
    ed_Schluessel->setPlaceholderText(QStringLiteral("(keiner)"));
    btn_Schluessel = Knopf(this, "btn_Schluessel", 320, 131, 25, 23, QStringLiteral("..."));
    Beschriftung(this, "Label6", 16, 163, QStringLiteral("Ordner:"));
    ed_Ordner = Feld(this, "ed_Ordner", 104, 160, 241, 21, QString());
    ed_Ordner->setPlaceholderText(QStringLiteral("zum Beispiel /htdocs"));

    lbl_Warnung = Beschriftung(
        this, "lbl_Warnung", 16, 188,
        QStringLiteral("Ohne Verschlüsselung gehen Passwort und Dateien lesbar durchs Netz."));
    lbl_Warnung->setStyleSheet(QStringLiteral("color: #c00000"));

    lbl_Startseite = Beschriftung(this, "lbl_Startseite", 16, 208,
                                  QStringLiteral("Im Ordner Neu gibt es keine Startseite "
                                                 "index.html."));
    cbx_Startseite = Kontrollkaestchen(
        this, "cbx_Startseite", 16, 224, 329, 17,
        QStringLiteral("Startseite index.html anlegen, die zur ersten Seite führt"));
    cbx_Startseite->setChecked(true);
    const bool ohneStart = lw::StartseiteFehlt(zielordner_ + "/Neu") && !ersteSeite_.empty();
    lbl_Startseite->setVisible(ohneStart);
    cbx_Startseite->setVisible(ohneStart);

    lbl_Datei = Beschriftung(this, "lbl_Datei", 16, 252, QString());
    lbl_Datei->setFixedWidth(329);
    pb_Hochladen = new QProgressBar(this);
    pb_Hochladen->setObjectName(QStringLiteral("pb_Hochladen"));
    pb_Hochladen->setGeometry(16, 270, 329, 17);
    pb_Hochladen->setRange(0, 1000);
    pb_Hochladen->setValue(0);
    pb_Hochladen->setTextVisible(false);

    btn_Veroeffentlichen =
        Knopf(this, "btn_Veroeffentlichen", 160, 300, 97, 25, QStringLiteral("Veröffentlichen"));
    btn_Veroeffentlichen->setDefault(true);
    btn_AbbrechenVeroeffentlichen =
        Knopf(this, "btn_AbbrechenVeroeffentlichen", 264, 300, 81, 25, QStringLiteral("Abbrechen"));

    // What was entered last time, but never a password.
    einstellungen_ = lw::EinstellungenLesen(lw::EinstellungenPfad(zielordner_));
    const lw::Zugang& z = einstellungen_.zugang;
    for (int i = 0; i < 3; ++i)
        if (kProtokolle[i] == z.protokoll) cb_Protokoll->setCurrentIndex(i);
    ed_Server->setText(alsQString(z.server));
    ed_Port->setText(QString::number(z.port));
    portGeaendert_ = z.port != lw::StandardPort(z.protokoll);
    ed_Benutzer->setText(alsQString(z.benutzer));
    ed_Schluessel->setText(alsQString(z.schluessel));
    ed_Ordner->setText(alsQString(z.ordner));

    connect(cb_Protokoll, &QComboBox::currentIndexChanged, this,
            &Tfrm_Veroeffentlichen::cb_ProtokollChange);
    connect(ed_Port, &QLineEdit::textEdited, this, [this] { portGeaendert_ = true; });
    connect(btn_Schluessel, &QPushButton::clicked, this,
            &Tfrm_Veroeffentlichen::btn_SchluesselClick);
    connect(btn_Veroeffentlichen, &QPushButton::clicked, this,
            &Tfrm_Veroeffentlichen::btn_VeroeffentlichenClick);
    connect(btn_AbbrechenVeroeffentlichen, &QPushButton::clicked, this,
            &Tfrm_Veroeffentlichen::btn_AbbrechenVeroeffentlichenClick);
    cb_ProtokollChange();
}

lw::Protokoll Tfrm_Veroeffentlichen::GewaehltesProtokoll() const {
    return kProtokolle[std::max(0, cb_Protokoll->currentIndex())];
}

void Tfrm_Veroeffentlichen::cb_ProtokollChange() {
    const lw::Protokoll p = GewaehltesProtokoll();
    // The protocol's port until the user types another one.
    if (!portGeaendert_) ed_Port->setText(QString::number(lw::StandardPort(p)));
    const bool sftp = p == lw::Protokoll::SFTP;
    lbl_Schluessel->setVisible(sftp);
    ed_Schluessel->setVisible(sftp);
    btn_Schluessel->setVisible(sftp);
    lbl_Warnung->setVisible(p == lw::Protokoll::FTP);
}

void Tfrm_Veroeffentlichen::btn_SchluesselClick() {
    const QString datei =
        dialoge().DateiOeffnen(this, QStringLiteral("Privaten Schlüssel wählen"),
                               QDir::homePath() + "/.ssh", QStringLiteral("Alle Dateien (*)"));
    if (!datei.isEmpty()) ed_Schluessel->setText(datei);
}

void Tfrm_Veroeffentlichen::Sperren(bool gesperrt) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             cb_Protokoll, ed_Server, ed_Port, ed_Benutzer, ed_Passwort, ed_Schluessel,
             btn_Schluessel, ed_Ordner, cbx_Startseite, btn_Veroeffentlichen})
        w->setEnabled(!gesperrt);
}

void Tfrm_Veroeffentlichen::btn_VeroeffentlichenClick() {
    if (laeuft_) return;
    if (ed_Server->text().trimmed().isEmpty()) {
        dialoge().Meldung(this, QStringLiteral("Bitte geben Sie den Server an."));
        return;
    }
    const int port = ed_Port->text().toInt();
    if (port < 1 || port > 65535) {
        dialoge().Meldung(this, QStringLiteral("Bitte geben Sie einen Port von 1 bis 65535 an."));
        return;
    }
    lw::Zugang& z = einstellungen_.zugang;
    z.protokoll = GewaehltesProtokoll();
    z.server = alsCp1252(ed_Server->text().trimmed());
    z.port = port;
    z.benutzer = alsCp1252(ed_Benutzer->text());
    z.schluessel = z.protokoll == lw::Protokoll::SFTP ? alsCp1252(ed_Schluessel->text()) : "";
    z.ordner = alsCp1252(ed_Ordner->text().trimmed());
    const std::string ini = lw::EinstellungenPfad(zielordner_);
    // The password lives in this copy only, for the length of the publish.
    lw::Zugang zugang = z;
    zugang.passwort = alsCp1252(ed_Passwort->text());

    laeuft_ = true;
    abbrechen_ = false;
    Sperren(true);
    pb_Hochladen->setValue(0);
    lw::VeroeffentlichenBegleitung begleitung;
    begleitung.zwischenschritt = [this](const lw::VeroeffentlichenStand& s) {
        pb_Hochladen->setValue(
            s.gesamt ? static_cast<int>(s.gesendet * 1000 / std::max<std::uint64_t>(s.gesamt, 1))
                     : 0);
        lbl_Datei->setText(QString::fromUtf8(s.datei.c_str()));
        QCoreApplication::processEvents();
    };
    begleitung.abbrechen = [this] { return abbrechen_; };
    begleitung.fragen = [this](const std::string& frage) {
        return dialoge().Frage(this, alsQString(frage));
    };
    lw::VeroeffentlichenBericht bericht;
    const bool fertig = Handlung(this, [&] {
        lw::EinstellungenSchreiben(ini, einstellungen_);
        if (cbx_Startseite->isVisible() && cbx_Startseite->isChecked())
            lw::StartseiteAnlegen(zielordner_ + "/Neu", ersteSeite_);
        try {
            bericht = lw::Veroeffentlichen(zielordner_ + "/Neu", zugang, einstellungen_.vertrauen,
                                           begleitung);
        } catch (const lw::Fehler&) {
            // A key the user trusted before the failure stays trusted.
            lw::EinstellungenSchreiben(ini, einstellungen_);
            throw;
        }
        lw::EinstellungenSchreiben(ini, einstellungen_);
    });
    laeuft_ = false;
    Sperren(false);
    lbl_Datei->clear();
    if (!fertig) return;
    if (bericht.abgebrochen) {
        dialoge().Meldung(this, QStringLiteral("Das Veröffentlichen wurde abgebrochen. Was schon "
                                               "oben ist, bleibt; das nächste Veröffentlichen "
                                               "setzt dort fort."));
    } else {
        pb_Hochladen->setValue(1000);
        dialoge().Meldung(this, QStringLiteral("Veröffentlicht: %1 Dateien hochgeladen, %2 "
                                               "gelöscht.")
                                    .arg(bericht.hochgeladen.size())
                                    .arg(bericht.geloescht.size()));
    }
    accept();
}

void Tfrm_Veroeffentlichen::btn_AbbrechenVeroeffentlichenClick() {
    if (laeuft_)
        abbrechen_ = true;
    else
        QDialog::reject();
}

// Escape and the close box stop a publish under way the same way as
// "Abbrechen", after the file under way.
void Tfrm_Veroeffentlichen::reject() {
    btn_AbbrechenVeroeffentlichenClick();
}

void Tfrm_Veroeffentlichen::closeEvent(QCloseEvent* ereignis) {
    if (laeuft_) {
        abbrechen_ = true;
        ereignis->ignore();
        return;
    }
    QDialog::closeEvent(ereignis);
}
