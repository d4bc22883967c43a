#include "output/DateiErzeugung.h"

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

// Byte-exact replacement. Case-insensitive matching would take Ì (C3 8C) for
// Ü and sequences beginning with E3 for C3 and break other letters.
void ExaktErsetzen(std::string& t, std::string_view x, std::string_view y) {
    std::string ergebnis;
    std::size_t von = 0;
    for (auto treffer = t.find(x); treffer != std::string::npos; treffer = t.find(x, von)) {
        ergebnis.append(t, von, treffer - von);
        ergebnis.append(y);
        von = treffer + x.size();
    }
    if (von == 0) return;
    ergebnis.append(t, von, std::string::npos);
    t = std::move(ergebnis);
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

}  // namespace

std::string SeiteZusammenfuehren(std::string seitentext, const std::string& inhalt,
                                 const std::string& seitenname) {
    // The navigation carries the link texts as typed, markup and all, so a
    // typed "<p>" or heading stands before the placeholders. Only the last
    // placeholder heading and what follows it are the generated contents.
    const auto inhaltsblock = seitentext.rfind(kUeberschrift);
    if (inhaltsblock != std::string::npos) {
        std::string block = seitentext.substr(inhaltsblock);
        PlatzhalterEntfernen(block);
        Ersetzen(block, kUeberschrift, inhalt);
        seitentext.replace(inhaltsblock, std::string::npos, block);
    } else {
        PlatzhalterEntfernen(seitentext);
        Ersetzen(seitentext, kUeberschrift, inhalt);
    }
    for (const auto& u : kUmlaute) ExaktErsetzen(seitentext, u.utf8, u.entitaet);
    // Only the generator tag names the page; the first one is the generated
    // head (nothing the user types stands before it). The same word in the
    // contents or the link texts is the user's own.
    if (const auto p = seitentext.find(kGeneratorLeistenwerk); p != std::string::npos) {
        seitentext.replace(
            p, kGeneratorLeistenwerk.size(),
            std::string(kGeneratorAnfang) + "_" + NameOhneEndung(seitenname) + "\" />");
    }
    return seitentext;
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
        if (!SchlichterDateiname(daten.ImportSeiten[i])) EAFehlerWerfen(kUngueltigerName);

    const std::string neu = daten.Zielordner + "/Neu/";
    const std::string alt = daten.Zielordner + "/Alt/";
    OrdnerErzeugen(daten.Zielordner + "/Neu");

    const bool importiert = daten.Modus == kModusNZAlt;
    for (int i = 1; i <= n; ++i) {
        const std::string& name = daten.ImportSeiten[i];
        std::string seitentext = code.seite;
        std::string seitendatei;
        if (importiert) {
            seitentext = SeiteZusammenfuehren(seitentext, DateiLesen(alt + name, 0, 0), name);
            seitendatei = neu + "_" + name;
            // Also the check that the contents file is there.
            DateiKopieren(alt + name, seitendatei);
        } else {
            seitendatei = neu + name;
            DateiErstellen(seitendatei, {});
        }
        TextSchreiben(seitendatei, seitentext);
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
