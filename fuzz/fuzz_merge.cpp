// The code generation and the site writer's merge of an imported page into
// the generated page text. The input's first line chooses the page: its first
// byte the options, then the links separated by '|', each "text\ttooltip\tname".
// The second line holds the banner's alt and title text, separated by '\t'.
// Everything after it is the imported contents. Whatever the fields and the
// contents hold, the merged page keeps the generated head and end, the
// contents arrive whole, no placeholder paragraph survives, the contents block
// is closed, and the page is well-formed wherever the typed link texts (the
// only fields written as typed) carry no markup.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/Code.h"
#include "common/Text.h"
#include "model/Projektdaten.h"
#include "output/DateiErzeugung.h"

namespace {

constexpr std::string_view kUeberschrift = "        <h1>Lorem ipsum</h1>";
constexpr std::string_view kGenerator = "<meta name=\"generator\" content=\"Leistenwerk\" />";
constexpr std::string_view kSeitenEnde = "\r\n  </body>\r\n</html>\r\n";
constexpr std::string_view kPlatzhalter[] = {"<p>Lorem ipsum dolor sit amet",
                                             "<p>Aliquam laoreet elementum risus"};
constexpr std::size_t kHoechstLinks = 60;

void Pruefen(bool bedingung) {
    if (!bedingung) __builtin_trap();
}

bool EndetMit(std::string_view t, std::string_view ende) {
    return t.size() >= ende.size() && t.substr(t.size() - ende.size()) == ende;
}

std::size_t Anzahl(std::string_view text, std::string_view teil) {
    std::size_t n = 0;
    for (auto p = text.find(teil); p != std::string_view::npos; p = text.find(teil, p + 1)) ++n;
    return n;
}

// A text as a one-line edit field can hold it. A byte that could begin a
// UTF-8 sequence is left out where one follows, because the merge rewrites
// UTF-8 over the whole page, the typed texts included, and the head would
// then differ by design; Windows-1252 letters before ASCII stay.
std::string AlsFeldText(std::string_view roh) {
    std::string text;
    for (std::size_t i = 0; i < roh.size(); ++i) {
        const auto b = static_cast<unsigned char>(roh[i]);
        const bool utf8Anfang = b >= 0xC2 && b <= 0xF4 && i + 1 < roh.size() &&
                                (static_cast<unsigned char>(roh[i + 1]) & 0xC0) == 0x80;
        text += (b < 0x20 || b == 0x7F || utf8Anfang) ? '?' : roh[i];
    }
    return text;
}

std::vector<std::string_view> Teilen(std::string_view text, char trenner) {
    std::vector<std::string_view> teile;
    for (;;) {
        const std::size_t p = text.find(trenner);
        teile.push_back(text.substr(0, p));
        if (p == std::string_view::npos) return teile;
        text.remove_prefix(p + 1);
    }
}

std::string_view Feld(const std::vector<std::string_view>& felder, std::size_t i) {
    return i < felder.size() ? felder[i] : std::string_view();
}

bool IstNamenZeichen(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ':' || c == '_' || c == '.';
}

// An '&' at p begins "&name;" or "&#digits;" or "&#xhex;".
bool IstReferenz(std::string_view t, std::size_t p) {
    std::size_t i = p + 1;
    if (i < t.size() && t[i] == '#') {
        ++i;
        const bool hex = i < t.size() && t[i] == 'x';
        if (hex) ++i;
        const std::size_t anfang = i;
        while (i < t.size() && (hex ? std::isxdigit(static_cast<unsigned char>(t[i]))
                                    : std::isdigit(static_cast<unsigned char>(t[i]))))
            ++i;
        return i > anfang && i < t.size() && t[i] == ';';
    }
    const std::size_t anfang = i;
    while (i < t.size() && IstNamenZeichen(t[i])) ++i;
    return i > anfang && i < t.size() && t[i] == ';';
}

// Checks the markup of a page as XML: every '<' opens a comment, the document
// type or a tag with double-quoted attribute values free of '<', every '&'
// begins a reference, end tags close the innermost open element. Gives the
// elements still open at the end.
std::vector<std::string> OffeneElemente(std::string_view t) {
    std::vector<std::string> offen;
    std::size_t i = 0;
    while (i < t.size()) {
        if (t[i] == '&') {
            Pruefen(IstReferenz(t, i));
            ++i;
            continue;
        }
        if (t[i] != '<') {
            ++i;
            continue;
        }
        if (t.substr(i, 4) == "<!--") {
            const std::size_t ende = t.find("-->", i + 4);
            Pruefen(ende != std::string_view::npos);
            i = ende + 3;
            continue;
        }
        if (t.substr(i, 9) == "<!DOCTYPE") {
            const std::size_t ende = t.find('>', i);
            Pruefen(ende != std::string_view::npos);
            i = ende + 1;
            continue;
        }
        const bool schliessend = i + 1 < t.size() && t[i + 1] == '/';
        std::size_t j = i + (schliessend ? 2 : 1);
        const std::size_t nameAnfang = j;
        while (j < t.size() && IstNamenZeichen(t[j])) ++j;
        Pruefen(j > nameAnfang);
        const std::string name(t.substr(nameAnfang, j - nameAnfang));
        for (;;) {
            while (j < t.size() && (t[j] == ' ' || t[j] == '\r' || t[j] == '\n')) ++j;
            Pruefen(j < t.size());
            if (t[j] == '>' || t.substr(j, 2) == "/>") break;
            Pruefen(!schliessend);
            const std::size_t attributAnfang = j;
            while (j < t.size() && IstNamenZeichen(t[j])) ++j;
            Pruefen(j > attributAnfang && t.substr(j, 2) == "=\"");
            j += 2;
            const std::size_t wertEnde = t.find('"', j);
            Pruefen(wertEnde != std::string_view::npos);
            for (std::size_t k = j; k < wertEnde; ++k) {
                Pruefen(t[k] != '<');
                if (t[k] == '&') Pruefen(IstReferenz(t, k));
            }
            j = wertEnde + 1;
        }
        if (schliessend) {
            Pruefen(t[j] == '>' && !offen.empty() && offen.back() == name);
            offen.pop_back();
        } else if (t[j] == '>') {
            offen.push_back(name);
        }
        i = t.find('>', j) + 1;
    }
    return offen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string_view eingabe(reinterpret_cast<const char*>(daten), groesse);
    const std::vector<std::string_view> zeilen = Teilen(eingabe, '\n');
    const std::string_view kopf = zeilen[0];
    const std::vector<std::string_view> banner = Teilen(Feld(zeilen, 1), '\t');
    const std::string inhalt(zeilen.size() > 2
                                 ? eingabe.substr(zeilen[0].size() + zeilen[1].size() + 2)
                                 : std::string_view());
    const unsigned optionen = kopf.empty() ? 0 : static_cast<unsigned char>(kopf[0]);

    lw::Projektdaten projekt;
    projekt.Modus = (optionen & 4) ? lw::kModusHPNeu : lw::kModusNZAlt;
    lw::CodeEingaben eingaben;
    eingaben.menueFixiert = optionen & 1;
    if (optionen & 2) {
        projekt.BannerDatei = "/bilder/kopf.jpg";
        projekt.BannerBreite = 400;
        projekt.BannerHoehe = 80;
    }
    eingaben.bannerAlt = AlsFeldText(Feld(banner, 0));
    eingaben.bannerTooltipp = AlsFeldText(Feld(banner, 1));

    const std::vector<std::string_view> links = Teilen(kopf.empty() ? kopf : kopf.substr(1), '|');
    if (links.size() > kHoechstLinks) return 0;
    bool ohneMarkup = true;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const std::vector<std::string_view> felder = Teilen(links[i], '\t');
        std::string seite = AlsFeldText(Feld(felder, 2));
        // The merged page's own name is one the site writer accepts.
        if (i == 0 && !lw::SchlichterDateiname(seite)) seite.clear();
        if (seite.empty()) seite = "seite" + std::to_string(i + 1) + ".html";
        projekt.ImportSeiten.Setzen(static_cast<int>(i) + 1, seite);
        const std::string text = AlsFeldText(Feld(felder, 0));
        ohneMarkup = ohneMarkup && text.find_first_of("<&") == std::string::npos;
        eingaben.links.push_back({seite, text, AlsFeldText(Feld(felder, 1))});
    }
    projekt.ImportAnzahl = projekt.Seitenzahl = static_cast<int>(links.size());
    const std::string name = projekt.ImportSeiten[1];

