#include "output/HomepageEinlesen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "codegen/Schriftstil.h"
#include "common/Dateien.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "pictures/Bild.h"

// The site is read as the generator wrote it: each file line by line in the
// order the generation makes its lines, and at the end everything read is
// generated again and compared byte for byte, so that what the save writes
// back is exactly what was found.
namespace lw {
namespace {

constexpr std::string_view kInhaltAnfang = "      <div id=\"Inhalt\">\r\n";
constexpr std::string_view kGenerator = "    <meta name=\"generator\" content=\"";
constexpr std::string_view kTitel = "    <title>";
constexpr std::string_view kBeschreibung = "    <meta name=\"description\" content=\"";
// A head longer than this is no head of this program's: a title typed into
// its field is far shorter.
constexpr std::size_t kKopfGrenze = std::size_t{1} << 20;

std::string InAnfuehrung(std::string_view text) {
    return W("„") + Lesbar(std::string(text)) + W("“");
}

[[noreturn]] void Unlesbar(const std::string& datei, const std::string& was) {
    throw Hinweis(Lesbar(datei) + ": " + was);
}

[[noreturn]] void NichtGefunden(const std::string& ordner) {
    throw Hinweis(W("Im Ordner „") + Lesbar(ordner) +
                  W("“ wurde keine mit Leistenwerk gespeicherte Homepage gefunden."));
}

// What a path of the site names; a symbolic link is refused, not followed.
Eintragsart Art(const std::string& pfad, const std::string& name) {
    const Eintragsart art = EintragsartLesen(pfad);
    if (art == Eintragsart::verknuepfung)
        Unlesbar(name, W("die Datei ist eine symbolische Verknüpfung, der Leistenwerk nicht "
                         "folgt"));
    return art;
}

// The lines of a generated text, each without its CR LF.
class Zeilen final {
public:
    Zeilen(std::string_view text, std::string datei) : rest_(text), datei_(std::move(datei)) {}

    bool Ende() const { return rest_.empty(); }

    std::string_view Vorschau() const { return rest_.substr(0, rest_.find("\r\n")); }

    std::string_view Lesen(std::string_view erwartet) {
        if (rest_.empty()) Unlesbar(datei_, "die Zeile " + InAnfuehrung(erwartet) + " fehlt");
        const std::string_view zeile = Vorschau();
        rest_.remove_prefix(std::min(rest_.size(), zeile.size() + 2));
        return zeile;
    }

    void Erwarten(std::string_view zeile) {
        if (Vorschau() != zeile || rest_.empty())
            Unlesbar(datei_, "die Zeile " + InAnfuehrung(zeile) + " fehlt");
        Lesen(zeile);
    }

    bool Falls(std::string_view zeile) {
        if (rest_.empty() || Vorschau() != zeile) return false;
        Lesen(zeile);
        return true;
    }

    // The part of the next line between vor and nach.
    std::string_view Wert(std::string_view vor, std::string_view nach, const std::string& was) {
        const std::string_view zeile = rest_.empty() ? std::string_view() : Vorschau();
        if (rest_.empty() || zeile.size() < vor.size() + nach.size() || !zeile.starts_with(vor) ||
            !zeile.ends_with(nach))
            Unlesbar(datei_, was + " ist nicht lesbar");
        Lesen(zeile);
        return zeile.substr(vor.size(), zeile.size() - vor.size() - nach.size());
    }

    const std::string& Datei() const { return datei_; }

private:
    std::string_view rest_;
    std::string datei_;
};

bool Zahl(std::string_view text, long long& zahl) {
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), zahl);
    return fehler == std::errc() && ende == text.data() + text.size() && !text.starts_with('+');
}

int ZahlLesen(std::string_view text, const std::string& datei, const std::string& was) {
    long long zahl = 0;
    if (!Zahl(text, zahl) || zahl < -2147483648LL || zahl > 2147483647LL)
        Unlesbar(datei, was + " ist nicht lesbar");
    return static_cast<int>(zahl);
}

std::string FarbeLesen(std::string_view text, const std::string& datei, const std::string& was) {
    const bool hex = text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) {
                         return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                     });
    if (!hex) Unlesbar(datei, was + " ist nicht lesbar");
    return std::string(text);
}

