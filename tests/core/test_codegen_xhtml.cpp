#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "codegen/Code.h"
#include "common/Text.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "output/Vorschau.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

struct Pruefung {
    int status = -1;
    std::string ausgabe;
};

// Validates against the DTD the page names, resolved through the system's XML
// catalog; a missing validator gives a non-zero status and so a failure.
Pruefung MitXmllint(const std::string& seite) {
    test::TempOrdner ordner;
    const std::string datei = ordner / "seite.html";
    test::Schreiben(datei, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + utf8AusCp1252(seite));
    Pruefung p;
    FILE* rohr = ::popen(("xmllint --nonet --noout --valid '" + datei + "' 2>&1").c_str(), "r");
    if (!rohr) return p;
    char puffer[512];
    while (std::fgets(puffer, sizeof puffer, rohr)) p.ausgabe += puffer;
    const int rc = ::pclose(rohr);
    p.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return p;
}

Projektdaten Site() {
    Projektdaten daten;
    daten.Modus = kModusHPNeu;
    daten.Seitenzahl = 3;
    daten.ButtonBreite.Setzen(1, 120);
    daten.ButtonHoehe.Setzen(1, 30);
    daten.ButtonGrafik.Setzen(1, "/b/knopf.gif");
    daten.BannerDatei = "/b/Tom & Jerry (neu).gif";
    daten.BannerBreite = 468;
    daten.BannerHoehe = 60;
    return daten;
}

CodeEingaben Felder(bool fixiert) {
    CodeEingaben e;
    e.menueFixiert = fixiert;
    e.links = {{"Seite1.html", "Kontakt & Anfahrt", "Zur Seite 1"},
               {"a&b.html", W("Über &amp; mehr"), W("Sag \"Hallo\" & <tschüss>")},
               {"Seite3.html", "Seite 3", "&auml; &#228; &#xE4;"}};
    e.bannerAlt = "\"Logo\"";
    e.bannerTooltipp = "1 < 2 & 3";
    return e;
}

TEST(XhtmlGueltig, PageWithBannerFixedAndNot) {
    for (const bool fixiert : {false, true}) {
        const auto p = MitXmllint(CodeErzeugen(Site(), Felder(fixiert)).seite);
        EXPECT_EQ(p.status, 0) << "fixed=" << fixiert << "\n" << p.ausgabe;
    }
}

// An imported site's page links its stylesheets at the start of the body,
// where browsers take them but the DTD allows no link; moved into the head,
// the rest of the page is checked as it is.
std::string LinksImKopf(std::string seite) {
    const std::string links = "  <body>\r\n";
    const auto anfang = seite.find(links) + links.size();
    const auto ende = seite.find("\r\n\r\n", anfang) + 2;
    const std::string zeilen = seite.substr(anfang, ende - anfang);
    EXPECT_NE(zeilen.find("<link rel=\"stylesheet\""), std::string::npos) << zeilen;
    seite.erase(anfang, ende - anfang);
    seite.insert(seite.find("  </head>"), zeilen);
    return seite;
}

// The merged pages of an imported site, whose contents bring characters
// beyond Latin-1 in UTF-8: they arrive as references, and every block the
// generated page opens is closed again around the contents.
TEST(XhtmlGueltig, MergedPageFixedAndNot) {
    Projektdaten daten = Site();
    daten.Modus = kModusNZAlt;
    daten.ImportAnzahl = 3;
    for (int i = 1; i <= 3; ++i) daten.ImportSeiten.Setzen(i, Felder(false).links[i - 1].seite);
    const std::string inhalt =
        "<h2>Caf\xC3\xA9 \xE2\x80\x9EZur Post\xE2\x80\x9C</h2>\r\n"
        "<p>Kaffee f\xC3\xBCr 2 \xE2\x82\xAC <img src=\"data/pics/urlaub.jpg\" alt=\"\" /></p>";
    for (const bool fixiert : {false, true}) {
        const std::string seite =
            SeiteZusammenfuehren(CodeErzeugen(daten, Felder(fixiert)).seite, inhalt, "a&b.html");
        ASSERT_NE(seite.find("&#233; &#8222;Zur Post&#8220;"), std::string::npos);
        const auto p = MitXmllint(LinksImKopf(seite));
        EXPECT_EQ(p.status, 0) << "fixed=" << fixiert << "\n" << p.ausgabe;
    }
}

