#include "codegen/Code.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "codegen/Schriftstil.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

constexpr const char* kAbsatz1 =
    "        <p>Lorem ipsum dolor sit amet, consectetuer adipiscing elit. Integer "
    "sed nunc. Nunc mauris. Nulla fringilla laoreet ligula. Sed sodales lorem "
    "aliquam nibh. Nullam mauris nisi, euismod ac, condimentum id, nonummy vitae, "
    "erat. Duis sed justo et pede aliquam ultricies. Duis tortor. Vivamus et "
    "mauris. Morbi vel velit. Vestibulum eros arcu, convallis quis, tincidunt id, "
    "vulputate id, nulla. Duis odio velit, semper eget, volutpat sed, luctus sed, "
    "purus. Duis varius. Nam ac nisl sed velit scelerisque hendrerit. Integer "
    "mattis, elit non vulputate varius, urna augue pellentesque velit, nec "
    "pharetra felis sapien nec ante. Etiam nibh quam, cursus et, scelerisque id, "
    "nonummy nec, nisi.</p>";

constexpr const char* kAbsatz2 =
    "        <p>Aliquam laoreet elementum risus. Fusce id erat eget eros pulvinar "
    "tincidunt. Sed nunc urna, sollicitudin luctus, feugiat et, posuere nec, "
    "sapien. Sed malesuada, felis quis eleifend mattis, ante mauris consectetuer "
    "mauris, eget accumsan lacus sapien ultricies leo. Cras iaculis congue augue. "
    "Proin tincidunt est vel urna. Morbi iaculis mollis libero. Duis ipsum enim, "
    "sagittis eget, ultrices quis, pharetra non, lectus. Cras varius sollicitudin "
    "eros. Vivamus vitae sem vel sapien volutpat fermentum. Sed diam nisi, laoreet "
    "sit amet, auctor pulvinar, aliquet in, nisi. Integer sed ante. In hac "
    "habitasse platea dictumst. In malesuada tellus sed leo.</p>";

const std::string kPlatzhalter =
    std::string("        <h1>Lorem ipsum</h1>\r\n") + kAbsatz1 + "\r\n" + kAbsatz2 + "\r\n";

// Collects lines, each closed by CR LF, the last one included.
class Zeilen final {
public:
    void operator()(std::string_view zeile) {
        text_ += zeile;
        text_ += "\r\n";
    }
    // Lines that already end in CR LF.
    void Zeilenweise(std::string_view zeilen) { text_ += zeilen; }
    void Reservieren(std::size_t bytes) { text_.reserve(bytes); }
    std::string Fertig() { return std::move(text_); }

private:
    std::string text_;
};