std::string StilLesen(std::string_view text, const std::string& datei, const std::string& was) {
    const auto& tabelle = Schriftstiltabelle();
    if (std::find(tabelle.begin(), tabelle.end(), text) == tabelle.end())
        Unlesbar(datei, was + " ist nicht lesbar");
    return std::string(text);
}

// The picture a stylesheet or page names, as a chosen picture in img/.
std::string BildLesen(std::string_view adresse, const std::string& img, const std::string& datei,
                      const std::string& was) {
    std::string name = BildAdresseLesen(adresse);
    // A name that holds "%20" itself gives the same address as one with a blank.
    if (EintragsartLesen(img + name) == Eintragsart::fehlt &&
        EintragsartLesen(img + std::string(adresse)) == Eintragsart::datei)
        name = adresse;
    if (!SchlichterDateiname(name)) Unlesbar(datei, was + " ist nicht lesbar");
    return img + name;
}

// What formate.css holds beyond the project data.
struct Stylesheet {
    bool fixiert = false;
    std::string emSeite;                                // button height in em of the page font
    std::string emButton;                               // and of the button font
    std::vector<std::pair<int, std::string>> grafiken;  // group start, picture
};

Stylesheet StylesheetLesen(std::string_view text, const std::string& img, Projektdaten& d) {
    Zeilen z(text, "formate.css");
    Stylesheet css;
    css.fixiert = z.Falls("html>body #fixiert {");
    if (css.fixiert) {
        for (const char* zeile : {"  position: fixed;", "}", "", "html {", "  padding: 0;", "}",
                                  "#fixiert {", "  position: absolute;", "  top: 1em; left: 15px;"})
            z.Erwarten(zeile);
        z.Wert("  width: ", "px;", W("die Breite des fixierten Menüs"));
        z.Erwarten("}");
    }
    z.Erwarten("");
    z.Erwarten("body {");
    d.BodyHintergrundFarbe =
        FarbeLesen(z.Wert("  background-color: #", ";", "die Hintergrundfarbe"), z.Datei(),
                   "die Hintergrundfarbe");
    if (z.Vorschau().starts_with("  background-image:")) {
        d.HintergrundBild =
            BildLesen(z.Wert("  background-image:url(../img/", ");", "das Hintergrundbild"), img,
                      z.Datei(), "das Hintergrundbild");
        d.HintergrundKachel = z.Falls("  background-repeat: repeat;");
        if (!d.HintergrundKachel) {
            z.Erwarten("  background-repeat: no-repeat;");
            z.Erwarten("  background-position: center;");
        }
        d.HintergrundFixiert = z.Falls("  background-attachment: fixed;");
        if (!d.HintergrundFixiert) z.Erwarten("  background-attachment: scroll;");
    }
    d.BodySchriftFarbe =
        FarbeLesen(z.Wert("  color: #", ";", "die Schriftfarbe"), z.Datei(), "die Schriftfarbe");
    d.BodySchriftName = z.Wert("  font-family: \"", "\",sans-serif;", "die Schriftart");
    d.BodySchriftGroesse = ZahlLesen(z.Wert("  font-size: ", "px;", W("die Schriftgröße")),
                                     z.Datei(), W("die Schriftgröße"));
    d.BodySchriftStil = StilLesen(z.Lesen("font-weight"), z.Datei(), "der Schriftstil");
    z.Erwarten("  margin: 0;");
    z.Erwarten(css.fixiert ? "  padding: 0;" : "  padding: 1em;");
    for (const char* zeile :
         {"}", "", "ul#Navigation {", "  float: left;", "  margin: 0;", "  padding: 0;", "}", "",
          "ul#Navigation li {", "  list-style: none;", "  margin: 0;", "  padding: 5px;"})
        z.Erwarten(zeile);
    if (z.Vorschau().starts_with("  background-color:"))
        d.ButtonHintergrundFarbe =
            FarbeLesen(z.Wert("  background-color: #", ";", "die Hintergrundfarbe der Buttons"),
                       z.Datei(), "die Hintergrundfarbe der Buttons");
    css.emSeite = z.Wert("  height: ", "em;", W("die Buttonhöhe"));
    const int breite =
        ZahlLesen(z.Wert("  width: ", "px;", "die Buttonbreite"), z.Datei(), "die Buttonbreite");
    d.ButtonBreite.Setzen(1, breite);
    for (const char* zeile : {"}", "", "ul#Navigation a {", "  display: block;"}) z.Erwarten(zeile);
    css.emButton = z.Wert("  height: ", "em;", W("die Buttonhöhe"));
    z.Wert("  width: ", "px;", "die Buttonbreite");
    z.Wert("  line-height: ", "em;", W("die Buttonhöhe"));
    z.Erwarten("  text-align: center;");
    d.ButtonSchriftFarbe = FarbeLesen(z.Wert("  color: #", ";", "die Schriftfarbe der Buttons"),
                                      z.Datei(), "die Schriftfarbe der Buttons");
    d.ButtonSchriftName =
        z.Wert("  font-family: \"", "\",sans-serif;", "die Schriftart der Buttons");
    d.ButtonSchriftGroesse =
        ZahlLesen(z.Wert("  font-size: ", "px;", W("die Schriftgröße der Buttons")), z.Datei(),
                  W("die Schriftgröße der Buttons"));
    d.ButtonSchriftStil =
        StilLesen(z.Lesen("font-weight"), z.Datei(), "der Schriftstil der Buttons");
    z.Erwarten("}");
    z.Erwarten("");
    while (z.Vorschau().starts_with("ul#Navigation li.Seite")) {
        const int link = ZahlLesen(z.Wert("ul#Navigation li.Seite", "{", "die Buttongrafik"),
                                   z.Datei(), "die Buttongrafik");
        css.grafiken.emplace_back(
            link, BildLesen(z.Wert("  background-image: url(../img/", ");", "die Buttongrafik"),
                            img, z.Datei(), "die Buttongrafik"));
        for (const char* zeile :
             {"  background-repeat: no-repeat;", "  background-position: center;", "}", ""})
            z.Erwarten(zeile);
    }
    z.Erwarten("div#Inhalt {");
    z.Wert("  margin-left: ", "px;", "der Abstand des Inhalts");
    for (const char* zeile : {"  padding: 5px;", "  height: 100%;", "}", ""}) z.Erwarten(zeile);
    // Only its presence counts: the banner itself is read from the pages.
    if (z.Falls("div#banner {")) {
        z.Wert("  margin-left: ", "px;", "der Abstand des Banners");
        for (const char* zeile :
             {"  text-align: center;", "  padding-top: 20px;", "  padding-bottom: 20px;", "}", ""})
            z.Erwarten(zeile);
    }
    if (!z.Ende()) Unlesbar(z.Datei(), "nach dem letzten Block steht noch Text");
    return css;
}

