#include "import/Import.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_set>

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

// Offset of the first marke in t at or after ab, npos when there is none.
std::size_t Finden(std::string_view t, std::string_view marke, std::size_t ab = 0) {
    if (ab > t.size()) return std::string_view::npos;
    const void* p = ::memmem(t.data() + ab, t.size() - ab, marke.data(), marke.size());
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - t.data())
             : std::string_view::npos;
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
    for (const std::string* marke :
         {&kImpressum, &kHaftungsausschluss, &kKontaktformular, &kGaestebuch})
        if (Finden(seite, *marke) != std::string_view::npos) return true;
    return false;
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
    const auto letztePos = [&](std::string_view marke) {
        const std::size_t p = fenster().rfind(marke);
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
        // The provider's block below the contents is the last one: a centred
        // script of the user's own, further up, stays with the contents.
        abPositionWeg(letztePos(kWerbungFussAnfang), kVorWerbungFuss);
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

// Whether a quote in the page follows a picture's ending, as the value of
// every address collected does. Most pages of text have none, and the quotes
// are few: the walk through every tag is left out for them.
bool HatBildWert(std::string_view seite) {
    for (const char anfuehrung : {'"', '\''})
        for (std::size_t p = seite.find(anfuehrung); p != std::string_view::npos;
             p = seite.find(anfuehrung, p + 1))
            if (IstBildName(seite.substr(0, p))) return true;
    return false;
}

}  // namespace

