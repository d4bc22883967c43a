#include "import/Import.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_set>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Suche.h"
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
constexpr std::size_t kRahmenNachZelle = 134;
constexpr std::size_t kVorZaehler = 10;
constexpr std::size_t kNachWerbungKopf = 81;
constexpr std::size_t kVorWerbungFuss = 65;

// Bounds of the pictures one import fetches.
constexpr std::size_t kBildHoechstGroesse = std::size_t{32} * 1024 * 1024;
constexpr std::size_t kHoechstensBilder = 1000;

constexpr std::size_t kMeldungHoechstensZeilen = 30;

std::string AdresseBeiAnbieter(const std::string& benutzer, std::string_view name) {
    return "http://www." + benutzer + konfiguration::DownloadDomain + "/" + std::string(name);
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

bool IstAnbieterFunktion(std::string_view seite) {
    static const Suche anbieterMarken(
        {kImpressum, kHaftungsausschluss, kKontaktformular, kGaestebuch});
    return anbieterMarken.Finden(seite) != std::string_view::npos;
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

std::string_view InhaltsBereich(std::string_view seite) {
    // The cuts of the contents, each on what the one before left, as one
    // window [anfang, ende) of the page.
    std::size_t anfang = 0;
    std::size_t ende = seite.size();
    const auto fenster = [&] { return seite.substr(anfang, ende - anfang); };
    // 1-based position in the window, 0 when missing.
    const auto pos = [&](std::string_view marke) {
        const std::size_t p = Finden(fenster(), marke);
        return p == std::string_view::npos ? std::size_t{0} : p + 1;
    };
    // Removing n characters from the front, or from position p (1-based) to
    // the end, with the edge rules of Entfernen.
    const auto vorneWeg = [&](std::size_t n) { anfang += std::min(n, ende - anfang); };
    const auto abPositionWeg = [&](std::size_t p, std::size_t davor) {
        if (p > davor) ende = anfang + (p - davor - 1);
    };

    vorneWeg(pos(kInhaltsZelle) + kRahmenNachZelle);
    if (anfang < ende && seite[anfang] == '>') ++anfang;
    abPositionWeg(pos(kZaehler), kVorZaehler);
    if (pos(kWerbung)) {
        vorneWeg(pos(kWerbungKopfEnde) + kNachWerbungKopf);
        abPositionWeg(pos(kWerbungFussAnfang), kVorWerbungFuss);
    }
    return fenster();
}

std::string InhaltAusschneiden(std::string seite) {
    return std::string(InhaltsBereich(seite));
}

std::string MeldungFehlgeschlagen(const ImportErgebnis& ergebnis) {
    if (ergebnis.fehlgeschlagen.empty()) return {};
    std::string text = W("Folgende Seiten und Bilder konnten nicht übernommen werden:");
    // A homepage full of broken pictures must not give a box taller than the
    // screen, whose OK button could not be reached.
    const std::size_t zeilen = std::min(ergebnis.fehlgeschlagen.size(), kMeldungHoechstensZeilen);
    for (std::size_t i = 0; i < zeilen; ++i) {
        const auto& f = ergebnis.fehlgeschlagen[i];
        text += "\n" + f.name + ": " + f.grund;
    }
    if (const std::size_t rest = ergebnis.fehlgeschlagen.size() - zeilen)
        text += "\n... und " + std::to_string(rest) + " weitere";
    return text;
}

namespace {

bool Leerraum(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IstBildName(std::string_view adresse) {
    for (const std::string_view endung : {".jpg", ".jpeg", ".gif", ".png"})
        if (adresse.size() >= endung.size() &&
            GleichOhneFallAscii(adresse.substr(adresse.size() - endung.size()), endung))
            return true;
    return false;
}

// A scheme: a letter, then letters, digits, '+', '-' or '.', then ':', all
// before the first '/', '?' or '#'.
bool HatSchema(std::string_view adresse) {
    const std::size_t doppelpunkt = adresse.find_first_of(":/?#");
    if (doppelpunkt == std::string_view::npos || adresse[doppelpunkt] != ':' || doppelpunkt == 0)
        return false;
    const auto buchstabe = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!buchstabe(adresse[0])) return false;
    for (const char c : adresse.substr(1, doppelpunkt - 1))
        if (!buchstabe(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    return true;
}

}  // namespace

void BildAdressenSammeln(std::string_view seite, std::vector<std::string_view>& adressen) {
    // A page without either name anywhere has no such attribute: the scan of
    // every tag is left out.
    static const Suche attribute({"src", "background"}, true);
    if (attribute.Finden(seite) == std::string_view::npos) return;
    const std::size_t n = seite.size();
    std::size_t i = 0;
    while ((i = seite.find('<', i)) != std::string_view::npos) {
        ++i;
        if (seite.substr(i).starts_with("!--")) {
            const std::size_t ende = Finden(seite, "-->", i + 3);
            if (ende == std::string_view::npos) return;
            i = ende + 3;
            continue;
        }
        if (i >= n || KleinAscii(seite[i]) < 'a' || KleinAscii(seite[i]) > 'z') continue;
        while (i < n && !Leerraum(seite[i]) && seite[i] != '>' && seite[i] != '/') ++i;
        // The attributes up to the end of the tag; a quoted value may hold '>'.
        for (;;) {
            while (i < n && (Leerraum(seite[i]) || seite[i] == '/')) ++i;
            if (i >= n || seite[i] == '>') break;
            const std::size_t nameAnfang = i;
            while (i < n && !Leerraum(seite[i]) && seite[i] != '=' && seite[i] != '>' &&
                   seite[i] != '/')
                ++i;
            const std::string_view name = seite.substr(nameAnfang, i - nameAnfang);
            while (i < n && Leerraum(seite[i])) ++i;
            if (i >= n || seite[i] != '=') continue;
            ++i;
            while (i < n && Leerraum(seite[i])) ++i;
            if (i < n && (seite[i] == '"' || seite[i] == '\'')) {
                const std::size_t ende = seite.find(seite[i], i + 1);
                if (ende == std::string_view::npos) return;
                const std::string_view wert = seite.substr(i + 1, ende - i - 1);
                i = ende + 1;
                if ((GleichOhneFallAscii(name, "src") || GleichOhneFallAscii(name, "background")) &&
                    IstBildName(wert))
                    adressen.push_back(wert);
            } else {
                while (i < n && !Leerraum(seite[i]) && seite[i] != '>') ++i;
            }
        }
    }
}

BildAdressArt BildAdresseEinordnen(std::string_view adresse) {
    if (HatSchema(adresse) || adresse.starts_with("//")) return BildAdressArt::Fremd;
    if (adresse.find_first_of("?#") != std::string_view::npos) return BildAdressArt::Ungueltig;
    return SchlichterPfad(adresse) ? BildAdressArt::Relativ : BildAdressArt::Ungueltig;
}

namespace {

constexpr const char* kKeineAntwort = "keine Antwort";
constexpr const char* kStatusVorsatz = "Status:";

// "Status:404" gives "Status 404"; the text of a page that merely begins
// with these letters is no status.
std::optional<std::string> StatusFehler(const std::string& geladen) {
    if (!geladen.starts_with(kStatusVorsatz)) return std::nullopt;
    const std::string_view code = std::string_view(geladen).substr(std::strlen(kStatusVorsatz));
    if (code.empty() || code.size() > 3) return std::nullopt;
    for (const char c : code)
        if (c < '0' || c > '9') return std::nullopt;
    return "Status " + std::string(code);
}

// One run of SeitenImportieren: the downloads, the stop question and what
// failed.
class ImportLauf final {
public:
    ImportLauf(Projektdaten& daten, const std::string& benutzer,
               const ImportRueckmeldung& rueckmeldung)
        : daten_(daten),
          benutzer_(benutzer),
          rueckmeldung_(rueckmeldung),
          altOrdner_(daten.Zielordner + "/Alt/") {}

    ImportErgebnis Ausfuehren(const std::string& startseite) {
        daten_.ImportBilder.clear();
        // The names first: the progress needs their number, and a picture
        // folder must not take the name of a page.
        std::vector<std::string> namen;
        MenueLeser menue(startseite);
        while (const auto name = menue.Naechster()) {
            namen.push_back(*name);
            // The import stops there; the rest of the page may be one long name.
            if (!SchlichterDateiname(*name)) break;
        }
        seitenNamen_.insert(namen.begin(), namen.end());
        const int gesamt = static_cast<int>(namen.size());

        try {
            int n = 0;
            for (const std::string& name : namen) {
                if (Gestoppt()) break;
                ++n;
                daten_.ImportAnzahl = n;
                daten_.ImportSeiten.Setzen(n, name);
                // The name comes from the server: it must never reach outside Alt.
                if (!SchlichterDateiname(name)) SeitennameUngueltigWerfen(name);
                const bool geschrieben = SeiteImportieren(name);
                // Only pages whose file is in Alt are counted.
                if (!geschrieben) daten_.ImportAnzahl = n - 1;
                if (ergebnis_.abgebrochen) break;
                if (rueckmeldung_.fortschritt) rueckmeldung_.fortschritt(n, gesamt);
            }
        } catch (...) {
            // A page that could not be written came first and is the failure
            // to report.
            throw;
        }
        SchreibenAbwarten();
        return std::move(ergebnis_);
    }

private:
    bool Gestoppt() {
        if (!ergebnis_.abgebrochen && rueckmeldung_.abbrechen && rueckmeldung_.abbrechen())
            ergebnis_.abgebrochen = true;
        return ergebnis_.abgebrochen;
    }

    void Status(const std::string& was) {
        if (rueckmeldung_.status) rueckmeldung_.status("Laden von " + was);
    }

    // The answer into ziel, whose room is used again. After a stop
    // (ergebnis_.abgebrochen) it is to be dropped.
    void Laden(std::string_view pfad, std::size_t hoechstGroesse, bool& vollstaendig,
               std::string& ziel) {
        const std::string url = AdresseBeiAnbieter(benutzer_, pfad);
        if (rueckmeldung_.laden) {
            vollstaendig = true;
            ziel = rueckmeldung_.laden(url, hoechstGroesse);
            return;
        }
        if (!sitzung_) {
            Abbruchfrage frage;
            if (rueckmeldung_.abbrechen) frage = [this] { return Gestoppt(); };
            sitzung_.emplace(rueckmeldung_.zwischenschritt, LadeGrenzen{}, std::move(frage));
        }
        sitzung_->Laden(url, hoechstGroesse, ziel);
        vollstaendig = sitzung_->LetzteVollstaendig();
    }

    void Fehlschlag(std::string name, std::string grund) {
        ergebnis_.fehlgeschlagen.push_back({std::move(name), std::move(grund)});
    }

    // False when a stop came during the download: the page is not written.
    bool SeiteImportieren(const std::string& name) {
        Status(name);
        // A page that broke off keeps what arrived.
        bool vollstaendig = false;
        // Two bodies take turns, so that their room serves page after page:
        // the write of the page before last, which had this one, was waited
        // for before the last page was handed on.
        std::shared_ptr<std::string>& koerper = koerper_[naechsterKoerper_];
        naechsterKoerper_ ^= 1;
        if (!koerper) koerper = std::make_shared<std::string>();
        std::string& seite = *koerper;
        Laden(name, LadeGrenzen{}.hoechstGroesse, vollstaendig, seite);
        if (ergebnis_.abgebrochen) return false;
        std::optional<std::string> grund = StatusFehler(seite);
        if (seite.empty()) grund = kKeineAntwort;
        // Every page leaves its file, so that the site can be saved; the
        // message tells what is missing.
        if (grund) {
            AltSchreiben(name, "");
            Fehlschlag(name, std::move(*grund));
            return true;
        }
        if (IstAnbieterFunktion(seite)) {
            AltSchreiben(name, RahmenErsatz(name));
            return true;
        }
        // The page goes to Alt while the next one is loaded; the thread that
        // writes it shares the text with the search for its pictures.
        const std::string_view inhalt = InhaltsBereich(seite);
        AltSchreiben(name, koerper, inhalt);
        adressen_.clear();
        BildAdressenSammeln(inhalt, adressen_);
        for (const std::string_view adresse : adressen_) {
            if (!gesehen_.emplace(adresse).second) continue;
            BildImportieren(adresse);
            if (ergebnis_.abgebrochen) break;
        }
        adressen_.clear();
        return true;
    }

    // Writes the file of a page in Alt on the writing thread. A page that
    // could not be written ends the import before the next page is: the
    // write before is waited for first.
    void AltSchreiben(const std::string& name, std::shared_ptr<const std::string> text,
                      std::string_view teil) {
        TextSchreiben(altOrdner_ + name, teil);
        text.reset();
    }
    void SchreibenAbwarten() {}

    void AltSchreiben(const std::string& name, std::string text) {
        auto geteilt = std::make_shared<const std::string>(std::move(text));
        const std::string_view teil = *geteilt;
        AltSchreiben(name, std::move(geteilt), teil);
    }

    void BildImportieren(std::string_view adresse) {
        const std::string pfad(adresse);
        switch (BildAdresseEinordnen(adresse)) {
            case BildAdressArt::Fremd:
                return;
            case BildAdressArt::Ungueltig:
                return Fehlschlag(pfad, W("nicht unterstützte Adresse"));
            case BildAdressArt::Relativ:
                break;
        }
        // A folder of that name would stand where the page's file goes.
        const std::size_t schraeg = adresse.find('/');
        if (schraeg != std::string_view::npos && seitenNamen_.count(pfad.substr(0, schraeg)))
            return Fehlschlag(pfad, W("nicht unterstützte Adresse"));
        if (geladeneBilder_ == kHoechstensBilder)
            return Fehlschlag(pfad, "mehr als " + std::to_string(kHoechstensBilder) + " Bilder");
        if (Gestoppt()) return;

        ++geladeneBilder_;
        Status(pfad);
        // One byte more than allowed tells a picture of exactly the bound
        // from a bigger one, which is not stored cut off.
        bool vollstaendig = false;
        std::string bild;
        Laden(adresse, kBildHoechstGroesse + 1, vollstaendig, bild);
        if (ergebnis_.abgebrochen) return;
        if (bild.empty()) return Fehlschlag(pfad, kKeineAntwort);
        if (auto grund = StatusFehler(bild)) return Fehlschlag(pfad, std::move(*grund));
        if (bild.size() > kBildHoechstGroesse) return Fehlschlag(pfad, W("größer als 32 MB"));
        // Unlike a page's text, a picture cut short is broken as a whole.
        if (!vollstaendig) return Fehlschlag(pfad, W("unvollständig übertragen"));
        // The names come from the server; a clash of a file and a folder of
        // the same name is that picture's failure, not the import's.
        try {
            OrdnerAufDemWegErzeugen(altOrdner_, pfad);
            TextSchreiben(altOrdner_ + pfad, bild);
        } catch (const Fehler& fehler) {
            return Fehlschlag(pfad, fehler.what());
        }
        daten_.ImportBilder.push_back(pfad);
    }

    Projektdaten& daten_;
    const std::string& benutzer_;
    const ImportRueckmeldung& rueckmeldung_;
    const std::string altOrdner_;
    std::optional<LadeSitzung> sitzung_;
    ImportErgebnis ergebnis_;
    std::unordered_set<std::string> seitenNamen_;
    std::unordered_set<std::string> gesehen_;
    std::shared_ptr<std::string> koerper_[2];
    int naechsterKoerper_ = 0;
    std::vector<std::string_view> adressen_;  // into the page being imported
    std::size_t geladeneBilder_ = 0;
};

}  // namespace

ImportErgebnis SeitenImportieren(Projektdaten& daten, const std::string& startseite,
                                 const std::string& benutzer,
                                 const ImportRueckmeldung& rueckmeldung) {
    return ImportLauf(daten, benutzer, rueckmeldung).Ausfuehren(startseite);
}

}  // namespace lw