// Contents as the editor writes them: every element of its set.
const char* const kEditorInhalt =
    "        <h1>Hobbys &amp; mehr</h1>\r\n        <h2>Wandern</h2>\r\n        "
    "<h3>&#26085;</h3>\r\n"
    "        <p>Ich <strong>wandere</strong>, <em>lese</em>, <u>koche</u>.<br /><a "
    "href=\"mailto:ich@example.org\" title=\"Mail\">Post</a> <a "
    "href=\"Seite1.html\">Start</a></p>\r\n"
    "        <ul>\r\n          <li>Eins\r\n            <ol>\r\n              <li>Zwei "
    "&auml;</li>\r\n"
    "            </ol>\r\n          </li>\r\n        </ul>\r\n"
    "        <p><img src=\"img/Foto%201.jpg\" alt=\"Foto &quot;1&quot;\" width=\"300\" "
    "height=\"200\" /></p>\r\n"
    "        <table border=\"1\" cellpadding=\"4\">\r\n          <tr>\r\n            <th>A</th>\r\n"
    "            <td>&#8364; 5</td>\r\n          </tr>\r\n        </table>\r\n        <hr />\r\n";

// The pages as the save writes them with titles, descriptions and the
// editor's contents, new and imported, the menu fixed and not: an editor's
// text, even an empty one, takes the place of an imported page's contents
// file, whose picture is copied; "Testen" shows the chosen page.
TEST(XhtmlGueltig, SavedPagesWithTheirOwnContents) {
    for (const char* modus : {kModusHPNeu, kModusNZAlt}) {
        for (const bool fixiert : {false, true}) {
            SCOPED_TRACE(std::string(modus) + (fixiert ? " fixed" : ""));
            test::TempOrdner t;
            Projektdaten daten = Site();
            daten.Modus = modus;
            daten.Zielordner = t.pfad();
            daten.BannerDatei.clear();
            daten.ButtonGrafik.Setzen(1, "");
            if (daten.Modus == kModusNZAlt) std::swap(daten.Seitenzahl, daten.ImportAnzahl);
            std::filesystem::create_directory(t / "Alt");
            test::Schreiben(t / "Alt/Seite1.html", "<p>Alt</p>");
            test::Schreiben(t / "Foto 1.jpg", "foto");
            daten.InhaltBilder = {t / "Foto 1.jpg"};
            for (int i = 1; i <= 3; ++i)
                daten.ImportSeiten.Setzen(i, Felder(false).links[i - 1].seite);
            daten.Seiteninhalte.Setzen(1, {W("Über \"uns\" & <euch> – 2024"), "", std::nullopt});
            daten.Seiteninhalte.Setzen(2,
                                       {"", W("Wandern, Lesen & \"Kochen\" <3 €"), kEditorInhalt});
            daten.Seiteninhalte.Setzen(3, {"Drei", "Drei", ""});
            const ErzeugterCode code = CodeErzeugen(daten, Felder(fixiert));
            DateienErzeugen(daten, code, fixiert);
            EXPECT_EQ(test::Lesen(t / "Neu/img/Foto 1.jpg"), "foto");
            const bool importiert = daten.Modus == kModusNZAlt;
            for (int i = 1; i <= 3; ++i) {
                const std::string name = daten.ImportSeiten[i];
                const std::string datei =
                    t / ("Neu/" + std::string(daten.Modus == kModusNZAlt ? "_" : "") + name);
                std::string seite = test::Lesen(datei);
                EXPECT_EQ(seite.find(kEditorInhalt) != std::string::npos, i == 2);
                EXPECT_EQ(seite.find("<p>Alt</p>") != std::string::npos, importiert && i == 1);
                EXPECT_EQ(seite.find("<h1>Lorem ipsum</h1>") != std::string::npos,
                          i == 3 || (!importiert && i == 1));
                if (!importiert) {
                    EXPECT_EQ(seite, SeiteAusCode(daten, code, i));
                }
                if (importiert) seite = LinksImKopf(seite);
                const auto p = MitXmllint(seite);
                EXPECT_EQ(p.status, 0) << name << "\n" << p.ausgabe;
            }
            VorschauSchreiben(daten, code, fixiert, false, "", 2);
            EXPECT_NE(test::Lesen(t / "Test.html")
                          .find("<p><img src=\"file://" + t.pfad() + "/Foto%201.jpg\""),
                      std::string::npos);
            VorschauSchreiben(daten, code, fixiert, false, "", 1);
            EXPECT_EQ(test::Lesen(t / "Test.html").find("<p>Alt</p>") != std::string::npos,
                      importiert);
        }
    }
}

// Guards the check itself: a quote left raw in a title must be rejected.
TEST(XhtmlGueltig, RawQuoteIsRejected) {
    std::string seite = CodeErzeugen(Site(), Felder(false)).seite;
    Ersetzen(seite, "&quot;Hallo&quot;", "\"Hallo\"");
    const auto p = MitXmllint(seite);
    EXPECT_NE(p.status, 0) << p.ausgabe;
    EXPECT_NE(p.status, 127) << "xmllint missing:\n" << p.ausgabe;
}

}  // namespace
}  // namespace lw