    const std::string seitentext = lw::CodeErzeugen(projekt, eingaben).seite;
    const std::size_t ueberschrift = seitentext.rfind(kUeberschrift);
    const std::size_t generator = seitentext.find(kGenerator);
    Pruefen(ueberschrift != std::string::npos && generator < ueberschrift);
    // Whatever is typed, the generated page is well-formed where the link
    // texts carry no markup: every other field is an escaped attribute value.
    if (ohneMarkup) Pruefen(OffeneElemente(seitentext).empty());

    // The head up to the placeholder heading (the last one: a link text may
    // hold the same words), with the page named in the generator tag, stands
    // unchanged before the contents.
    std::string erwarteterKopf = seitentext.substr(0, ueberschrift);
    erwarteterKopf.replace(generator, kGenerator.size(),
                           "<meta name=\"generator\" content=\"_" +
                               lw::AttributWert(lw::NameOhneEndung(name)) + "\" />");

    const std::string ergebnis = lw::SeiteZusammenfuehren(seitentext, inhalt, name);
    Pruefen(ergebnis.compare(0, erwarteterKopf.size(), erwarteterKopf) == 0);
    Pruefen(EndetMit(ergebnis, kSeitenEnde));
    Pruefen(ergebnis.size() >= erwarteterKopf.size() + kSeitenEnde.size());

    // Contents of plain ASCII are not rewritten; then the contents' place is
    // known, and the page around them can be checked on its own.
    if (inhalt.end() != std::find_if(inhalt.begin(), inhalt.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return 0;
    Pruefen(ergebnis.compare(erwarteterKopf.size(), inhalt.size(), inhalt) == 0);
    const std::string_view rest =
        std::string_view(ergebnis).substr(erwarteterKopf.size() + inhalt.size());
    for (const std::string_view platzhalter : kPlatzhalter) Pruefen(Anzahl(rest, platzhalter) == 0);
    // The contents block is closed right behind the contents.
    const std::size_t schluss = rest.find_first_not_of(" \r\n");
    Pruefen(schluss != std::string_view::npos && rest.substr(schluss, 6) == "</div>");
    if (!ohneMarkup) return 0;
    // Around the contents the page keeps its structure: before "</body>"
    // only html and body are open, the scroll block of the fixed menu is
    // closed as well, and the page ends with everything closed.
    const std::string ohneInhalt = erwarteterKopf + std::string(rest);
    Pruefen(OffeneElemente(std::string_view(ohneInhalt).substr(0, ohneInhalt.rfind("</body>")))
                .size() == 2);
    Pruefen(OffeneElemente(ohneInhalt).empty());
    return 0;
}