bool IstBuchstabe(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IstZiffer(char c) {
    return c >= '0' && c <= '9';
}
bool IstHexZiffer(char c) {
    return IstZiffer(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// True when text[p], an '&', begins "&name;", "&#digits;" or "&#xhex;".
bool BeginntReferenz(std::string_view text, std::size_t p) {
    std::size_t i = p + 1;
    const std::size_t n = text.size();
    if (i < n && text[i] == '#') {
        ++i;
        const bool hex = i < n && text[i] == 'x';
        if (hex) ++i;
        const std::size_t anfang = i;
        while (i < n && (hex ? IstHexZiffer(text[i]) : IstZiffer(text[i]))) ++i;
        return i > anfang && i < n && text[i] == ';';
    }
    if (i >= n || !IstBuchstabe(text[i])) return false;
    while (i < n && (IstBuchstabe(text[i]) || IstZiffer(text[i]))) ++i;
    return i < n && text[i] == ';';
}

const LinkTexte& LinkZeile(const CodeEingaben& eingaben, int link) {
    static const LinkTexte leer;
    return link >= 1 && static_cast<std::size_t>(link) <= eingaben.links.size()
               ? eingaben.links[link - 1]
               : leer;
}

bool StartetGruppe(const Projektdaten& daten, bool eineGrafikFuerAlle, int link) {
    if (link <= 1) return true;
    return !eineGrafikFuerAlle && daten.ButtonGrafik[link] != daten.ButtonGrafik[link - 1];
}

// Page `seite` of n; its own title, description and contents where it has them.
std::string SeitenText(const Projektdaten& daten, const CodeEingaben& eingaben, int n, int seite,
                       bool mitInhalt) {
    static const SeitenInhalt kKeiner;
    const SeitenInhalt& eigen = seite >= 1 && seite <= n ? daten.Seiteninhalte[seite] : kKeiner;
    // The editor's text, empty for the placeholder.
    const std::string_view inhalt = mitInhalt && seite >= 1 && seite <= n
                                        ? EditorInhalt(daten, seite).value_or(std::string_view())
                                        : std::string_view();
    const bool fixiert = eingaben.menueFixiert;
    const bool banner = !daten.BannerDatei.empty();
    const bool nzAlt = daten.Modus == kModusNZAlt;

    const bool handy = daten.HandyAnsicht;

    Zeilen zeile;
    // Long contents are copied once.
    if (!inhalt.empty())
        zeile.Reservieren(inhalt.size() + 4096 + 256 * static_cast<std::size_t>(n));
    zeile.Zeilenweise(handy ? kSeitenAnfangHandy : kSeitenAnfang);
    zeile("    <meta name=\"generator\" content=\"Leistenwerk\" />");
    zeile("    <meta name=\"robots\" content=\"index\" />");
    zeile("    <meta name=\"robots\" content=\"follow\" />");
    zeile("    <meta name=\"revisit-after\" content=\"5 days\" />");
    zeile("    <title>" +
          (eigen.titel.empty() ? std::string("Meine Homepage") : KopfText(eigen.titel)) +
          "</title>");
    if (!eigen.beschreibung.empty())
        zeile("    <meta name=\"description\" content=\"" + KopfText(eigen.beschreibung) + "\" />");
    if (handy) zeile(kViewport);
    // With the phone layout an imported site's links stand in the head too,
    // where the DTD wants them.
    if (daten.Modus == kModusHPNeu || handy) {
        if (fixiert) zeile(kIeLink);
        zeile(kCssLink);
        zeile("  </head>");
        zeile("  <body>");
        if (handy) zeile(kSprungLink);
    } else {
        zeile("  </head>");
        zeile("  <body>");
        if (fixiert) zeile(kIeLink);
        zeile(kCssLink);
    }
    zeile("");
    zeile("      <!-- Hier beginnt die Navigationsleiste //-->");
    zeile("");
    if (fixiert) zeile("    <div id=\"fixiert\">");
    zeile("      <ul id=\"Navigation\">");
    for (int i = 1, gruppe = 1; i <= n; ++i) {
        if (StartetGruppe(daten, eingaben.eineGrafikFuerAlle, i)) gruppe = i;
        const LinkTexte& link = LinkZeile(eingaben, i);
        // The site writer saves merged imported pages under the name with "_".
        const std::string ziel = nzAlt ? "_" + daten.ImportSeiten[i] : link.seite;
        // The page's own entry; one class attribute, as XHTML wants it.
        const char* aktiv = handy && i == seite ? " aktiv" : "";
        zeile("        <li class=\"Seite" + std::to_string(gruppe) + aktiv + "\"><a href=\"" +
              AttributWert(ziel) + "\" title=\"" + AttributWert(link.tooltipp) + "\">" +
              LinkText(link.text) + "</a></li>");
    }
    zeile("      </ul>");
    if (fixiert) zeile("    </div>");
    zeile("");
    zeile("      <!-- Hier endet die Navigationsleiste //-->");
    zeile("");
    if (fixiert) zeile("    <div id=\"scrollen\">");
    if (banner) {
        zeile("");
        zeile(W("      <!-- Hier beginnt der Block für den Banner //-->"));
        zeile("");
        zeile("      <div id=\"banner\">");
        zeile("        <img src=\"img/" + AttributWert(BildAdresse(DateiName(daten.BannerDatei))) +
              "\" width=\"" + std::to_string(daten.BannerBreite) + "\" height=\"" +
              std::to_string(daten.BannerHoehe) + "\" alt=\"" + AttributWert(eingaben.bannerAlt) +
              "\" title=\"" + AttributWert(eingaben.bannerTooltipp) + "\" />");
        zeile("      </div>");
        zeile("");
        zeile(W("      <!-- Hier endet der Block für den Banner //-->"));
        zeile("");
    }
    zeile("");
    zeile(W("      <!-- Hier beginnt der Block für den Seiteninhalt //-->"));
    zeile("");
    zeile("      <div id=\"Inhalt\">");
    if (!inhalt.empty()) {
        zeile.Zeilenweise(inhalt);
        if (!inhalt.ends_with("\r\n")) zeile("");
    } else {
        zeile.Zeilenweise(PlatzhalterZeilen());
    }
    zeile("      </div>");
    zeile("");
    zeile(W("      <!-- Hier endet der Block für den Seiteninhalt //-->"));
    zeile("");
    if (fixiert) zeile("    </div>");
    zeile("");
    zeile("  </body>");
    zeile("</html>");
    return zeile.Fertig();
}

// The phone layout's rules, after all others so that they win. At a
// desktop width only the current page's mark shows, and it moves no box: the
// bar is a shadow inside the item's padding, the bold text stays in its
// fixed-size link.
void HandyRegeln(const Projektdaten& daten, bool fixiert, Zeilen& zeile) {
    const long long b = daten.ButtonBreite[1];
    const auto px = [](long long wert) { return std::to_string(wert) + "px;"; };
    zeile("a#Sprung {");
    zeile("  position: absolute;");
    zeile("  left: -999em;");
    zeile("}");
    zeile("a#Sprung:focus {");
    zeile("  left: 0;");
    zeile("  top: 0;");
    zeile("  z-index: 2;");
    zeile("  padding: 0.5em;");
    zeile("  color: #" + daten.BodySchriftFarbe + ";");
    zeile("  background-color: #" + daten.BodyHintergrundFarbe + ";");
    zeile("}");
    zeile("");
    zeile("ul#Navigation li.aktiv {");
    zeile("  box-shadow: inset 5px 0 #" + daten.ButtonSchriftFarbe + ";");
    zeile("}");
    zeile("ul#Navigation li.aktiv a {");
    zeile("  font-weight: bold;");
    zeile("}");
    zeile("");
    if (fixiert) {
        // Where the menu can be fixed, the window scrolls rather than the
        // workaround's block, which no keyboard reaches while nothing in it
        // takes the focus; every box keeps its size.
        zeile(":root, html>body, html>body #scrollen {");
        zeile("  overflow: visible;");
        zeile("}");
        zeile("");
    }
    // Narrower than the menu, its margin and a readable column of about
    // 30em with the page's padding, the menu goes above the contents.
    zeile("@media screen and (max-width: " + std::to_string(b + 541) + "px) {");
    zeile("  body {");
    zeile("    font-size: " + px(std::max(daten.BodySchriftGroesse, 16)));
    zeile("    padding: 0.5em;");
    zeile("  }");
    zeile("  ul#Navigation {");
    zeile("    float: none;");
    zeile("  }");
    zeile("  ul#Navigation li, ul#Navigation a {");
    zeile("    width: auto;");
    zeile("    height: auto;");
    zeile("  }");
    // A line as high as the button graphic, and at least the 44 px of a
    // finger.
    zeile("  ul#Navigation a {");
    zeile("    line-height: " + px(std::max(daten.ButtonHoehe[1], 44)));
    zeile("    font-size: " + px(std::max(daten.ButtonSchriftGroesse, 16)));
    zeile("  }");
    zeile("  div#Inhalt, div#banner {");
    zeile("    margin-left: 0;");
    zeile("  }");
    zeile("  img, table {");
    zeile("    max-width: 100%;");
    zeile("    height: auto;");
    zeile("  }");
    // Cells wrap even long words, so that a table needs no scrolling box of
    // its own, which a keyboard could not reach.
    zeile("  table, td, th {");
    zeile("    width: auto;");
    zeile("  }");
    zeile("  div#Inhalt, td, th {");
    zeile("    overflow-wrap: anywhere;");
    zeile("  }");
    if (fixiert) {
        // Above the contents the menu scrolls with them.
        zeile("  html>body #fixiert, #fixiert {");
        zeile("    position: static;");
        zeile("    width: auto;");
        zeile("  }");
    }
    zeile("}");
}

std::string StylesheetText(const Projektdaten& daten, const CodeEingaben& eingaben, int n) {
    const bool fixiert = eingaben.menueFixiert;
    // 64 bits so that B + 30 of an absurd stored width cannot overflow.
    const long long b = daten.ButtonBreite[1];
    const int h = daten.ButtonHoehe[1];
    const std::string breite = "  width: " + std::to_string(b) + "px;";
    const std::string rand = "  margin-left: " + std::to_string(b + 30) + "px;";

    Zeilen zeile;
    if (fixiert) {
        zeile("html>body #fixiert {");
        zeile("  position: fixed;");
        zeile("}");
        zeile("");
        zeile("html {");
        zeile("  padding: 0;");
        zeile("}");
        zeile("#fixiert {");
        zeile("  position: absolute;");
        zeile("  top: 1em; left: 15px;");
        zeile("  width: " + std::to_string(b + 5) + "px;");
        zeile("}");
    }
    zeile("");
    zeile("body {");
    zeile("  background-color: #" + daten.BodyHintergrundFarbe + ";");
    if (!daten.HintergrundBild.empty()) {
        zeile("  background-image:url(../img/" + BildAdresse(DateiName(daten.HintergrundBild)) +
              ");");
        if (daten.HintergrundKachel) {
            zeile("  background-repeat: repeat;");
        } else {
            zeile("  background-repeat: no-repeat;");
            zeile("  background-position: center;");
        }
        zeile(daten.HintergrundFixiert ? "  background-attachment: fixed;"
                                       : "  background-attachment: scroll;");
    }
    zeile("  color: #" + daten.BodySchriftFarbe + ";");
    zeile("  font-family: " + SchriftFamilieCss(daten.BodySchriftName) + ";");
    zeile("  font-size: " + std::to_string(daten.BodySchriftGroesse) + "px;");
    zeile(daten.BodySchriftStil);
    zeile("  margin: 0;");
    zeile(fixiert ? "  padding: 0;" : "  padding: 1em;");
    zeile("}");
    zeile("");
    zeile("ul#Navigation {");
    zeile("  float: left;");
    zeile("  margin: 0;");
    zeile("  padding: 0;");
    zeile("}");
    zeile("");
    zeile("ul#Navigation li {");
    zeile("  list-style: none;");
    zeile("  margin: 0;");
    zeile("  padding: 5px;");
    if (!daten.ButtonHintergrundFarbe.empty())
        zeile("  background-color: #" + daten.ButtonHintergrundFarbe + ";");
    zeile("  height: " + EmWert(h, daten.BodySchriftGroesse) + "em;");
    zeile(breite);
    zeile("}");
    zeile("");
    zeile("ul#Navigation a {");
    zeile("  display: block;");
    const std::string buttonEm = EmWert(h, daten.ButtonSchriftGroesse);
    zeile("  height: " + buttonEm + "em;");
    zeile(breite);
    zeile("  line-height: " + buttonEm + "em;");
    zeile("  text-align: center;");
    zeile("  color: #" + daten.ButtonSchriftFarbe + ";");
    zeile("  font-family: " + SchriftFamilieCss(daten.ButtonSchriftName) + ";");
    zeile("  font-size: " + std::to_string(daten.ButtonSchriftGroesse) + "px;");
    zeile(daten.ButtonSchriftStil);
    zeile("}");
    zeile("");
    for (int i = 1; i <= n; ++i) {
        if (!StartetGruppe(daten, eingaben.eineGrafikFuerAlle, i) || daten.ButtonGrafik[i].empty())
            continue;
        zeile("ul#Navigation li.Seite" + std::to_string(i) + "{");
        zeile("  background-image: url(../img/" + BildAdresse(DateiName(daten.ButtonGrafik[i])) +
              ");");
        zeile("  background-repeat: no-repeat;");
        zeile("  background-position: center;");
        zeile("}");
        zeile("");
    }
    zeile("div#Inhalt {");
    zeile(rand);
    zeile("  padding: 5px;");
    zeile("  height: 100%;");
    zeile("}");
    zeile("");
    if (!daten.BannerDatei.empty()) {
        zeile("div#banner {");
        zeile(rand);
        zeile("  text-align: center;");
        zeile("  padding-top: 20px;");
        zeile("  padding-bottom: 20px;");
        zeile("}");
        zeile("");
    }
    if (daten.HandyAnsicht) HandyRegeln(daten, fixiert, zeile);
    return zeile.Fertig();
}

std::string WorkaroundText(const CodeEingaben& eingaben) {
    if (!eingaben.menueFixiert) return {};
    Zeilen zeile;
    zeile("@media screen {");
    zeile("  html, body {");
    zeile("    height: 100%;");
    zeile("    overflow-y: hidden;");
    zeile("  }");
    zeile("  #scrollen {");
    zeile("    height: 100%;");
    zeile("    width: 100%;");
    zeile("    overflow: auto;");
    zeile("  }");
    zeile("  #Inhalt {");
    zeile("    position: static;");
    zeile("  }");
    zeile("}");
    return zeile.Fertig();
}

}  // namespace

namespace {

// A lone '&' always becomes &amp;; in an attribute value '"' and '<' too.
std::string Maskiert(std::string_view text, bool attribut) {
    std::string wert;
    wert.reserve(text.size());
    for (std::size_t p = 0; p < text.size(); ++p) {
        const char c = text[p];
        if (attribut && c == '"')
            wert += "&quot;";
        else if (attribut && c == '<')
            wert += "&lt;";
        else if (c == '&' && !BeginntReferenz(text, p))
            wert += "&amp;";
        else
            wert += c;
    }
    return wert;
}

std::string Demaskiert(std::string_view text, bool attribut) {
    std::string wert;
    wert.reserve(text.size());
    for (std::size_t p = 0; p < text.size(); ++p) {
        const std::string_view rest = text.substr(p);
        if (attribut && rest.starts_with("&quot;")) {
            wert += '"';
            p += 5;
        } else if (attribut && rest.starts_with("&lt;")) {
            wert += '<';
            p += 3;
        } else if (rest.starts_with("&amp;") && !BeginntReferenz(text, p + 4)) {
            // BeginntReferenz looks behind the position it is given: here
            // behind "&amp;", where the '&' alone would stand.
            wert += '&';
            p += 4;
        } else {
            wert += text[p];
        }
    }
    return wert;
}

// The head's form of a byte above 0x7F.
std::string ByteReferenz(char c) {
    const std::string utf8 = utf8AusCp1252(std::string_view(&c, 1));
    char32_t zeichen = 0;
    Utf8Folge(utf8, 0, zeichen);
    if (const std::string_view entitaet = UmlautEntitaet(zeichen); !entitaet.empty())
        return std::string(entitaet);
    return "&#" + std::to_string(static_cast<std::uint32_t>(zeichen)) + ";";
}

// Only the forms ByteReferenz writes turn back into bytes: any other
// reference is the user's own text and stays as typed.
const std::map<std::string, char, std::less<>>& ReferenzBytes() {
    static const std::map<std::string, char, std::less<>> bytes = [] {
        std::map<std::string, char, std::less<>> m;
        for (int b = 0x80; b <= 0xFF; ++b)
            m.emplace(ByteReferenz(static_cast<char>(b)), static_cast<char>(b));
        return m;
    }();
    return bytes;
}

}  // namespace

std::string KopfText(std::string_view text) {
    const std::string maskiert = Maskiert(text, true);
    std::string aus;
    aus.reserve(maskiert.size());
    for (const char c : maskiert) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F)
            aus += ' ';
        else if (b < 0x80)
            aus += c;
        else
            aus += ByteReferenz(c);
    }
    return aus;
}

