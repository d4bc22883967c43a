#include "bench/Texte.h"

#include <cstdio>
#include <iterator>

#include "common/Dateien.h"

namespace lw::bench {
namespace {

const char* const kSaetze[] = {
    "Herzlich willkommen auf unserer Homepage, sch\xC3\xB6n dass Sie vorbeischauen.",
    "Im Sommer haben wir den Garten neu angelegt und viele Blumen gepflanzt.",
    "Die Fotos vom letzten Ausflug an den See finden Sie weiter unten.",
    "F\xC3\xBC"
    "r Fragen und Anregungen sind wir jederzeit dankbar.",
    "Unser Verein trifft sich jeden Donnerstag um 19 Uhr im Gemeindehaus.",
    "Gr\xC3\xBC\xC3\x9F"
    "e an alle Besucher aus \xC3\x96sterreich und der Schweiz!",
    "Die \xC3\x84nderungen der letzten Woche betreffen vor allem die Bildergalerie.",
    "\xC3\x9C"
    "ber uns: eine kleine Familie mit Hund, Katze und zwei Kaninchen.",
    "Bitte tragen Sie sich auch in unser G\xC3\xA4stebuch ein.",
    "Die n\xE4"
    "chsten Termine stehen im Kalender auf der rechten Seite.",
};

const char* const kAnfaenge[] = {"<p>", "<p><b>", "<li>", "<h2>"};
const char* const kEnden[] = {"</p>\r\n", "</b></p>\r\n", "</li>\r\n", "</h2>\r\n"};

}  // namespace

void InhaltAnhaengen(std::string& text, std::size_t bytes, unsigned saat) {
    const std::size_t ende = text.size() + bytes;
    unsigned zufall = saat * 2654435761u + 12345u;
    auto naechste = [&zufall](std::size_t n) {
        zufall = zufall * 1103515245u + 12345u;
        return static_cast<std::size_t>((zufall >> 8) % n);
    };
    while (text.size() < ende) {
        const std::size_t art = naechste(std::size(kAnfaenge));
        text += kAnfaenge[art];
        const std::size_t saetze = 1 + naechste(4);
        for (std::size_t i = 0; i < saetze; ++i) {
            if (i) text += ' ';
            text += kSaetze[naechste(std::size(kSaetze))];
        }
        if (naechste(5) == 0) text += " <a href=\"bilder.html\">Mehr dazu</a>";
        text += kEnden[art];
    }
    text.resize(ende);
}

std::string Inhalt(std::size_t bytes, unsigned saat) {
    std::string text;
    text.reserve(bytes + 256);
    InhaltAnhaengen(text, bytes, saat);
    return text;
}

ImportierteSite ImportierteSiteAnlegen(const std::string& ordner, int seiten, std::size_t bytes) {
    ImportierteSite site;
    site.daten.Modus = kModusNZAlt;
    site.daten.Zielordner = ordner;
    site.daten.ImportAnzahl = seiten;
    CodeEingaben eingaben;
    eingaben.menueFixiert = true;
    OrdnerErzeugen(ordner + "/Alt");
    for (int i = 1; i <= seiten; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "seite%03d.html", i);
        site.daten.ImportSeiten.Setzen(i, name);
        eingaben.links.push_back({name, "Seite " + std::to_string(i), "Zur Seite"});
        TextSchreiben(ordner + "/Alt/" + name, Inhalt(bytes, static_cast<unsigned>(i)));
    }
    site.code = CodeErzeugen(site.daten, eingaben);
    return site;
}

}  // namespace lw::bench