void BildAdressenSammeln(std::string_view seite, std::vector<std::string_view>& adressen) {
    if (!HatBildWert(seite)) return;
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

namespace {

bool Ziffer(char c, int basis) {
    return (c >= '0' && c <= '9') ||
           (basis == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

int Ziffernwert(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

// The character reference at t[0] (t begins with '&') as the HTML parser
// reads it in an attribute value, appended to aus in UTF-8; its length, 0
// when there is none. Named ones need their ';' and are only those the merge
// writes and the five of XML; a numeric one ends at the first other
// character and stands for U+FFFD where it names no character, for the
// Windows-1252 character where it names a C1 control.
std::size_t Referenz(std::string_view t, std::string& aus) {
    static constexpr std::pair<std::string_view, std::string_view> kNamen[] = {
        {"&amp;", "&"},   {"&lt;", "<"},   {"&gt;", ">"},   {"&quot;", "\""},
        {"&apos;", "'"},  {"&auml;", "ä"}, {"&ouml;", "ö"}, {"&uuml;", "ü"},
        {"&szlig;", "ß"}, {"&Auml;", "Ä"}, {"&Ouml;", "Ö"}, {"&Uuml;", "Ü"}};
    if (!t.starts_with("&#")) {
        for (const auto& [name, zeichen] : kNamen)
            if (t.starts_with(name)) {
                aus += zeichen;
                return name.size();
            }
        return 0;
    }
    std::size_t i = 2;
    int basis = 10;
    if (i < t.size() && (t[i] == 'x' || t[i] == 'X')) {
        basis = 16;
        ++i;
    }
    const std::size_t anfang = i;
    std::uint32_t c = 0;
    for (; i < t.size() && Ziffer(t[i], basis); ++i)
        c = std::min<std::uint32_t>(c * basis + Ziffernwert(t[i]), 0x110000);
    if (i == anfang) return 0;
    if (i < t.size() && t[i] == ';') ++i;
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        utf8Anhaengen(aus, 0xFFFD);
    else if (c >= 0x80 && c < 0xA0)
        aus += utf8AusCp1252(std::string(1, static_cast<char>(c)));
    else
        utf8Anhaengen(aus, c);
    return i;
}

// The attribute value as the browser holds it, in UTF-8.
std::string Entschluesselt(std::string_view wert) {
    std::string aus;
    std::size_t von = 0;
    for (std::size_t p = wert.find('&'); p != std::string_view::npos; p = wert.find('&', p)) {
        std::string zeichen;
        const std::size_t laenge = Referenz(wert.substr(p), zeichen);
        if (laenge == 0) {
            ++p;
            continue;
        }
        aus += utf8AusSeitenbytes(wert.substr(von, p - von));
        aus += zeichen;
        p += laenge;
        von = p;
    }
    aus += utf8AusSeitenbytes(wert.substr(von));
    return aus;
}

bool ProzentFolge(std::string_view t, std::size_t p) {
    return p + 2 < t.size() && t[p] == '%' && Ziffer(t[p + 1], 16) && Ziffer(t[p + 2], 16);
}

// What a browser sends for the path: the bytes that a path may hold raw
// stay, an existing %XX too; every other byte is percent-encoded.
std::string Prozentkodiert(std::string_view pfad) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    constexpr std::string_view kRoh = "-._~!$&'()*+,;=:@/";
    std::string aus;
    for (std::size_t p = 0; p < pfad.size(); ++p) {
        const char c = pfad[p];
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x80 && (Ziffer(c, 10) || (KleinAscii(c) >= 'a' && KleinAscii(c) <= 'z'))) ||
            kRoh.find(c) != std::string_view::npos || ProzentFolge(pfad, p)) {
            aus += c;
        } else {
            aus += '%';
            aus += kHex[b >> 4];
            aus += kHex[b & 0xF];
        }
    }
    return aus;
}

// One part of the path as the web server decodes it, in UTF-8.
std::string ProzentDekodiert(std::string_view teil) {
    std::string bytes;
    for (std::size_t p = 0; p < teil.size(); ++p) {
        if (ProzentFolge(teil, p)) {
            bytes += static_cast<char>(Ziffernwert(teil[p + 1]) * 16 + Ziffernwert(teil[p + 2]));
            p += 2;
        } else {
            bytes += teil[p];
        }
    }
    return utf8AusSeitenbytes(bytes);
}

// No '/', '\' or control character (C0, DEL, C1), NUL among them.
bool TeilOhneSteuerzeichen(std::string_view teil) {
    for (std::size_t p = 0; p < teil.size(); ++p) {
        const auto b = static_cast<unsigned char>(teil[p]);
        if (b < 0x20 || b == 0x7F || teil[p] == '/' || teil[p] == '\\') return false;
        if (b == 0xC2 && p + 1 < teil.size() && static_cast<unsigned char>(teil[p + 1]) < 0xA0)
            return false;
    }
    return true;
}

}  // namespace

BildAdressArt BildAdresseEinordnen(std::string_view adresse, BildPfad* pfad) {
    const std::string entschluesselt = Entschluesselt(adresse);
    const std::string_view wert = entschluesselt;
    if (HatSchema(wert) || wert.starts_with("//")) return BildAdressArt::Fremd;
    if (wert.find_first_of("?#") != std::string_view::npos) return BildAdressArt::Ungueltig;
    std::string datei;
    std::string_view rest = wert;
    for (;;) {
        const std::size_t trenner = rest.find('/');
        const std::string teil = ProzentDekodiert(rest.substr(0, trenner));
        if (!TeilOhneSteuerzeichen(teil)) return BildAdressArt::Ungueltig;
        datei += teil;
        if (trenner == std::string_view::npos) break;
        datei += '/';
        rest.remove_prefix(trenner + 1);
    }
    // The core's text of the name must give this name back.
    std::string kern = cp1252MitReferenzen(datei);
    if (!SchlichterPfad(kern) || utf8MitReferenzen(kern) != datei) return BildAdressArt::Ungueltig;
    if (pfad) *pfad = {Prozentkodiert(wert), std::move(kern)};
    return BildAdressArt::Relativ;
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
        LadeSitzung* sitzung = rueckmeldung_.sitzung;
        if (!sitzung) {
            if (!eigeneSitzung_) {
                Abbruchfrage frage;
                if (rueckmeldung_.abbrechen) frage = [this] { return Gestoppt(); };
                eigeneSitzung_.emplace(rueckmeldung_.zwischenschritt, LadeGrenzen{},
                                       std::move(frage));
            }
            sitzung = &*eigeneSitzung_;
        }
        sitzung->Laden(url, hoechstGroesse, ziel);
        vollstaendig = sitzung->LetzteVollstaendig();
        // A stop the session saw with its own question.
        if (!vollstaendig) Gestoppt();
    }

    void Fehlschlag(std::string name, std::string grund) {
        ergebnis_.fehlgeschlagen.push_back({std::move(name), std::move(grund)});
    }

    // Writes a file of Alt; a slow disk must not hold the windows, which are
    // served between its pieces. False when a stop came meanwhile: the file
    // is not written then.
    bool AltSchreiben(const std::string& pfad, std::string_view text) {
        return TextSchreiben(altOrdner_ + pfad, text, [this] {
            if (rueckmeldung_.zwischenschritt) rueckmeldung_.zwischenschritt();
            return !Gestoppt();
        });
    }

    // False when a stop came during the download or the write: the page is
    // not written.
    bool SeiteImportieren(const std::string& name) {
        Status(name);
        // A page that broke off keeps what arrived.
        bool vollstaendig = false;
        Laden(name, LadeGrenzen{}.hoechstGroesse, vollstaendig, seite_);
        if (ergebnis_.abgebrochen) return false;
        std::optional<std::string> grund = StatusFehler(seite_);
        if (seite_.empty()) grund = kKeineAntwort;
        // Every page leaves its file, so that the site can be saved; the
        // message tells what is missing.
        if (grund) {
            AltSchreiben(name, "");
            Fehlschlag(name, std::move(*grund));
            return true;
        }
        if (IstAnbieterFunktion(seite_)) return AltSchreiben(name, RahmenErsatz(name));
        const std::string_view inhalt = InhaltsBereich(seite_);
        if (!AltSchreiben(name, inhalt)) return false;
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

    void BildImportieren(std::string_view adresse) {
        BildPfad pfad;
        switch (BildAdresseEinordnen(adresse, &pfad)) {
            case BildAdressArt::Fremd:
                return;
            case BildAdressArt::Ungueltig:
                return Fehlschlag(std::string(adresse), W("nicht unterstützte Adresse"));
            case BildAdressArt::Relativ:
                break;
        }
        // Two addresses of one file: it is fetched once.
        if (!dateien_.insert(pfad.datei).second) return;
        const std::string& datei = pfad.datei;
        // A folder of that name would stand where the page's file goes.
        const std::size_t schraeg = datei.find('/');
        if (schraeg != std::string::npos && seitenNamen_.count(datei.substr(0, schraeg)))
            return Fehlschlag(datei, W("nicht unterstützte Adresse"));
        if (geladeneBilder_ == kHoechstensBilder)
            return Fehlschlag(datei, "mehr als " + std::to_string(kHoechstensBilder) + " Bilder");
        if (Gestoppt()) return;

        ++geladeneBilder_;
        Status(datei);
        // One byte more than allowed tells a picture of exactly the bound
        // from a bigger one, which is not stored cut off.
        bool vollstaendig = false;
        Laden(pfad.anfrage, kBildHoechstGroesse + 1, vollstaendig, bild_);
        if (ergebnis_.abgebrochen) return;
        if (bild_.empty()) return Fehlschlag(datei, kKeineAntwort);
        if (auto grund = StatusFehler(bild_)) return Fehlschlag(datei, std::move(*grund));
        if (bild_.size() > kBildHoechstGroesse) return Fehlschlag(datei, W("größer als 32 MB"));
        // Unlike a page's text, a picture cut short is broken as a whole.
        if (!vollstaendig) return Fehlschlag(datei, W("unvollständig übertragen"));
        // The names come from the server; a clash of a file and a folder of
        // the same name is that picture's failure, not the import's.
        try {
            OrdnerAufDemWegErzeugen(altOrdner_, datei);
            if (!AltSchreiben(datei, bild_)) return;
        } catch (const Fehler& fehler) {
            return Fehlschlag(datei, fehler.what());
        }
        daten_.ImportBilder.push_back(datei);
    }

    Projektdaten& daten_;
    const std::string& benutzer_;
    const ImportRueckmeldung& rueckmeldung_;
    const std::string altOrdner_;
    std::optional<LadeSitzung> eigeneSitzung_;
    ImportErgebnis ergebnis_;
    std::unordered_set<std::string> seitenNamen_;
    std::unordered_set<std::string> gesehen_;  // addresses as written
    std::unordered_set<std::string> dateien_;  // the files they name
    // Their room serves page after page and picture after picture.
    std::string seite_;
    std::string bild_;
    std::vector<std::string_view> adressen_;  // into seite_
    std::size_t geladeneBilder_ = 0;
};

}  // namespace

ImportErgebnis SeitenImportieren(Projektdaten& daten, const std::string& startseite,
                                 const std::string& benutzer,
                                 const ImportRueckmeldung& rueckmeldung) {
    return ImportLauf(daten, benutzer, rueckmeldung).Ausfuehren(startseite);
}

}  // namespace lw
