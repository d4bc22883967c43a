#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codegen/Code.h"
#include "common/Zeichensatz.h"

namespace lw {
namespace {

using Zeilen = std::vector<std::string>;

std::string Text(const Zeilen& zeilen) {
    std::string t;
    for (const auto& z : zeilen) t += z + "\r\n";
    return t;
}

Zeilen operator+(Zeilen a, const Zeilen& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Inserts neu before the first line equal to anker.
Zeilen Davor(Zeilen z, const std::string& anker, const Zeilen& neu) {
    const auto it = std::find(z.begin(), z.end(), anker);
    EXPECT_NE(it, z.end()) << anker;
    z.insert(it, neu.begin(), neu.end());
    return z;
}

Zeilen Ersetzt(Zeilen z, const std::string& alt, const std::string& neu) {
    const auto it = std::find(z.begin(), z.end(), alt);
    EXPECT_NE(it, z.end()) << alt;
    if (it != z.end()) *it = neu;
    return z;
}

const std::string kOhneStil =
    "        font-weight: normal;\n        font-style: normal;\n        text-decoration: none;";

// Menu not fixed, no pictures, no banner, no button colour; B 170, H 50,
// page font 14, button font 12.
const Zeilen kCssBasis = {
    "",
    "body {",
    "  background-color: #ffffff;",
    "  color: #000000;",
    "  font-family: \"Arial\",sans-serif;",
    "  font-size: 14px;",
    kOhneStil,
    "  margin: 0;",
    "  padding: 1em;",
    "}",
    "",
    "ul#Navigation {",
    "  float: left;",
    "  margin: 0;",
    "  padding: 0;",
    "}",
    "",
    "ul#Navigation li {",
    "  list-style: none;",
    "  margin: 0;",
    "  padding: 5px;",
    "  height: 3.6em;",
    "  width: 170px;",
    "}",
    "",
    "ul#Navigation a {",
    "  display: block;",
    "  height: 4.2em;",
    "  width: 170px;",
    "  line-height: 4.2em;",
    "  text-align: center;",
    "  color: #000000;",
    "  font-family: \"Arial\",sans-serif;",
    "  font-size: 12px;",
    kOhneStil,
    "}",
    "",
    "div#Inhalt {",
    "  margin-left: 200px;",
    "  padding: 5px;",
    "  height: 100%;",
    "}",
    "",
};

const Zeilen kCssFixiert = {
    "html>body #fixiert {",
    "  position: fixed;",
    "}",
    "",
    "html {",
    "  padding: 0;",
    "}",
    "#fixiert {",
    "  position: absolute;",
    "  top: 1em; left: 15px;",
    "  width: 175px;",
    "}",
};

const Zeilen kIeCss = {
    "@media screen {",
    "  html, body {",
    "    height: 100%;",
    "    overflow-y: hidden;",
    "  }",
    "  #scrollen {",
    "    height: 100%;",
    "    width: 100%;",
    "    overflow: auto;",
    "  }",
    "  #Inhalt {",
    "    position: static;",
    "  }",
    "}",
};

Zeilen GrafikRegel(int link, const std::string& datei) {
    return {"ul#Navigation li.Seite" + std::to_string(link) + "{",
            "  background-image: url(../img/" + datei + ");",
            "  background-repeat: no-repeat;",
            "  background-position: center;",
            "}",
            ""};
}

const Zeilen kKopf = {
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\"",
    "  \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">",
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">",
    "  <head>",
    "    <meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\" />",
    "    <meta name=\"generator\" content=\"Leistenwerk\" />",
    "    <meta name=\"robots\" content=\"index\" />",
    "    <meta name=\"robots\" content=\"follow\" />",
    "    <meta name=\"revisit-after\" content=\"5 days\" />",
    "    <title>Meine Homepage</title>",
};
const std::string kIeLink = "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/ie.css\" />";
const std::string kCssLink =
    "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/formate.css\" />";
const std::string kNavAnfang = "      <!-- Hier beginnt die Navigationsleiste //-->";
const std::string kNavEnde = "      <!-- Hier endet die Navigationsleiste //-->";

const std::string kAbsatz1 =
    "        <p>Lorem ipsum dolor sit amet, consectetuer adipiscing elit. Integer sed nunc. "
    "Nunc mauris. Nulla fringilla laoreet ligula. Sed sodales lorem aliquam nibh. Nullam "
    "mauris nisi, euismod ac, condimentum id, nonummy vitae, erat. Duis sed justo et pede "
    "aliquam ultricies. Duis tortor. Vivamus et mauris. Morbi vel velit. Vestibulum eros arcu, "
    "convallis quis, tincidunt id, vulputate id, nulla. Duis odio velit, semper eget, volutpat "
    "sed, luctus sed, purus. Duis varius. Nam ac nisl sed velit scelerisque hendrerit. Integer "
    "mattis, elit non vulputate varius, urna augue pellentesque velit, nec pharetra felis "
    "sapien nec ante. Etiam nibh quam, cursus et, scelerisque id, nonummy nec, nisi.</p>";
const std::string kAbsatz2 =
    "        <p>Aliquam laoreet elementum risus. Fusce id erat eget eros pulvinar tincidunt. "
    "Sed nunc urna, sollicitudin luctus, feugiat et, posuere nec, sapien. Sed malesuada, "
    "felis quis eleifend mattis, ante mauris consectetuer mauris, eget accumsan lacus sapien "
    "ultricies leo. Cras iaculis congue augue. Proin tincidunt est vel urna. Morbi iaculis "
    "mollis libero. Duis ipsum enim, sagittis eget, ultrices quis, pharetra non, lectus. Cras "
    "varius sollicitudin eros. Vivamus vitae sem vel sapien volutpat fermentum. Sed diam nisi, "
    "laoreet sit amet, auctor pulvinar, aliquet in, nisi. Integer sed ante. In hac habitasse "
    "platea dictumst. In malesuada tellus sed leo.</p>";

// From the contents comment to the empty line after its closing comment.
const Zeilen kInhalt = {
    "      <!-- Hier beginnt der Block f\xFCr den Seiteninhalt //-->",
    "",
    "      <div id=\"Inhalt\">",
    "        <h1>Lorem ipsum</h1>",
    kAbsatz1,
    kAbsatz2,
    "      </div>",
    "",
    "      <!-- Hier endet der Block f\xFCr den Seiteninhalt //-->",
    "",
};
const Zeilen kEnde = {"", "  </body>", "</html>"};

std::string Eintrag(int gruppe, const std::string& href, int i) {
    const std::string n = std::to_string(i);
    return "        <li class=\"Seite" + std::to_string(gruppe) + "\"><a href=\"" + href +
           "\" title=\"Zur Seite " + n + "\">Seite " + n + "</a></li>";
}

// Mode "HPNeu" with n pages, the initial field texts, B 170, H 50, fonts 14 and 12.
struct Fall {
    Projektdaten daten;
    CodeEingaben eingaben;
    explicit Fall(int n, const char* modus = kModusHPNeu) {
        daten.Modus = modus;
        daten.Seitenzahl = n;
        daten.ButtonBreite.Setzen(1, 170);
        daten.ButtonHoehe.Setzen(1, 50);
        daten.ButtonSchriftGroesse = 12;
        for (int i = 1; i <= n; ++i) {
            const std::string z = std::to_string(i);
            eingaben.links.push_back({"Seite" + z + ".html", "Seite " + z, "Zur Seite " + z});
        }
    }
    ErzeugterCode Code() const { return CodeErzeugen(daten, eingaben); }
};

// Mode "HPNeu", menu not fixed, no banner, with the given list items.
Zeilen EinfacheSeite(const Zeilen& eintraege) {
    return kKopf + Zeilen{kCssLink,
                          "  </head>",
                          "  <body>",
                          "",
                          kNavAnfang,
                          "",
                          "      <ul id=\"Navigation\">"} +
           eintraege + Zeilen{"      </ul>", "", kNavEnde, "", ""} + kInhalt + kEnde;
}

TEST(CodeErzeugen, PlainSiteAllThreeTexts) {
    const auto code = Fall(3).Code();
    EXPECT_EQ(code.css, Text(kCssBasis));
    EXPECT_EQ(code.ieCss, "");
    const Zeilen seite = EinfacheSeite(
        {Eintrag(1, "Seite1.html", 1), Eintrag(1, "Seite2.html", 2), Eintrag(1, "Seite3.html", 3)});
    EXPECT_EQ(code.seite, Text(seite));
    EXPECT_EQ(kAbsatz1.size(), 694u);
    EXPECT_EQ(kAbsatz2.size(), 662u);
}

TEST(CodeErzeugen, FixedMenu) {
    Fall f(2);
    f.eingaben.menueFixiert = true;
    const auto code = f.Code();
    EXPECT_EQ(code.css, Text(kCssFixiert + Ersetzt(kCssBasis, "  padding: 1em;", "  padding: 0;")));
    EXPECT_EQ(code.ieCss, Text(kIeCss));
    const Zeilen seite = kKopf +
                         Zeilen{kIeLink,
                                kCssLink,
                                "  </head>",
                                "  <body>",
                                "",
                                kNavAnfang,
                                "",
                                "    <div id=\"fixiert\">",
                                "      <ul id=\"Navigation\">",
                                Eintrag(1, "Seite1.html", 1),
                                Eintrag(1, "Seite2.html", 2),
                                "      </ul>",
                                "    </div>",
                                "",
                                kNavEnde,
                                "",
                                "    <div id=\"scrollen\">",
                                ""} +
                         kInhalt + Zeilen{"    </div>"} + kEnde;
    EXPECT_EQ(code.seite, Text(seite));
    EXPECT_NE(code.seite.find("    </div>\r\n\r\n  </body>"), std::string::npos);
}

TEST(CodeErzeugen, BackgroundPicture) {
    struct Bild {
        const char* name;
        bool kachel, fixiert;
        Zeilen zeilen;
    };
    const Bild faelle[] = {
        {"tiled, scrolling",
         true,
         false,
         {"  background-image:url(../img/stein.jpg);", "  background-repeat: repeat;",
          "  background-attachment: scroll;"}},
        {"single, fixed",
         false,
         true,
         {"  background-image:url(../img/stein.jpg);", "  background-repeat: no-repeat;",
          "  background-position: center;", "  background-attachment: fixed;"}},
    };
    for (const auto& b : faelle) {
        Fall f(1);
        // The picture does not exist: only its file name is needed.
        f.daten.HintergrundBild = "/nirgends/Texturen/stein.jpg";
        f.daten.HintergrundKachel = b.kachel;
        f.daten.HintergrundFixiert = b.fixiert;
        EXPECT_EQ(f.Code().css, Text(Davor(kCssBasis, "  color: #000000;", b.zeilen))) << b.name;
    }
}

TEST(CodeErzeugen, ButtonColourFontsAndStyles) {
    Fall f(1);
    f.daten.ButtonHintergrundFarbe = "ff0000";
    f.daten.BodySchriftName = "Verdana";
    f.daten.ButtonSchriftName = "Comic Sans MS";
    f.daten.ButtonSchriftStil = "        font-weight: bold;";
    Zeilen css = Davor(kCssBasis, "  height: 3.6em;", {"  background-color: #ff0000;"});
    // The first font and style lines belong to the body, the second to the buttons.
    css = Ersetzt(css, "  font-family: \"Arial\",sans-serif;",
                  "  font-family: \"Verdana\",sans-serif;");
    css = Ersetzt(css, "  font-family: \"Arial\",sans-serif;",
                  "  font-family: \"Comic Sans MS\",sans-serif;");
    *std::find(css.rbegin(), css.rend(), kOhneStil) = "        font-weight: bold;";
    EXPECT_EQ(f.Code().css, Text(css));
}

TEST(CodeErzeugen, Banner) {
    Fall f(1);
    f.daten.BannerDatei = "/nirgends/Bilder/banner.gif";
    f.daten.BannerBreite = 468;
    f.daten.BannerHoehe = 60;
    const auto code = f.Code();
    EXPECT_EQ(code.css, Text(kCssBasis + Zeilen{"div#banner {", "  margin-left: 200px;",
                                                "  text-align: center;", "  padding-top: 20px;",
                                                "  padding-bottom: 20px;", "}", ""}));
    const Zeilen seite = kKopf +
                         Zeilen{kCssLink,
                                "  </head>",
                                "  <body>",
                                "",
                                kNavAnfang,
                                "",
                                "      <ul id=\"Navigation\">",
                                Eintrag(1, "Seite1.html", 1),
                                "      </ul>",
                                "",
                                kNavEnde,
                                "",
                                "",
                                "      <!-- Hier beginnt der Block f\xFCr den Banner //-->",
                                "",
                                "      <div id=\"banner\">",
                                "        <img src=\"img/banner.gif\" width=\"468\" height=\"60\" "
                                "alt=\"\" title=\"\" />",
                                "      </div>",
                                "",
                                "      <!-- Hier endet der Block f\xFCr den Banner //-->",
                                "",
                                ""} +
                         kInhalt + kEnde;
    EXPECT_EQ(code.seite, Text(seite));
}

TEST(CodeErzeugen, GraphicGroups) {
    struct Gruppen {
        const char* name;
        bool eineFuerAlle;
        std::vector<std::string> grafiken;
        std::vector<int> klassen;
        Zeilen regeln;
    };
    const std::string a = "/b/A.gif", b = "/b/B.gif";
    const Gruppen faelle[] = {
        {"A A B B A",
         false,
         {a, a, b, b, a},
         {1, 1, 3, 3, 5},
         GrafikRegel(1, "A.gif") + GrafikRegel(3, "B.gif") + GrafikRegel(5, "A.gif")},
        {"empty A", false, {"", a}, {1, 2}, GrafikRegel(2, "A.gif")},
        {"case counts",
         false,
         {a, "/b/a.gif"},
         {1, 2},
         GrafikRegel(1, "A.gif") + GrafikRegel(2, "a.gif")},
        {"A empty empty", false, {a, "", ""}, {1, 2, 2}, GrafikRegel(1, "A.gif")},
        {"one for all", true, {a, b, ""}, {1, 1, 1}, GrafikRegel(1, "A.gif")},
        {"one for all, first empty", true, {"", a, b}, {1, 1, 1}, {}},
    };
    for (const auto& g : faelle) {
        const int n = static_cast<int>(g.grafiken.size());
        Fall f(n);
        f.eingaben.eineGrafikFuerAlle = g.eineFuerAlle;
        for (int i = 1; i <= n; ++i) f.daten.ButtonGrafik.Setzen(i, g.grafiken[i - 1]);
        const auto code = f.Code();
        EXPECT_EQ(code.css, Text(Davor(kCssBasis, "div#Inhalt {", g.regeln))) << g.name;
        Zeilen eintraege;
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(GrafikGruppe(f.daten, g.eineFuerAlle, i), g.klassen[i - 1]) << g.name;
            eintraege.push_back(
                Eintrag(g.klassen[i - 1], "Seite" + std::to_string(i) + ".html", i));
        }
        EXPECT_EQ(code.seite, Text(EinfacheSeite(eintraege))) << g.name;
    }
}

TEST(CodeErzeugen, ImportedSite) {
    Fall f(0, kModusNZAlt);
    f.daten.ImportAnzahl = 2;
    f.daten.ImportSeiten.Setzen(1, "start.html");
    f.daten.ImportSeiten.Setzen(2, "b&b.html");
    f.eingaben.links = {{"ignoriert.html", "Start", "Zur Startseite"}};
    f.eingaben.menueFixiert = true;
    const auto code = f.Code();
    EXPECT_EQ(code.ieCss, Text(kIeCss));
    const Zeilen seite =
        kKopf +
        Zeilen{"  </head>", "  <body>", kIeLink, kCssLink, "", kNavAnfang, "",
               "    <div id=\"fixiert\">", "      <ul id=\"Navigation\">",
               "        <li class=\"Seite1\"><a href=\"_start.html\" title=\"Zur Startseite\">"
               "Start</a></li>",
               // A row the links tab never filled reads as empty texts.
               "        <li class=\"Seite1\"><a href=\"_b&amp;b.html\" title=\"\"></a></li>",
               "      </ul>", "    </div>", "", kNavEnde, "", "    <div id=\"scrollen\">", ""} +
        kInhalt + Zeilen{"    </div>"} + kEnde;
    EXPECT_EQ(code.seite, Text(seite));
}

TEST(CodeErzeugen, ModeWithoutPages) {
    Fall f(3, kModusNZNeu);
    f.daten.ButtonGrafik.Setzen(1, "/b/A.gif");
    const auto code = f.Code();
    EXPECT_EQ(code.css, Text(kCssBasis));
    const Zeilen seite =
        kKopf +
        Zeilen{
            "  </head>",   "  <body>", kCssLink, "", kNavAnfang, "", "      <ul id=\"Navigation\">",
            "      </ul>", "",         kNavEnde, "", ""} +
        kInhalt + kEnde;
    EXPECT_EQ(code.seite, Text(seite));
}

TEST(CodeErzeugen, ZeroAndNegativeSizes) {
    Fall f(1);
    f.daten.ButtonBreite.Setzen(1, 0);
    f.daten.ButtonHoehe.Setzen(1, -50);
    f.daten.BodySchriftGroesse = 0;
    const std::string css = f.Code().css;
    EXPECT_NE(css.find("  height: 0.0em;\r\n  width: 0px;\r\n"), std::string::npos);
    EXPECT_NE(css.find("  height: -4.2em;\r\n  width: 0px;\r\n  line-height: -4.2em;"),
              std::string::npos);
    EXPECT_NE(css.find("  margin-left: 30px;"), std::string::npos);
}

TEST(AttributWert, EscapesWhatWouldBreakTheAttribute) {
    struct Fall {
        const char* name;
        const char* eingabe;
        const char* ergebnis;
    };
    const Fall faelle[] = {
        {"plain", "Zur Seite 1", "Zur Seite 1"},
        {"quote", "Sag \"Hallo\"", "Sag &quot;Hallo&quot;"},
        {"less and greater", "<b>", "&lt;b>"},
        {"lone ampersand", "A & B", "A &amp; B"},
        {"ampersand at end", "A&", "A&amp;"},
        {"named entity", "&auml;&amp;x1;", "&auml;&amp;x1;"},
        {"name with digits", "&frac12;", "&frac12;"},
        {"decimal", "&#65;", "&#65;"},
        {"hex", "&#x4F;&#xa0;", "&#x4F;&#xa0;"},
        {"capital X", "&#X4F;", "&amp;#X4F;"},
        {"empty name", "&;", "&amp;;"},
        {"empty number", "&#;&#x;", "&amp;#;&amp;#x;"},
        {"digit first", "&1a;", "&amp;1a;"},
        {"no semicolon", "&auml", "&amp;auml"},
        {"dash in name", "&a-b;", "&amp;a-b;"},
        {"bad hex digit", "&#x4G;", "&amp;#x4G;"},
        {"high bytes", "F\xFCr", "F\xFCr"},
    };
    for (const auto& f : faelle) EXPECT_EQ(AttributWert(f.eingabe), f.ergebnis) << f.name;
}

// A typed quote must not end the attribute; the link text stays as typed
// except for a lone '&'.
TEST(CodeErzeugen, TypedMarkupInFields) {
    Fall f(2);
    f.eingaben.links[0] = {"a&b.html", "<b>Fett</b> &amp; mehr", "Sag \"Hi\" & <tsch\xFCss>"};
    f.eingaben.links[1] = {"k.html", "Kontakt & Anfahrt&", "Kontakt"};
    f.daten.BannerDatei = "/b/x.gif";
    f.eingaben.bannerAlt = "\"Logo\"";
    f.eingaben.bannerTooltipp = "1 < 2";
    const std::string seite = f.Code().seite;
    EXPECT_NE(
        seite.find("        <li class=\"Seite1\"><a href=\"a&amp;b.html\" title=\"Sag "
                   "&quot;Hi&quot; &amp; &lt;tsch\xFCss>\"><b>Fett</b> &amp; mehr</a></li>\r\n"),
        std::string::npos);
    EXPECT_NE(seite.find("title=\"Kontakt\">Kontakt &amp; Anfahrt&amp;</a></li>\r\n"),
              std::string::npos);
    EXPECT_NE(seite.find("alt=\"&quot;Logo&quot;\" title=\"1 &lt; 2\" />\r\n"), std::string::npos);
}

// The copies in img/ keep the real names; the page and the stylesheet reach
// them by addresses that neither end the attribute nor the unquoted url(...).
TEST(CodeErzeugen, PictureNamesBecomeAddresses) {
    Fall f(2);
    f.daten.BannerDatei = "/b/Tom & Jerry (neu).gif";
    f.daten.HintergrundBild = "/b/Stein \"hell\".jpg";
    f.daten.ButtonGrafik.Setzen(1, "/b/it's a\\b.gif");
    f.daten.ButtonGrafik.Setzen(2, "/b/Knopf 2.gif");
    const auto code = f.Code();
    EXPECT_NE(code.seite.find("<img src=\"img/Tom%20&amp;%20Jerry%20%28neu%29.gif\" width="),
              std::string::npos);
    EXPECT_NE(code.css.find("  background-image:url(../img/Stein%20%22hell%22.jpg);\r\n"),
              std::string::npos);
    EXPECT_NE(code.css.find("  background-image: url(../img/it%27s%20a%5Cb.gif);\r\n"),
              std::string::npos);
    EXPECT_NE(code.css.find("  background-image: url(../img/Knopf%202.gif);\r\n"),
              std::string::npos);
    // Other bytes, '%' and '&' among them, stay as they are.
    EXPECT_EQ(BildAdresse("a%20&<b>\xE4.gif"), "a%20&<b>\xE4.gif");
}

}  // namespace
}  // namespace lw