// The button height that gives both em values; the one closest to the em
// value of the button font when several do, as the designs of round sizes
// such as 50 come out.
int ButtonHoeheFinden(const Projektdaten& d, const Stylesheet& css, int bildHoehe) {
    const auto passt = [&](int h) {
        return EmWert(h, d.BodySchriftGroesse) == css.emSeite &&
               EmWert(h, d.ButtonSchriftGroesse) == css.emButton;
    };
    if (bildHoehe > 0 && passt(bildHoehe)) return bildHoehe;
    const int s = std::max(d.ButtonSchriftGroesse, 1);
    const double mitte = std::strtod(css.emButton.c_str(), nullptr) * s;
    long long beste = 0;
    bool gefunden = false;
    for (auto h = std::llround(mitte) - s - 2; h <= std::llround(mitte) + s + 2; ++h) {
        if (h < -2147483647LL || h > 2147483647LL || !passt(static_cast<int>(h))) continue;
        if (!gefunden || std::fabs(static_cast<double>(h) - mitte) <
                             std::fabs(static_cast<double>(beste) - mitte))
            beste = h;
        gefunden = true;
    }
    if (!gefunden) Unlesbar("formate.css", W("die Buttonhöhe ist nicht lesbar"));
    return static_cast<int>(beste);
}