std::string KopfTextLesen(std::string_view text) {
    const std::string wert = Demaskiert(text, true);
    const auto& bytes = ReferenzBytes();
    std::string aus;
    aus.reserve(wert.size());
    for (std::size_t p = 0; p < wert.size(); ++p) {
        const auto ende = wert[p] == '&' ? wert.find(';', p) : std::string::npos;
        const auto byte = ende == std::string::npos
                              ? bytes.end()
                              : bytes.find(std::string_view(wert).substr(p, ende + 1 - p));
        if (byte == bytes.end()) {
            aus += wert[p];
            continue;
        }
        aus += byte->second;
        p = ende;
    }
    return aus;
}

std::string AttributWert(std::string_view text) { return Maskiert(text, true); }

std::string AttributWertLesen(std::string_view wert) {
    return Demaskiert(wert, true);
}

std::string LinkTextLesen(std::string_view text) {
    return Demaskiert(text, false);
}

std::string BildAdresseLesen(std::string_view adresse) {
    std::string name;
    name.reserve(adresse.size());
    for (std::size_t p = 0; p < adresse.size(); ++p) {
        const std::string_view rest = adresse.substr(p, 3);
        char zeichen = 0;
        for (const char c : std::string_view(" \"'()\\"))
            if (rest == BildAdresse(std::string_view(&c, 1))) zeichen = c;
        if (zeichen) {
            name += zeichen;
            p += 2;
        } else {
            name += adresse[p];
        }
    }
    return name;
}