namespace lw {
namespace {

// Each page has its own head and contents; everything else is the page text
// of every page, and a page without its own stays byte for byte as before.
TEST(SeiteErzeugen, TitleDescriptionAndContentsPerPage) {
    Fall f(3);
    const std::string vorher = f.Code().seite;
    f.daten.Seiteninhalte.Setzen(
        2, {W("Über mich & \"uns\" <3"), W("Fotos, Wandern – 2024"), "        <p>Hallo</p>\r\n"});
    f.daten.Seiteninhalte.Setzen(3, {"", "", "  \r\n"});  // empty text: the placeholder
    const ErzeugterCode code = f.Code();
    EXPECT_EQ(code.seite, vorher);
    EXPECT_EQ(SeiteAusCode(f.daten, code, 1), vorher);
    EXPECT_EQ(SeiteAusCode(f.daten, code, 3), vorher);
    Zeilen seite2 =
        Ersetzt(EinfacheSeite({Eintrag(1, "Seite1.html", 1), Eintrag(1, "Seite2.html", 2),
                               Eintrag(1, "Seite3.html", 3)}),
                "    <title>Meine Homepage</title>",
                "    <title>&Uuml;ber mich &amp; &quot;uns&quot; &lt;3</title>");
    seite2 = Davor(seite2, kCssLink,
                   {"    <meta name=\"description\" content=\"Fotos, Wandern &#8211; 2024\" />"});
    EXPECT_EQ(SeiteAusCode(f.daten, code, 2, false), Text(seite2));
    seite2.erase(std::find(seite2.begin(), seite2.end(), kAbsatz1) - 1,
                 std::find(seite2.begin(), seite2.end(), kAbsatz2) + 1);
    EXPECT_EQ(SeiteAusCode(f.daten, code, 2),
              Text(Davor(seite2, "      </div>", {"        <p>Hallo</p>"})));
    // Rows beyond the pages in use are not pages; code made without its
    // inputs gives its one page text for every page.
    f.daten.Seiteninhalte.Setzen(4, {"Vier", "", "x"});
    EXPECT_EQ(SeiteErzeugen(f.daten, f.eingaben, 4), vorher);
    EXPECT_EQ(SeiteAusCode(f.daten, ErzeugterCode{"eine", "", ""}, 2), "eine");
}

TEST(KopfText, AsciiAndReadBackToTheSameBytes) {
    struct Fall {
        const char* name;
        std::string eingabe, ergebnis;
    };
    const Fall faelle[] = {
        {"plain", "Meine Seite", "Meine Seite"},
        {"umlauts", "\xC4\xD6\xDC\xE4\xF6\xFC\xDF", "&Auml;&Ouml;&Uuml;&auml;&ouml;&uuml;&szlig;"},
        {"latin-1 and windows-1252", "\xE9\x80\x84\xA0", "&#233;&#8364;&#8222;&#160;"},
        {"markup", "<b>\"x\" & y</b>", "&lt;b>&quot;x&quot; &amp; y&lt;/b>"},
        {"typed references stay", "&auml;&#8364;&#0228;&eacute;&amp;",
         "&auml;&#8364;&#0228;&eacute;&amp;"},
        {"control characters", "a\tb\r\nc", "a b  c"},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(KopfText(f.eingabe), f.ergebnis) << f.name;
        EXPECT_EQ(KopfText(KopfTextLesen(f.ergebnis)), f.ergebnis) << f.name;
    }
    EXPECT_EQ(KopfTextLesen("&Uuml; &amp;uuml; &amp; &lt;&#8364;&#0228;"),
              "\xDC &amp;uuml; & <\x80&#0228;");
    // Every byte, alone and behind an '&', gives the same bytes again.
    for (int b = 1; b < 256; ++b) {
        for (const std::string& t : {std::string(1, static_cast<char>(b)),
                                     "&" + std::string(1, static_cast<char>(b)) + "uml;"}) {
            const std::string kopf = KopfText(t);
            EXPECT_EQ(KopfText(KopfTextLesen(kopf)), kopf) << b;
            EXPECT_TRUE(std::all_of(kopf.begin(), kopf.end(), [](char c) {
                return c >= 0x20 && c < 0x7F;
            })) << b;
        }
    }
}

}  // namespace
}  // namespace lw
