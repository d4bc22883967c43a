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
#include <QScopeGuard>
#include <QSpinBox>
#include <QUrl>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <new>

#include "app/Browser.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "ui/Dialoge.h"
#include "ui/Formbau.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

namespace {

constexpr lw::Protokoll kProtokolle[] = {lw::Protokoll::SFTP, lw::Protokoll::FTPS,
                                         lw::Protokoll::FTP};
constexpr int kBreite = 361;

// The site's address as the browser gets it: a web address only, so that
// "Homepage ansehen" opens nothing else whatever the settings file holds.
QUrl WebAdresse(const QString& text) {
    const QUrl url = QUrl::fromUserInput(text.trimmed());
    const bool web =
        url.isValid() && !url.host().isEmpty() &&
        (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    return web ? url : QUrl();
}

// Password and passphrase go to the server as the UTF-8 the user typed: a
// character beyond Windows-1252 must not become '?'.
std::string Geheimnis(const QString& text) {
    return text.toUtf8().toStdString();
}

// Whatever a publish throws becomes a German sentence; the window must come
// back from every kind of failure, not only from the program's own.
QString FehlerBeschreibung(const std::exception_ptr& fehler) {
    try {
        std::rethrow_exception(fehler);
    } catch (const lw::Fehler& f) {
        return FehlerText(alsQString(f.what()));
    } catch (const std::filesystem::filesystem_error& f) {
        const int code = f.code().value();
        const QString grund =
            code == ELOOP
                ? QStringLiteral("Die symbolischen Verknüpfungen dort bilden eine Schleife.")
                : alsQString(lw::SystemGrund(code, f.path1().string()));
        if (f.path1().empty())
            return QStringLiteral("Auf eine Datei kann nicht zugegriffen werden. %1").arg(grund);
        return QStringLiteral("Auf „%1“ kann nicht zugegriffen werden. %2")
            .arg(QString::fromStdString(f.path1().string()), grund);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Für das Veröffentlichen reicht der Arbeitsspeicher nicht aus.");
    } catch (const std::exception& e) {
        return FehlerText(QStringLiteral("Das Veröffentlichen ist fehlgeschlagen: %1")
                              .arg(QString::fromUtf8(e.what())));
    } catch (...) {
        return QStringLiteral("Das Veröffentlichen ist fehlgeschlagen.");
    }
}

}  // namespace

Tfrm_Veroeffentlichen::Tfrm_Veroeffentlichen(const std::string& zielordner,
                                             const std::string& ersteSeite, QWidget* eltern)
    : QDialog(eltern, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      zielordner_(zielordner),
      ersteSeite_(ersteSeite) {
    setObjectName(QStringLiteral("frm_Veroeffentlichen"));
    setWindowTitle(QStringLiteral("Veröffentlichen"));

    // Each control is made at its place within its line; Anordnen puts the
    // lines below each other.
    const auto zeile = [this](int hoehe, std::initializer_list<QWidget*> teile) {
        Zeile z{{}, hoehe};
        for (QWidget* w : teile) z.teile.emplace_back(w, w->y());
        zeilen_.push_back(std::move(z));
    };
    const auto feld = [this](const char* name, int links, int breite) {
        return Feld(this, name, links, 0, breite, 21, QString());
    };

    cb_Protokoll = new QComboBox(this);
    cb_Protokoll->setObjectName(QStringLiteral("cb_Protokoll"));
    cb_Protokoll->setGeometry(104, 0, 241, 21);
    cb_Protokoll->addItems({QStringLiteral("SFTP"), QStringLiteral("FTPS (FTP mit TLS)"),
                            QStringLiteral("FTP (unverschlüsselt)")});
    zeile(28, {Beschriftung(this, "Label1", 16, 3, QStringLiteral("Protokoll:")), cb_Protokoll});

    ed_Server = feld("ed_Server", 104, 161);
    ed_Port = feld("ed_Port", 305, 40);
    ed_Port->setValidator(new QIntValidator(1, 65535, ed_Port));
    zeile(28, {Beschriftung(this, "Label2", 16, 3, QStringLiteral("Server:")), ed_Server,
               Beschriftung(this, "Label3", 273, 3, QStringLiteral("Port:")), ed_Port});
    ed_Benutzer = feld("ed_Benutzer", 104, 241);
    zeile(28, {Beschriftung(this, "Label4", 16, 3, QStringLiteral("Benutzer:")), ed_Benutzer});
    ed_Passwort = feld("ed_Passwort", 104, 241);
    ed_Passwort->setEchoMode(QLineEdit::Password);
    zeile(28, {Beschriftung(this, "Label5", 16, 3, QStringLiteral("Passwort:")), ed_Passwort});

    lbl_Schluessel = Beschriftung(this, "lbl_Schluessel", 16, 3, QStringLiteral("Schlüssel:"));
    ed_Schluessel = feld("ed_Schluessel", 104, 209);
    ed_Schluessel->setPlaceholderText(QStringLiteral("(keiner)"));
    btn_Schluessel = Knopf(this, "btn_Schluessel", 320, -1, 25, 23, QStringLiteral("..."));
    zeile(28, {lbl_Schluessel, ed_Schluessel, btn_Schluessel});
    // Unlocks the key only; the server's password has its own field.
    lbl_Passphrase = Beschriftung(this, "lbl_Passphrase", 16, 3, QStringLiteral("Passphrase:"));
    ed_Passphrase = feld("ed_Passphrase", 104, 241);
    ed_Passphrase->setEchoMode(QLineEdit::Password);
    zeile(28, {lbl_Passphrase, ed_Passphrase});

    ed_Ordner = feld("ed_Ordner", 104, 241);
    ed_Ordner->setPlaceholderText(QStringLiteral("zum Beispiel /htdocs"));
    zeile(28, {Beschriftung(this, "Label6", 16, 3, QStringLiteral("Ordner:")), ed_Ordner});

    auto* lbl_Adresse = Beschriftung(
        this, "lbl_Adresse", 16, 0,
        QStringLiteral("Adresse Ihrer Homepage (zum Beispiel https://www.beispiel.de)"));
    ed_Adresse = Feld(this, "ed_Adresse", 16, 16, 329, 21, QString());
    zeile(44, {lbl_Adresse, ed_Adresse});

    auto* lbl_Verbindungen = Beschriftung(this, "lbl_Verbindungen", 16, 3,
                                          QStringLiteral("Gleichzeitige Verbindungen:"));
    se_Verbindungen = new QSpinBox(this);
    se_Verbindungen->setObjectName(QStringLiteral("se_Verbindungen"));
    se_Verbindungen->setRange(1, 8);
    se_Verbindungen->setGeometry(std::max(104, lbl_Verbindungen->geometry().right() + 9), 0, 49,
                                 21);
    zeile(28, {lbl_Verbindungen, se_Verbindungen});

    lbl_Warnung = Beschriftung(
        this, "lbl_Warnung", 16, 0,
        QStringLiteral("Ohne Verschlüsselung gehen Passwort und Dateien lesbar durchs Netz."));
    lbl_Warnung->setStyleSheet(QStringLiteral("color: #c00000"));
    zeile(20, {lbl_Warnung});

    lbl_Startseite = Beschriftung(this, "lbl_Startseite", 16, 0,
                                  QStringLiteral("Im Ordner Neu gibt es keine Startseite "
                                                 "index.html."));
    cbx_Startseite = Kontrollkaestchen(
        this, "cbx_Startseite", 16, 16, 329, 17,
        QStringLiteral("Startseite index.html anlegen, die zur ersten Seite führt"));
    cbx_Startseite->setChecked(true);
    const bool ohneStart = lw::StartseiteFehlt(zielordner_ + "/Neu") && !ersteSeite_.empty();
    lbl_Startseite->setVisible(ohneStart);
    cbx_Startseite->setVisible(ohneStart);
    zeile(42, {lbl_Startseite, cbx_Startseite});

    lbl_Datei = Beschriftung(this, "lbl_Datei", 16, 0, QString());
    lbl_Datei->setTextFormat(Qt::PlainText);
    lbl_Datei->setFixedWidth(329);
    pb_Hochladen = new QProgressBar(this);
    pb_Hochladen->setObjectName(QStringLiteral("pb_Hochladen"));
    pb_Hochladen->setGeometry(16, 18, 329, 17);
    pb_Hochladen->setRange(0, 1000);
    pb_Hochladen->setValue(0);
    pb_Hochladen->setTextVisible(false);
    zeile(42, {lbl_Datei, pb_Hochladen});

    // Room for three lines; the whole text is also the label's hint.
    lbl_Meldung = Beschriftung(this, "lbl_Meldung", 16, 0, QString());
    lbl_Meldung->setTextFormat(Qt::PlainText);
    lbl_Meldung->setWordWrap(true);
    lbl_Meldung->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl_Meldung->setFixedSize(329, 44);
    zeile(52, {lbl_Meldung});

    btn_Veroeffentlichen =
        Knopf(this, "btn_Veroeffentlichen", 160, 0, 97, 25, QStringLiteral("Veröffentlichen"));
    btn_Veroeffentlichen->setDefault(true);
    btn_AbbrechenVeroeffentlichen =
        Knopf(this, "btn_AbbrechenVeroeffentlichen", 264, 0, 81, 25, QStringLiteral("Abbrechen"));
    zeile(25 + 12, {btn_Veroeffentlichen, btn_AbbrechenVeroeffentlichen});

    // What was entered last time, but never a password or passphrase.
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
    ed_Adresse->setText(alsQString(einstellungen_.adresse));
    se_Verbindungen->setValue(einstellungen_.verbindungen);

    connect(cb_Protokoll, &QComboBox::currentIndexChanged, this,
            &Tfrm_Veroeffentlichen::cb_ProtokollChange);
    connect(ed_Port, &QLineEdit::textEdited, this, [this] { portGeaendert_ = true; });
    connect(ed_Schluessel, &QLineEdit::textChanged, this, &Tfrm_Veroeffentlichen::Anordnen);
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
    Anordnen();
}

void Tfrm_Veroeffentlichen::Anordnen() {
    const lw::Protokoll p = GewaehltesProtokoll();
    const bool sftp = p == lw::Protokoll::SFTP;
    lbl_Schluessel->setVisible(sftp);
    ed_Schluessel->setVisible(sftp);
    btn_Schluessel->setVisible(sftp);
    const bool mitSchluessel = sftp && !ed_Schluessel->text().trimmed().isEmpty();
    lbl_Passphrase->setVisible(mitSchluessel);
    ed_Passphrase->setVisible(mitSchluessel);
    lbl_Warnung->setVisible(p == lw::Protokoll::FTP);
    int oben = 16;
    for (const Zeile& z : zeilen_) {
        if (!z.teile.front().first->isVisibleTo(this)) continue;
        for (const auto& [w, versatz] : z.teile) w->move(w->x(), oben + versatz);
        oben += z.hoehe;
    }
    setFixedSize(kBreite, oben);
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
             btn_Schluessel, ed_Passphrase, ed_Ordner, ed_Adresse, se_Verbindungen, cbx_Startseite,
             btn_Veroeffentlichen})
        w->setEnabled(!gesperrt);
}