std::string LinkText(std::string_view text) { return Maskiert(text, false); }

std::string BildAdresse(std::string_view dateiname) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string adresse;
    adresse.reserve(dateiname.size());
    for (const char c : dateiname) {
        if (std::string_view(" \"'()\\").find(c) == std::string_view::npos) {
            adresse += c;
            continue;
        }
        const auto b = static_cast<unsigned char>(c);
        adresse += '%';
        adresse += kHex[b >> 4];
        adresse += kHex[b & 0xF];
    }
    return adresse;
}

std::string InhaltsBildAdresse(std::string_view pfad) {
    return "img/" + BildAdresse(DateiName(pfad));
}

std::string_view PlatzhalterZeilen() {
    return kPlatzhalter;
}

std::optional<std::string_view> EditorInhalt(const Projektdaten& daten, int seite) {
    const std::optional<std::string>& text = daten.Seiteninhalte[seite].text;
    if (!text) return std::nullopt;
    if (text->find_first_not_of(" \t\r\n") == std::string::npos) return std::string_view();
    return std::string_view(*text);
}

std::string SeiteErzeugen(const Projektdaten& daten, const CodeEingaben& eingaben, int seite,
                          bool mitInhalt) {
    return SeitenText(daten, eingaben, daten.SeitenInGebrauch(), seite, mitInhalt);
}

std::string SeiteAusCode(const Projektdaten& daten, const ErzeugterCode& code, int seite,
                         bool mitInhalt) {
    return code.eingaben ? SeiteErzeugen(daten, *code.eingaben, seite, mitInhalt) : code.seite;
}

int GrafikGruppe(const Projektdaten& daten, bool eineGrafikFuerAlle, int link) {
    int start = link < 1 ? 1 : link;
    while (!StartetGruppe(daten, eineGrafikFuerAlle, start)) --start;
    return start;
}

ErzeugterCode CodeErzeugen(const Projektdaten& daten, const CodeEingaben& eingaben) {
    // Only file names of the pictures go into the texts; no picture is opened,
    // so a picture deleted after it was chosen cannot stop the code tab.
    const int n = daten.SeitenInGebrauch();
    ErzeugterCode code;
    code.seite = SeitenText(daten, eingaben, n, 1, true);
    code.css = StylesheetText(daten, eingaben, n);
    code.ieCss = WorkaroundText(eingaben);
    code.eingaben = eingaben;
    return code;
}

}  // namespace lw