// The generator tag of a page of this program: "Leistenwerk" on a new
// site's pages, "_" and its own name on an imported site's pages, which are
// saved with "_" in front.
bool IstEigeneSeite(const std::string& datei, std::string_view anfang) {
    if (!anfang.starts_with(kSeitenAnfang)) return false;
    anfang.remove_prefix(kSeitenAnfang.size());
    if (!anfang.starts_with(kGenerator)) return false;
    anfang.remove_prefix(kGenerator.size());
    const std::string_view generator = anfang.substr(0, anfang.find('"'));
    if (generator == "Leistenwerk") return true;
    return datei.size() > 1 && datei[0] == '_' &&
           generator == "_" + AttributWert(NameOhneEndung(datei.substr(1)));
}

// What a page's head and menu hold.
struct Menue {
    bool importiert = false;
    std::vector<LinkTexte> links;
    std::vector<int> gruppen;
};

void EintragLesen(std::string_view zeile, const std::string& datei, bool importiert, int nummer,
                  Menue& menue) {
    const std::string was = W("der Eintrag ") + std::to_string(nummer) + W(" des Menüs");
    const auto weg = [&](std::string_view teil) {
        if (!zeile.starts_with(teil)) Unlesbar(datei, was + " ist nicht lesbar");
        zeile.remove_prefix(teil.size());
    };
    const auto bis = [&](char zeichen) {
        const auto p = zeile.find(zeichen);
        if (p == std::string_view::npos) Unlesbar(datei, was + " ist nicht lesbar");
        const std::string_view teil = zeile.substr(0, p);
        zeile.remove_prefix(p);
        return teil;
    };
    weg("        <li class=\"Seite");
    menue.gruppen.push_back(ZahlLesen(bis('"'), datei, was));
    weg("\"><a href=\"");
    std::string ziel = AttributWertLesen(bis('"'));
    weg("\" title=\"");
    const std::string tooltipp = AttributWertLesen(bis('"'));
    weg("\">");
    if (!zeile.ends_with("</a></li>")) Unlesbar(datei, was + " ist nicht lesbar");
    const std::string text = LinkTextLesen(zeile.substr(0, zeile.size() - 9));
    if (importiert) {
        if (!ziel.starts_with('_')) Unlesbar(datei, was + " ist nicht lesbar");
        ziel.erase(0, 1);
    }
    // The page-name rule keeps every page inside the site's folder.
    if (!SchlichterDateiname(ziel))
        Unlesbar(datei, was + W(" führt zu ") + InAnfuehrung(ziel) +
                            W(", das ist kein gültiger Seitenname"));
    menue.links.push_back({ziel, text, tooltipp});
}

Menue MenueLesen(std::string_view seite, const std::string& datei, const std::string& img,
                 Projektdaten& d, CodeEingaben& eingaben) {
    Zeilen z(seite, datei);
    Menue menue;
    z.Lesen("<!DOCTYPE");
    // The head's lines up to the page's own title and description, which
    // each page's head gives (KopfLesen).
    while (!z.Ende() && !z.Vorschau().starts_with(kTitel)) z.Lesen(kTitel);
    z.Lesen(kTitel);
    if (z.Vorschau().starts_with(kBeschreibung)) z.Lesen(kBeschreibung);
    menue.importiert = z.Falls("  </head>");
    if (menue.importiert) z.Erwarten("  <body>");
    z.Falls(kIeLink);
    z.Erwarten(kCssLink);
    if (!menue.importiert) {
        z.Erwarten("  </head>");
        z.Erwarten("  <body>");
    }
    z.Erwarten("");
    z.Erwarten("      <!-- Hier beginnt die Navigationsleiste //-->");
    z.Erwarten("");
    z.Falls("    <div id=\"fixiert\">");
    z.Erwarten("      <ul id=\"Navigation\">");
    while (!z.Ende() && z.Vorschau() != "      </ul>")
        EintragLesen(z.Lesen(""), datei, menue.importiert, static_cast<int>(menue.links.size()) + 1,
                     menue);
    z.Erwarten("      </ul>");
    z.Falls("    </div>");
    z.Erwarten("");
    z.Erwarten("      <!-- Hier endet die Navigationsleiste //-->");
    z.Erwarten("");
    z.Falls("    <div id=\"scrollen\">");
    z.Erwarten("");
    if (z.Falls(W("      <!-- Hier beginnt der Block für den Banner //-->"))) {
        z.Erwarten("");
        z.Erwarten("      <div id=\"banner\">");
        std::string_view zeile = z.Wert("        <img src=\"img/", "\" />", "der Banner");
        const auto teil = [&](std::string_view trenner) {
            const auto p = zeile.find(trenner);
            if (p == std::string_view::npos) Unlesbar(datei, "der Banner ist nicht lesbar");
            const std::string_view wert = zeile.substr(0, p);
            zeile.remove_prefix(p + trenner.size());
            return wert;
        };
        d.BannerDatei = BildLesen(AttributWertLesen(teil("\" width=\"")), img, datei, "der Banner");
        d.BannerBreite = ZahlLesen(teil("\" height=\""), datei, "die Breite des Banners");
        d.BannerHoehe = ZahlLesen(teil("\" alt=\""), datei, W("die Höhe des Banners"));
        eingaben.bannerAlt = AttributWertLesen(teil("\" title=\""));
        eingaben.bannerTooltipp = AttributWertLesen(zeile);
    }
    return menue;
}

