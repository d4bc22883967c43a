#include "output/DateiErzeugung.h"

#include <array>
#include <iterator>
#include <string_view>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"

namespace lw {
namespace {

// The line closing the scroll block, the empty line and the start of
// "  </body>"; the generated page carries it only with the fixed menu.
constexpr std::string_view kEndmarke = "    </div>\r\n\r\n  </body>";
// The line that closes the contents block when the menu is not fixed.
constexpr std::string_view kInhaltEnde = "\r\n      </div>\r\n";
constexpr std::string_view kUeberschrift = "        <h1>Lorem ipsum</h1>";
constexpr std::string_view kGeneratorAnfang = "<meta name=\"generator\" content=\"";
constexpr std::string_view kGeneratorLeistenwerk =
    "<meta name=\"generator\" content=\"Leistenwerk\" />";

struct Umlaut {
    std::string_view utf8;
    std::string_view entitaet;
};
// The provider's pages carry UTF-8; the generated page declares ISO-8859-1.
constexpr Umlaut kUmlaute[] = {
    {"\xC3\xA4", "&auml;"}, {"\xC3\xB6", "&ouml;"}, {"\xC3\xBC", "&uuml;"}, {"\xC3\x9F", "&szlig;"},
    {"\xC3\x84", "&Auml;"}, {"\xC3\x96", "&Ouml;"}, {"\xC3\x9C", "&Uuml;"}};

// For each second byte: 1 + its place in kUmlaute, 0 for none.
constexpr std::array<unsigned char, 256> kUmlautNach = [] {
    std::array<unsigned char, 256> t{};
    for (std::size_t i = 0; i < std::size(kUmlaute); ++i)
        t[static_cast<unsigned char>(kUmlaute[i].utf8[1])] = static_cast<unsigned char>(i + 1);
    return t;
}();

// Appends t with its UTF-8 umlauts as entities. Byte-exact: case-insensitive
// matching would take Ì (C3 8C) for Ü and sequences beginning with E3 for C3
// and break other letters. One pass for the whole table: every letter is C3
// and a second byte that is never C3, so no two matches overlap and the
// result is that of replacing one letter after the other. Appending the parts
// of a text one after the other gives the result for the whole text: a C3 that
// ends aus is still raw (entities end in ';') and pairs with t's first byte.
void UmlauteAnhaengen(std::string& aus, std::string_view t) {
    if (!t.empty() && !aus.empty() && aus.back() == '\xC3') {
        if (const unsigned umlaut = kUmlautNach[static_cast<unsigned char>(t[0])]) {
            aus.pop_back();
            aus.append(kUmlaute[umlaut - 1].entitaet);
            t.remove_prefix(1);
        }
    }
    aus.reserve(aus.size() + t.size());
    std::size_t von = 0;
    for (auto p = t.find('\xC3'); p != std::string_view::npos && p + 1 < t.size();
         p = t.find('\xC3', p + 1)) {
        const unsigned umlaut = kUmlautNach[static_cast<unsigned char>(t[p + 1])];
        if (umlaut == 0) continue;
        aus.append(t.data() + von, p - von);
        aus.append(kUmlaute[umlaut - 1].entitaet);
        von = p + 2;
    }
    aus.append(t.substr(von));
}

// Removes the placeholder paragraphs so the imported contents take their place.
void PlatzhalterEntfernen(std::string& seite) {
    const auto p = static_cast<long long>(Position("<p>", seite));
    if (const auto e = static_cast<long long>(Position(kEndmarke, seite)); e > 0) {
        Entfernen(seite, p, e - p);
        return;
    }
    // Without the fixed menu there is no Endmarke: cut up to the line that
    // closes the contents block, so that block is still closed afterwards.
    if (p == 0) return;
    const auto ende = seite.find(kInhaltEnde, static_cast<std::size_t>(p - 1));
    if (ende == std::string::npos) return;
    const auto divAnfang = static_cast<long long>(ende + 2);  // 0-based, behind the CR LF
    Entfernen(seite, p, divAnfang - (p - 1));
}

void BildKopieren(const std::string& bild, const std::string& imgOrdner) {
    if (bild.empty()) return;
    const std::string inhalt = DateiLesenGanz(bild);
    DateiErstellen(imgOrdner + DateiName(bild), inhalt);
}

// Only the generator tag names the page, and only the first, that of the
// generated head: nothing the user types stands before it, and the same word
// in the contents or the link texts is the user's own.
bool NameEinsetzen(std::string& seite, const std::string& seitenname) {
    const auto p = seite.find(kGeneratorLeistenwerk);
    if (p == std::string::npos) return false;
    seite.replace(p, kGeneratorLeistenwerk.size(),
                  std::string(kGeneratorAnfang) + "_" + NameOhneEndung(seitenname) + "\" />");
    return true;
}

// The merged page into seite, whose room is kept from page to page: fresh
// memory for every page of a megabyte costs more than the merge itself.
void Zusammenfuehren(std::string_view seitentext, std::string_view inhalt,
                     const std::string& seitenname, std::string& seite) {
    seite.clear();
    // The navigation carries the link texts as typed, markup and all, so a
    // typed "<p>" or heading stands before the placeholders. Only the last
    // placeholder heading and what follows it are the generated contents.
    const auto inhaltsblock = seitentext.rfind(kUeberschrift);
    if (inhaltsblock == std::string_view::npos) {
        // Not a page of this generator: the steps as written, over the whole text.
        std::string ganz(seitentext);
        PlatzhalterEntfernen(ganz);
        Ersetzen(ganz, kUeberschrift, inhalt);
        UmlauteAnhaengen(seite, ganz);
        NameEinsetzen(seite, seitenname);
        return;
    }
    // Put together from its parts, so that the contents are copied only once;
    // the name goes in after the entities of the head, as over the whole text.
    UmlauteAnhaengen(seite, seitentext.substr(0, inhaltsblock));
    const bool benannt = NameEinsetzen(seite, seitenname);
    std::string block(seitentext.substr(inhaltsblock));
    PlatzhalterEntfernen(block);
    UmlauteAnhaengen(seite, inhalt);
    UmlauteAnhaengen(seite, std::string_view(block).substr(kUeberschrift.size()));
    if (!benannt) NameEinsetzen(seite, seitenname);
}

// DateiLesen(dateiname, 0, 0) into a buffer whose room is kept from page to page.
void InhaltLesen(const std::string& dateiname, std::string& inhalt) {
    inhalt.clear();
    if (DateiExistiert(dateiname)) DateiLesenGanz(dateiname, inhalt);
}

}  // namespace

std::string SeiteZusammenfuehren(std::string seitentext, const std::string& inhalt,
                                 const std::string& seitenname) {
    std::string seite;
    Zusammenfuehren(seitentext, inhalt, seitenname, seite);
    return seite;
}

std::string DateiLesen(const std::string& dateiname, long long anfang, long long ende) {
    if (!DateiExistiert(dateiname)) return {};
    if (anfang < 0) anfang = 0;
    // Only small contents files are read; reading whole keeps one error road.
    const std::string inhalt = DateiLesenGanz(dateiname);
    const auto groesse = static_cast<long long>(inhalt.size());
    if (anfang >= ende || ende > groesse) ende = groesse;
    if (anfang >= groesse) return {};
    return inhalt.substr(static_cast<std::size_t>(anfang), static_cast<std::size_t>(ende - anfang));
}

void DateienErzeugen(const Projektdaten& daten, const ErzeugterCode& code, bool menueFixiert) {
    // An empty folder would put the site at the top of the file system.
    if (daten.Zielordner.empty()) EAFehlerWerfen(kPfadNichtGefunden);
    const int n = daten.SeitenInGebrauch();
    // Checked before anything is created: a refused name leaves no trace.
    for (int i = 1; i <= n; ++i)
        if (!SchlichterDateiname(daten.ImportSeiten[i]))
            SeitennameUngueltigWerfen(daten.ImportSeiten[i]);

    const std::string neu = daten.Zielordner + "/Neu/";
    const std::string alt = daten.Zielordner + "/Alt/";
    OrdnerErzeugen(daten.Zielordner + "/Neu");

    const bool importiert = daten.Modus == kModusNZAlt;
    std::string inhalt;  // both kept from page to page, see Zusammenfuehren
    std::string seite;
    for (int i = 1; i <= n; ++i) {
        const std::string& name = daten.ImportSeiten[i];
        if (importiert) {
            InhaltLesen(alt + name, inhalt);
            Zusammenfuehren(code.seite, inhalt, name, seite);
            const std::string seitendatei = neu + "_" + name;
            // A missing contents file ends the save with the open error of a
            // copy of it; the page bytes are written only once.
            if (!DateiExistiert(alt + name)) DateiKopieren(alt + name, seitendatei);
            DateiErstellen(seitendatei, seite);
            continue;
        }
        const std::string seitendatei = neu + name;
        DateiErstellen(seitendatei, {});
        TextSchreiben(seitendatei, code.seite);
    }

    OrdnerErzeugen(neu + "css");
    TextSchreiben(neu + "css/formate.css", code.css);
    if (menueFixiert) TextSchreiben(neu + "css/IE.css", code.ieCss);

    OrdnerErzeugen(neu + "img");
    const std::string img = neu + "img/";
    BildKopieren(daten.BannerDatei, img);
    BildKopieren(daten.HintergrundBild, img);
    for (int i = 1; i <= n; ++i) BildKopieren(daten.ButtonGrafik[i], img);
}

std::string SpeicherMeldung(const Projektdaten& daten) {
    return "Die erforderlichen Dateien wurden unter " + daten.Zielordner +
           "/Neu gespeichert.\nDas Programm wird jetzt beendet.";
}

}  // namespace lw
