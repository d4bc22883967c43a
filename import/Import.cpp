#include "import/Import.h"

#include <string_view>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "import/Konfiguration.h"
#include "import/LadeURL.h"

namespace lw {
namespace {

using namespace std::string_literals;

// The provider's page format, byte for byte as its pages carry it.
const std::string kMenueEintrag = "<tr><td><a href=\"";
const std::string kMenueBild = "\"><img src=\"data/pics/";
const std::string kImpressum = "<img src=\"data/pics/impress.png\"";
const std::string kHaftungsausschluss = "<h1>Haftungsauschluss (Disclaimer)</h1>";
const std::string kKontaktformular = "<h1>Kontaktformular</h1>";
const std::string kGaestebuch =
    "<form action=\"http://"s + konfiguration::GuestbookHost + "/guestbook.php\" method=\"POST\">";
const std::string kInhaltsZelle = "</td></tr></table></td><td background=\"data/tdef/";
const std::string kZaehler = "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"";
const std::string kWerbung = "http://"s + konfiguration::AdServerHost + "/adx.js";
const std::string kWerbungKopfEnde = "</noscript>\n</center>";
const std::string kWerbungFussAnfang = "<center>\n<script";

const std::string kGenerator = "<meta name=\"generator\" content=\"NETZHOF, http://www."s +
                               konfiguration::ProviderDomain + "/\">";
const std::string kDesign = "data/tdef/tp008/pa0.png";

// The frame and the advertising blocks have fixed lengths around their markers.
constexpr long long kRahmenNachZelle = 134;
constexpr long long kVorZaehler = 10;
constexpr long long kNachWerbungKopf = 81;
constexpr long long kVorWerbungFuss = 65;

long long Pos(const std::string& x, const std::string& t) {
    return static_cast<long long>(Position(x, t));
}

long long Laenge(const std::string& t) {
    return static_cast<long long>(t.size());
}

std::string AdresseBeiAnbieter(const std::string& benutzer, const std::string& name) {
    return "http://www." + benutzer + konfiguration::DownloadDomain + "/" + name;
}

}  // namespace

bool BenutzernameFehlt(const std::string& benutzer) {
    return benutzer.empty() || benutzer == "Benutzername";
}

std::string StartseitenAdresse(const std::string& benutzer) {
    return AdresseBeiAnbieter(benutzer, "index.html");
}

std::string MeldungKeinBenutzername() {
    return "Bitte geben Sie einen Benutzernamen ein.";
}

std::string MeldungOrdnerEmpfehlung() {
    return W(
        "Es wird dringend empfohlen, im folgenden Dialog einen neuen Ordner anzulegen und "
        "diesen auszuwählen.\nBei Nichtbeachtung könnte eine zufällig namensgleiche Datei "
        "überschrieben werden.");
}

std::string MeldungKeinOrdner() {
    return W("Sie haben kein Verzeichnis ausgewählt. Versuchen Sie es bitte nochmals.");
}

std::string MeldungKeineSeite(const std::string& benutzer) {
    return W("Es wurde keine Seite gefunden.\nBitte überprüfen Sie Ihre Internetverbindung\nund "
             "Ihre Startseite ") +
           StartseitenAdresse(benutzer);
}

std::string MeldungUngueltigeSeite(const std::string& benutzer) {
    return W("Es wurde keine gültige Netzhof-Seite gefunden.\nBitte überprüfen Sie Ihre "
             "Startseite ") +
           StartseitenAdresse(benutzer) + "\n" +
           W("Es können nur Seiten mit dem Netzhof-Design \"Neutral 5\"") + "\n" +
           W("bearbeitet werden. Bitte ändern Sie Ihre Seite entsprechend ab.");
}

std::string StatusVerzeichnisseErstellen() {
    return "Erstellen der neuen Verzeichnisse ";
}

StartseitenBefund StartseitePruefen(const std::string& startseite) {
    if (startseite.empty()) return StartseitenBefund::Leer;
    if (Position(kGenerator, startseite) == 0 || Position(kDesign, startseite) == 0)
        return StartseitenBefund::KeineNetzhofSeite;
    return StartseitenBefund::Gueltig;
}

void AltOrdnerErzeugen(const std::string& zielordner) {
    OrdnerErzeugen(zielordner + "/Alt");
}

std::optional<std::string> MenueLeser::Naechster() {
    // The rest is viewed, not cut, so that a long start page is not copied
    // once per menu link.
    std::string_view rest = std::string_view(startseite_).substr(gelesen_);
    const std::size_t p = Position(kMenueEintrag, rest);
    if (p == 0) return std::nullopt;
    gelesen_ += p - 1 + kMenueEintrag.size();
    rest = std::string_view(startseite_).substr(gelesen_);
    // The last five characters of the target give way to ".html"; a target
    // that is too short, or not followed by the picture, keeps the whole rest.
    const std::size_t q = Position(kMenueBild, rest);
    const std::string_view ziel = q > 5 ? rest.substr(0, q - 6) : rest;
    return std::string(ziel) + ".html";
}

bool IstAnbieterFunktion(const std::string& seite) {
    return Position(kImpressum, seite) || Position(kHaftungsausschluss, seite) ||
           Position(kKontaktformular, seite) || Position(kGaestebuch, seite);
}

std::string RahmenErsatz(const std::string& name) {
    return "<script type=\"text/javascript\">\n"
           "function anpassen() {\n"
           "document.getElementById('MeinIframe').style.height = "
           "frames['MeinIframe'].document.body.scrollHeight + 50 + 'px';\n"
           "}\n"
           "</script>\n"
           "\n"
           "<iframe src=\"" +
           name +
           "\" frameborder=\"0\" width=\"100%\" style=\"height: 2000px\" scrolling=\"auto\" "
           "id=\"MeinIframe\" name=\"MeinIframe\" allowtransparency=\"true\" "
           "onload=\"anpassen()\">\n" +
           W("Leider unterstützt Ihr Browser keine eingebetteten Frames. Das Gästebuch "
             "erreichen Sie dennoch <a href=\"") +
           name + "\">hier</a>.\n</iframe>";
}

std::string InhaltAusschneiden(std::string seite) {
    Entfernen(seite, 1, Pos(kInhaltsZelle, seite) + kRahmenNachZelle);
    if (!seite.empty() && seite.front() == '>') Entfernen(seite, 1, 1);
    Entfernen(seite, Pos(kZaehler, seite) - kVorZaehler, Laenge(seite));
    if (Position(kWerbung, seite)) {
        Entfernen(seite, 1, Pos(kWerbungKopfEnde, seite) + kNachWerbungKopf);
        Entfernen(seite, Pos(kWerbungFussAnfang, seite) - kVorWerbungFuss, Laenge(seite));
    }
    return seite;
}

std::string MeldungFehlgeschlagen(const ImportErgebnis& ergebnis) {
    if (ergebnis.fehlgeschlagen.empty()) return {};
    std::string text = W("Folgende Seiten und Bilder konnten nicht übernommen werden:");
    for (const auto& f : ergebnis.fehlgeschlagen) text += "\n" + f.name + ": " + f.grund;
    return text;
}

ImportErgebnis SeitenImportieren(Projektdaten& daten, const std::string& startseite,
                                 const std::string& benutzer,
                                 const ImportRueckmeldung& rueckmeldung) {
    ImportErgebnis ergebnis;
    const std::string altOrdner = daten.Zielordner + "/Alt/";
    MenueLeser menue(startseite);
    int n = 0;
    while (const auto name = menue.Naechster()) {
        ++n;
        daten.ImportAnzahl = n;
        daten.ImportSeiten.Setzen(n, *name);
        // The name comes from the server: it must never reach outside Alt.
        if (!SchlichterDateiname(*name)) SeitennameUngueltigWerfen(*name);

        if (rueckmeldung.status) rueckmeldung.status("Laden von " + *name);
        std::string seite =
            LadeURL(AdresseBeiAnbieter(benutzer, *name), rueckmeldung.zwischenschritt);
        if (seite.empty()) continue;
        seite =
            IstAnbieterFunktion(seite) ? RahmenErsatz(*name) : InhaltAusschneiden(std::move(seite));
        TextSchreiben(altOrdner + *name, seite);
    }
    return ergebnis;
}

}  // namespace lw