// The page's own title and description from its head, as the generation
// writes them again; "Meine Homepage" is no title of its own.
void KopfLesen(DateiLeser& leser, const std::string& datei, SeitenInhalt& eigen) {
    std::string kopf;
    std::size_t titel = std::string::npos, ende = std::string::npos;
    while (kopf.size() < kKopfGrenze) {
        const std::size_t alt = kopf.size();
        kopf.resize(alt + 16 * 1024);
        kopf.resize(alt + leser.Lesen(kopf.data() + alt, kopf.size() - alt));
        titel = kopf.find(std::string("\r\n") + std::string(kTitel));
        if (titel != std::string::npos) ende = kopf.find("</title>\r\n", titel);
        // The description's line must be whole as well.
        if (ende != std::string::npos && kopf.find("\r\n", ende + 10) != std::string::npos) break;
        if (kopf.size() == alt) break;
    }
    if (ende == std::string::npos) Unlesbar(datei, "der Titel ist nicht lesbar");
    titel += 2 + kTitel.size();
    const std::string_view roh = std::string_view(kopf).substr(titel, ende - titel);
    eigen.titel = roh == "Meine Homepage" ? std::string() : KopfTextLesen(roh);
    if (KopfText(eigen.titel.empty() ? "Meine Homepage" : eigen.titel) != roh)
        Unlesbar(datei, "der Titel ist nicht lesbar");
    std::string_view danach = std::string_view(kopf).substr(ende + 10);
    danach = danach.substr(0, danach.find("\r\n"));
    eigen.beschreibung.clear();
    if (!danach.starts_with(kBeschreibung)) return;
    danach.remove_prefix(kBeschreibung.size());
    if (!danach.ends_with("\" />")) Unlesbar(datei, "die Beschreibung ist nicht lesbar");
    danach.remove_suffix(4);
    eigen.beschreibung = KopfTextLesen(danach);
    if (eigen.beschreibung.empty() || KopfText(eigen.beschreibung) != danach)
        Unlesbar(datei, "die Beschreibung ist nicht lesbar");
}

// Where the page's own contents begin in its generated form.
std::size_t InhaltsAnfang(std::string_view erwartet) {
    return erwartet.rfind(kInhaltAnfang) + kInhaltAnfang.size();
}

// Of the candidates, the page whose menu the site has now: the one saved
// last, since pages taken out of the menu keep their older menu.
std::string QuellSeiteFinden(const std::string& neu, const std::string& ordner) {
    std::vector<OrdnerEintrag> eintraege = OrdnerLesen(neu);
    std::sort(eintraege.begin(), eintraege.end(), [](const auto& a, const auto& b) {
        return a.geaendert != b.geaendert ? a.geaendert > b.geaendert : a.name < b.name;
    });
    for (const OrdnerEintrag& e : eintraege) {
        if (e.art != Eintragsart::datei) continue;
        DateiLeser leser(neu + "/" + e.name);
        std::string anfang(kSeitenAnfang.size() + kGenerator.size() + 260, '\0');
        anfang.resize(leser.Lesen(anfang.data(), anfang.size()));
        if (IstEigeneSeite(e.name, anfang)) return e.name;
    }
    NichtGefunden(ordner);
}

}  // namespace