void Tfrm_Veroeffentlichen::Melden(const QString& text, bool fehler) {
    lbl_Meldung->setStyleSheet(fehler ? QStringLiteral("color: #c00000") : QString());
    lbl_Meldung->setText(text);
    lbl_Meldung->setToolTip(text);
}

void Tfrm_Veroeffentlichen::btn_VeroeffentlichenClick() {
    if (laeuft_) return;
    Melden({}, false);
    if (ed_Server->text().trimmed().isEmpty()) {
        Melden(QStringLiteral("Bitte geben Sie den Server an."), true);
        return;
    }
    const int port = ed_Port->text().toInt();
    if (port < 1 || port > 65535) {
        Melden(QStringLiteral("Bitte geben Sie einen Port von 1 bis 65535 an."), true);
        return;
    }
    const QString adresse = ed_Adresse->text().trimmed();
    const QUrl url = WebAdresse(adresse);
    if (!adresse.isEmpty() && url.isEmpty()) {
        Melden(QStringLiteral("Bitte geben Sie die Adresse Ihrer Homepage als Webadresse an, zum "
                              "Beispiel https://www.beispiel.de."),
               true);
        return;
    }
    lw::Zugang& z = einstellungen_.zugang;
    z.protokoll = GewaehltesProtokoll();
    z.server = alsCp1252(ed_Server->text().trimmed());
    z.port = port;
    z.benutzer = alsCp1252(ed_Benutzer->text());
    z.schluessel = z.protokoll == lw::Protokoll::SFTP ? alsCp1252(ed_Schluessel->text()) : "";
    z.ordner = alsCp1252(ed_Ordner->text().trimmed());
    einstellungen_.adresse = alsCp1252(adresse);
    einstellungen_.verbindungen = se_Verbindungen->value();
    // Password and passphrase live in this copy only, for the length of the publish.
    lw::Zugang zugang = z;
    zugang.passwort = Geheimnis(ed_Passwort->text());
    zugang.passphrase = z.schluessel.empty() ? std::string() : Geheimnis(ed_Passphrase->text());

    lw::VeroeffentlichenBericht bericht;
    const QString fehler = Durchfuehren(zugang, bericht);
    if (!fehler.isEmpty()) {
        Melden(fehler, true);
    } else if (bericht.abgebrochen) {
        Melden(QStringLiteral("Das Veröffentlichen wurde abgebrochen. Was schon oben ist, bleibt; "
                              "das nächste Veröffentlichen setzt dort fort."),
               false);
    } else {
        pb_Hochladen->setValue(1000);
        QString text = QStringLiteral("Veröffentlicht: %1 Dateien hochgeladen, %2 gelöscht.")
                           .arg(bericht.hochgeladen.size())
                           .arg(bericht.geloescht.size());
        if (!url.isEmpty()) text += QStringLiteral("\nIhre Homepage: %1").arg(adresse);
        Melden(text, false);
        if (url.isEmpty())
            dialoge().Meldung(this, text);
        else if (dialoge().MeldungMitKnopf(this, text, QStringLiteral("Homepage ansehen")))
            BrowserOeffnen(url.toString());
    }
    if (schliessen_) QDialog::reject();
}

