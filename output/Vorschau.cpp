#include "output/Vorschau.h"

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"

namespace lw {
namespace {

// Firefox takes blanks in file URLs as they are; other browsers need "%20".
bool IstFirefox(const std::string& browser) {
    return Grossbuchstaben(browser).find("FIREFOX") != std::string::npos;
}

// The chosen picture's path as the rest of a "file://" address. Firefox takes
// blanks as they are, other browsers need "%20"; the bytes that would end an
// attribute or a CSS url(...) are encoded for every browser, as in the site.
std::string DateiAdresse(const std::string& bild, bool firefox) {
    std::string adresse;
    adresse.reserve(bild.size());
    for (const char c : bild)
        adresse += c == ' ' && firefox ? std::string(1, c) : BildAdresse(std::string_view(&c, 1));
    return adresse;
}

// Points every reference praefix + file name at the chosen picture itself,
// which is only copied into the site when saving. The page and the stylesheet
// carry the name as an address (BildAdresse), the page with the attribute
// escaping on top.
void BildUmschreiben(const std::string& bild, std::string_view praefix, std::string& text,
                     const std::string& browser, bool imAttribut) {
    if (!DateiExistiert(bild)) EAFehlerWerfen(kDateiNichtGefunden);
    std::string name = BildAdresse(DateiName(bild));
    std::string ziel = "file://" + DateiAdresse(bild, IstFirefox(browser));
    if (imAttribut) {
        name = AttributWert(name);
        ziel = AttributWert(ziel);
    }
    Ersetzen(text, std::string(praefix) + name, ziel);
}

std::vector<std::string> Aufteilen(std::string_view text, char trenner) {
    std::vector<std::string> teile;
    std::size_t von = 0;
    for (;;) {
        const auto bis = text.find(trenner, von);
        const auto teil = text.substr(von, bis == std::string_view::npos ? bis : bis - von);
        if (!teil.empty()) teile.emplace_back(teil);
        if (bis == std::string_view::npos) return teile;
        von = bis + 1;
    }
}

std::string_view OhneRand(std::string_view s) {
    const auto a = s.find_first_not_of(" \t\r");
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::string Umgebung(const char* name) {
    const char* wert = std::getenv(name);
    return wert ? wert : "";
}

// The value of "x-scheme-handler/http" under [Default Applications], first
// entry of its list; empty when the file or the entry is missing.
std::string HttpHandlerAus(const std::string& datei) {
    std::ifstream f(datei);
    std::string zeile;
    bool imAbschnitt = false;
    while (std::getline(f, zeile)) {
        const auto z = OhneRand(zeile);
        if (z.starts_with('[')) {
            imAbschnitt = z == "[Default Applications]";
            continue;
        }
        const auto gleich = z.find('=');
        if (!imAbschnitt || gleich == std::string_view::npos) continue;
        if (OhneRand(z.substr(0, gleich)) != "x-scheme-handler/http") continue;
        const auto liste = Aufteilen(OhneRand(z.substr(gleich + 1)), ';');
        if (!liste.empty()) return liste.front();
    }
    return {};
}

// Absolute folders of a colon-separated XDG variable, or the fallback.
std::vector<std::string> Ordnerliste(const char* variable, std::string_view ersatz) {
    std::vector<std::string> ordner;
    for (auto& o : Aufteilen(Umgebung(variable), ':'))
        if (o.starts_with('/')) ordner.push_back(std::move(o));
    if (ordner.empty() && !ersatz.empty()) ordner = Aufteilen(ersatz, ':');
    return ordner;
}

}  // namespace

std::string VorschauSchreiben(const Projektdaten& daten, const ErzeugterCode& code,
                              bool menueFixiert, bool eineGrafikFuerAlle,
                              const std::string& browser, int seite, const VorOrt* vorOrt) {
    // Without a folder the files would land at the top of the file system.
    if (daten.Zielordner.empty()) EAFehlerWerfen(kPfadNichtGefunden);
    BildnamenPruefen(daten);

    std::string seitentext = SeiteAusCode(daten, code, seite);
    if (code.eingaben && !EditorInhalt(daten, seite)) {
        const std::string block = InhaltsblockLesen(daten, vorOrt, seite);
        if (!block.empty())
            seitentext = EigeneSeite(SeiteAusCode(daten, code, seite, false), daten.Modus,
                                     daten.ImportSeiten[seite],
                                     std::string_view(block).substr(0, block.size() - 2));
    }
    if (!daten.BannerDatei.empty())
        BildUmschreiben(daten.BannerDatei, "img/", seitentext, browser, true);
    for (const std::string& bild : daten.InhaltBilder)
        if (!bild.empty()) BildUmschreiben(bild, "img/", seitentext, browser, true);
    Ersetzen(seitentext, "css/formate.css", "Test.css");
    if (menueFixiert) Ersetzen(seitentext, "css/ie.css", "TestIE.css");
    TextSchreiben(daten.Zielordner + "/Test.html", seitentext);

    std::string css = code.css;
    if (!daten.HintergrundBild.empty())
        BildUmschreiben(daten.HintergrundBild, "../img/", css, browser, false);
    // The pages in use, not Seitenzahl: an imported site keeps that at 0.
    for (int i = 1; i <= daten.SeitenInGebrauch(); ++i) {
        const std::string& grafik = daten.ButtonGrafik[i];
        if (grafik.empty()) continue;
        if (i == 1 || (!eineGrafikFuerAlle && grafik != daten.ButtonGrafik[i - 1]))
            BildUmschreiben(grafik, "../img/", css, browser, false);
    }
    Ersetzen(css, "\\", "/");
    TextSchreiben(daten.Zielordner + "/Test.css", css);
    TextSchreiben(daten.Zielordner + "/TestIE.css", code.ieCss);
    return daten.Zielordner + "/Test.html";
}

// The desktop records its default browser as the handler of http addresses in
// the mimeapps.list files of the XDG configuration and data folders; this is
// what "xdg-settings get default-web-browser" reports as well. Reading the
// files directly answers the same without starting a program that could keep
// the window waiting. The order is the lookup order of those files: user
// configuration, system configuration, then the application folders, each
// with the desktop's own file before the common one.
std::string StandardBrowser() {
    const std::string home = Umgebung("HOME");
    std::vector<std::string> ordner;
    auto hinzu = [&](const std::vector<std::string>& liste, std::string_view unterordner) {
        for (const auto& o : liste) ordner.push_back(o + std::string(unterordner));
    };
    hinzu(Ordnerliste("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config"), "");
    hinzu(Ordnerliste("XDG_CONFIG_DIRS", "/etc/xdg"), "");
    hinzu(Ordnerliste("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share"),
          "/applications");
    hinzu(Ordnerliste("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), "/applications");

    std::vector<std::string> dateinamen;
    for (auto desktop : Aufteilen(Umgebung("XDG_CURRENT_DESKTOP"), ':')) {
        for (char& c : desktop)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        dateinamen.push_back(desktop + "-mimeapps.list");
    }
    dateinamen.push_back("mimeapps.list");

    for (const auto& o : ordner)
        for (const auto& d : dateinamen)
            if (auto name = HttpHandlerAus(o + "/" + d); !name.empty()) return cp1252AusUtf8(name);
    return {};
}

}  // namespace lw