std::string SeitenOrdner(const Projektdaten& daten) {
    return daten.Zielordner + "/Neu";
}

GeleseneHomepage HomepageEinlesen(const std::string& gewaehlt) {
    std::string ordner = gewaehlt;
    while (ordner.size() > 1 && ordner.back() == '/') ordner.pop_back();

    GeleseneHomepage hp;
    Projektdaten& d = hp.daten;
    if (EintragsartLesen(ordner + "/Neu") != Eintragsart::fehlt) {
        d.Zielordner = ordner;
    } else if (DateiName(ordner) == "Neu") {
        d.Zielordner = ordner.substr(0, ordner.size() - 4);
    } else {
        NichtGefunden(gewaehlt);
    }
    const std::string neu = SeitenOrdner(d);
    if (Art(neu, "Neu") != Eintragsart::ordner || Art(neu + "/css", "css") != Eintragsart::ordner ||
        Art(neu + "/css/formate.css", "formate.css") != Eintragsart::datei)
        NichtGefunden(gewaehlt);
    const std::string img = neu + "/img/";
    Art(neu + "/img", "img");

    const std::string formate = DateiLesenGanz(neu + "/css/formate.css");
    const Stylesheet css = StylesheetLesen(formate, img, d);
    CodeEingaben& eingaben = hp.eingaben;
    eingaben.menueFixiert = css.fixiert;

    const std::string quelle = QuellSeiteFinden(neu, gewaehlt);
    const std::string quelltext = DateiLesenGanz(neu + "/" + quelle);
    const Menue menue = MenueLesen(quelltext, quelle, img, d, eingaben);
    const int n = static_cast<int>(menue.links.size());
    d.Modus = menue.importiert ? kModusNZAlt : kModusHPNeu;
    (menue.importiert ? d.ImportAnzahl : d.Seitenzahl) = n;
    eingaben.links = menue.links;
    for (int i = 1; i <= n; ++i) {
        d.ImportSeiten.Setzen(i, menue.links[i - 1].seite);
        // Each link shows the graphic of its group's rule; a group without
        // one has none.
        const int gruppe = menue.gruppen[i - 1];
        for (const auto& [start, bild] : css.grafiken)
            if (start == gruppe) d.ButtonGrafik.Setzen(i, bild);
    }

    // The height stands in the stylesheet only as em values; the graphic of
    // the first button, where it gave the size, tells it exactly.
    int bildHoehe = 0;
    if (!d.ButtonGrafik[1].empty() && EintragsartLesen(d.ButtonGrafik[1]) == Eintragsart::datei) {
        try {
            bildHoehe = BildLaden(d.ButtonGrafik[1]).hoehe;
        } catch (const Fehler&) {
            bildHoehe = 0;
        }
    }
    d.ButtonHoehe.Setzen(1, ButtonHoeheFinden(d, css, bildHoehe));

    const ErzeugterCode code = CodeErzeugen(d, eingaben);
    if (code.css != formate)
        Unlesbar("formate.css", W("die Datei passt nicht zu den Einstellungen, die sie nennt"));
    if (css.fixiert) {
        const bool klein = Art(neu + "/css/ie.css", "ie.css") == Eintragsart::datei;
        const std::string ie = klein ? "ie.css" : "IE.css";
        if (!klein && Art(neu + "/css/IE.css", ie) != Eintragsart::datei)
            Unlesbar("ie.css", "die Datei fehlt");
        if (DateiLesenGanz(neu + "/css/" + ie) != code.ieCss)
            Unlesbar(ie, W("die Datei ist nicht lesbar"));
    }

    const std::string vorsatz = menue.importiert ? "_" : "";
    for (int i = 1; i <= n; ++i) {
        const std::string& name = d.ImportSeiten[i];
        const std::string datei = vorsatz + name;
        const Eintragsart art = Art(neu + "/" + datei, datei);
        if (art == Eintragsart::fehlt) {
            hp.inhalte.emplace_back();
            hp.fehlendeSeiten.push_back(datei);
            continue;
        }
        if (art != Eintragsart::datei) Unlesbar(datei, "das ist keine Datei");

        // Only the generated lines around the contents are read now; the
        // contents are read when the page is written.
        DateiLeser leser(neu + "/" + datei);
        SeitenInhalt eigen;
        KopfLesen(leser, datei, eigen);
        d.Seiteninhalte.Setzen(i, std::move(eigen));
        const std::string erwartet =
            EigeneSeite(SeiteErzeugen(d, eingaben, i, false), d.Modus, name, {});
        const std::size_t k = InhaltsAnfang(erwartet);
        const std::string_view kopf = std::string_view(erwartet).substr(0, k);
        const std::string_view ende = std::string_view(erwartet).substr(k);

        leser.Springen(0);
        const long long groesse = leser.Groesse();
        std::string anfang(kopf.size(), '\0');
        anfang.resize(leser.Lesen(anfang.data(), anfang.size()));
        std::string schluss;
        if (anfang == kopf && groesse >= static_cast<long long>(erwartet.size())) {
            leser.Springen(groesse - static_cast<long long>(ende.size()));
            schluss.resize(ende.size());
            schluss.resize(leser.Lesen(schluss.data(), schluss.size()));
        }
        if (anfang != kopf) {
            if (DateiLesenGanz(neu + "/" + datei).find(kInhaltAnfang) == std::string::npos)
                Unlesbar(datei, W("die Zeile, die den Inhaltsblock öffnet, fehlt"));
            if (datei == quelle) Unlesbar(datei, W("das Menü ist nicht lesbar"));
            Unlesbar(datei, W("das Menü ist anders als auf der Seite ") + InAnfuehrung(quelle));
        }
        if (schluss != ende)
            Unlesbar(datei, W("die Zeile, die den Inhaltsblock schließt, fehlt oder der Text "
                              "danach wurde verändert"));
        hp.inhalte.emplace_back(EigenerInhalt{datei, static_cast<long long>(k),
                                              groesse - static_cast<long long>(erwartet.size()),
                                              groesse, leser.Geaendert()});
    }
    return hp;
}