QString Tfrm_Veroeffentlichen::Durchfuehren(const lw::Zugang& zugang,
                                            lw::VeroeffentlichenBericht& bericht) {
    laeuft_ = true;
    abbrechen_ = false;
    schliessen_ = false;
    Sperren(true);
    pb_Hochladen->setValue(0);
    const auto danach = qScopeGuard([this] {
        laeuft_ = false;
        Sperren(false);
        lbl_Datei->clear();
    });
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
    const std::string ini = lw::EinstellungenPfad(zielordner_);
    try {
        lw::EinstellungenSchreiben(ini, einstellungen_);
        if (cbx_Startseite->isVisibleTo(this) && cbx_Startseite->isChecked())
            lw::StartseiteAnlegen(zielordner_ + "/Neu", ersteSeite_);
        try {
            lw::VeroeffentlichenGrenzen grenzen;
            grenzen.verbindungen = einstellungen_.verbindungen;
            bericht = lw::Veroeffentlichen(zielordner_ + "/Neu", zugang, einstellungen_.vertrauen,
                                           begleitung, grenzen);
        } catch (...) {
            // A key the user trusted before the failure stays trusted.
            lw::EinstellungenSchreiben(ini, einstellungen_);
            throw;
        }
        lw::EinstellungenSchreiben(ini, einstellungen_);
    } catch (...) {
        return FehlerBeschreibung(std::current_exception());
    }
    return {};
}

void Tfrm_Veroeffentlichen::btn_AbbrechenVeroeffentlichenClick() {
    if (laeuft_)
        abbrechen_ = true;
    else
        QDialog::reject();
}

// Escape stops a publish under way as "Abbrechen" does, after the file under way.
void Tfrm_Veroeffentlichen::reject() {
    btn_AbbrechenVeroeffentlichenClick();
}

// The close box during a publish stops it, and the window closes once it has.
void Tfrm_Veroeffentlichen::closeEvent(QCloseEvent* ereignis) {
    if (laeuft_) {
        abbrechen_ = true;
        schliessen_ = true;
        ereignis->ignore();
        return;
    }
    QDialog::closeEvent(ereignis);
}
