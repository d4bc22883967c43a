#include "ui/ImportAblauf.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "import/Import.h"
#include "import/LadeURL.h"
#include "ui/Dialoge.h"
#include "ui/Status.h"
#include "ui/TextUmwandlung.h"

using namespace lw::ui;

namespace {

// The state while the pages load, undone on every way out.
class ImportLaeuft final {
public:
    ImportLaeuft(QWidget& hauptfenster, Tfrm_Status& status)
        : hauptfenster_(hauptfenster), status_(status) {
        status_.FortschrittZuruecksetzen();
        status_.show();
        status_.raise();
        hauptfenster_.setEnabled(false);
    }
    ~ImportLaeuft() {
        status_.hide();
        hauptfenster_.setEnabled(true);
    }
    ImportLaeuft(const ImportLaeuft&) = delete;
    ImportLaeuft& operator=(const ImportLaeuft&) = delete;

private:
    QWidget& hauptfenster_;
    Tfrm_Status& status_;
};

}  // namespace

bool ImportDurchfuehren(lw::Projektdaten& daten, const std::string& benutzer, QWidget& hauptfenster,
                        Tfrm_Status& status) {
    // Between the chunks of a download the windows repaint and stay
    // responsive. Once the user confirmed leaving, the windows go at once,
    // the download under way is abandoned and no further one starts.
    const auto zwischenschritt = [&] {
        QCoreApplication::processEvents();
        if (daten.BeendenBestaetigt) {
            status.hide();
            hauptfenster.hide();
        }
    };
    Dialoge& d = dialoge();
    if (lw::BenutzernameFehlt(benutzer)) {
        d.Information(&hauptfenster, alsQString(lw::MeldungKeinBenutzername()));
        return false;
    }
    const auto beenden = [&daten] { return daten.BeendenBestaetigt; };
    // One session, so that one connection serves the start page and every
    // page and picture after it.
    lw::LadeSitzung sitzung(zwischenschritt, {}, beenden);
    const std::string startseite = sitzung.Laden(lw::StartseitenAdresse(benutzer));
    // The user may have confirmed leaving the program while the page loaded.
    if (daten.BeendenBestaetigt) return false;
    switch (lw::StartseitePruefen(startseite)) {
        case lw::StartseitenBefund::Leer:
            d.Meldung(&hauptfenster, alsQString(lw::MeldungKeineSeite(benutzer)));
            return false;
        case lw::StartseitenBefund::KeineNetzhofSeite:
            d.Meldung(&hauptfenster, alsQString(lw::MeldungUngueltigeSeite(benutzer)));
            return false;
        case lw::StartseitenBefund::Gueltig:
            break;
    }

    // The folder is asked for only once the start page is known to be good,
    // so that a mistyped name costs no folder; cancelling it returns to the
    // import page.
    d.Meldung(&hauptfenster, alsQString(lw::MeldungOrdnerEmpfehlung()));
    const QString ordner = d.OrdnerWaehlen(
        &hauptfenster, QStringLiteral("Verzeichnis für neue Dateien auswählen"), QDir::homePath());
    if (ordner.isEmpty()) return false;
    daten.Zielordner = alsCp1252(ordner);

    lw::ImportErgebnis ergebnis;
    {
        const ImportLaeuft laeuft(hauptfenster, status);
        status.StatusSetzen(alsQString(lw::StatusVerzeichnisseErstellen()));
        // A window just shown is not on screen before its events are processed.
        zwischenschritt();
        lw::AltOrdnerErzeugen(daten.Zielordner);
        // A run that failed before may have left pages behind; they belong to
        // another folder.
        daten.ImportAnzahl = 0;
        daten.ImportSeiten.Leeren();
        daten.ImportBilder.clear();
        lw::ImportRueckmeldung rueckmeldung;
        rueckmeldung.status = [&status](const std::string& text) {
            status.StatusSetzen(alsQString(text));
        };
        rueckmeldung.fortschritt = [&status](int fertig, int gesamt) {
            status.FortschrittSetzen(fertig, gesamt);
        };
        rueckmeldung.zwischenschritt = zwischenschritt;
        rueckmeldung.abbrechen = beenden;
        rueckmeldung.sitzung = &sitzung;
        ergebnis = lw::SeitenImportieren(daten, startseite, benutzer, rueckmeldung);
    }
    // The program is ending: no message, no further page.
    if (ergebnis.abgebrochen || daten.BeendenBestaetigt) return false;
    const std::string fehlgeschlagen = lw::MeldungFehlgeschlagen(ergebnis);
    if (!fehlgeschlagen.empty()) d.Meldung(&hauptfenster, alsQString(fehlgeschlagen));
    return true;
}