std::string FehlendeSeitenMeldung(const GeleseneHomepage& homepage) {
    if (homepage.fehlendeSeiten.empty()) return {};
    std::string text = W("Diese Seiten des Menüs fehlen im Ordner „") +
                       Lesbar(SeitenOrdner(homepage.daten)) +
                       W("“; sie erhalten den Platzhaltertext:");
    for (const std::string& seite : homepage.fehlendeSeiten) text += "\n" + Lesbar(seite);
    return text;
}

void SeitenzahlAendern(GeleseneHomepage& homepage, int seitenzahl) {
    Projektdaten& d = homepage.daten;
    const int alt = d.Seitenzahl;
    seitenzahl = std::max(seitenzahl, 0);
    homepage.eingaben.links.resize(std::min(alt, seitenzahl));
    homepage.inhalte.resize(std::min(alt, seitenzahl));
    int nummer = 0;
    for (int i = alt + 1; i <= seitenzahl; ++i) {
        std::string name;
        const auto vergeben = [&](const std::string& kandidat) {
            for (int j = 1; j < i; ++j)
                if (Grossbuchstaben(d.ImportSeiten[j]) == Grossbuchstaben(kandidat)) return true;
            return EintragsartLesen(SeitenOrdner(d) + "/" + kandidat) != Eintragsart::fehlt;
        };
        do name = "Seite" + std::to_string(++nummer) + ".html";
        while (vergeben(name));
        d.ImportSeiten.Setzen(i, name);
        d.ButtonGrafik.Setzen(i, {});
        d.Seiteninhalte.Setzen(i, {});
        homepage.eingaben.links.push_back(
            {name, "Seite " + std::to_string(i), "Zur Seite " + std::to_string(i)});
        homepage.inhalte.emplace_back();
    }
    d.Seitenzahl = seitenzahl;
}

}  // namespace lw
