#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/Code.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "output/Vorschau.h"
#include "tests/support/TempOrdner.h"

// The site writer and the preview on the texts the code tab really shows.
namespace lw {
namespace {

namespace fs = std::filesystem;

std::size_t Anzahl(const std::string& text, const std::string& teil) {
    std::size_t n = 0;
    for (auto p = text.find(teil); p != std::string::npos; p = text.find(teil, p + 1)) ++n;
    return n;
}

CodeEingaben Menue(bool fixiert) {
    CodeEingaben e;
    e.menueFixiert = fixiert;
    return e;
}

Projektdaten Bilder(const test::TempOrdner& t) {
    Projektdaten d;
    fs::create_directories(t / "Bilder");
    for (const char* bild : {"kopf.jpg", "stein.gif", "knopf.gif"})
        test::Schreiben(t / "Bilder/" + bild, bild);
    d.BannerDatei = t / "Bilder/kopf.jpg";
    d.HintergrundBild = t / "Bilder/stein.gif";
    d.ButtonGrafik.Setzen(1, t / "Bilder/knopf.gif");
    d.ButtonGrafik.Setzen(2, t / "Bilder/knopf.gif");
    d.ButtonHoehe.Setzen(1, 30);
    d.ButtonBreite.Setzen(1, 120);
    return d;
}

TEST(SiteAusCodeErzeugen, ImportedPagesKeepTheirContentsAndCloseTheirBlocks) {
    for (const bool fixiert : {true, false}) {
        SCOPED_TRACE(fixiert ? "fixed menu" : "menu not fixed");
        test::TempOrdner t;
        Projektdaten d = Bilder(t);
        d.Modus = kModusNZAlt;
        d.Zielordner = t.pfad();
        d.ImportAnzahl = 2;
        d.ImportSeiten.Setzen(1, "index.html");
        d.ImportSeiten.Setzen(2, "kontakt.html");
        fs::create_directory(t / "Alt");
        test::Schreiben(t / "Alt/index.html", "<div><p>Start</p></div>");
        test::Schreiben(t / "Alt/kontakt.html",
                        "<p>Gr\xC3\xBC\xC3\x9F"
                        "e</p>");
        DateienErzeugen(d, CodeErzeugen(d, Menue(fixiert)), fixiert);

        const std::string kontakt = test::Lesen(t / "Neu/_kontakt.html");
        EXPECT_NE(kontakt.find("<meta name=\"generator\" content=\"_kontakt\" />"),
                  std::string::npos);
        EXPECT_NE(kontakt.find("<a href=\"_index.html\""), std::string::npos);
        EXPECT_NE(kontakt.find("<div id=\"Inhalt\">\r\n<p>Gr&uuml;&szlig;e</p>\r\n"),
                  std::string::npos);
        EXPECT_EQ(kontakt.find("Lorem ipsum"), std::string::npos);
        const std::string index = test::Lesen(t / "Neu/_index.html");
        EXPECT_EQ(Anzahl(index, "<div"), Anzahl(index, "</div>"));
        EXPECT_TRUE(index.ends_with(
            W("</div>\r\n              </div>\r\n\r\n      <!-- Hier endet der Block für den "
              "Seiteninhalt //-->\r\n\r\n") +
            (fixiert ? "    </div>\r\n" : "") + "\r\n  </body>\r\n</html>\r\n"));
        EXPECT_EQ(test::Lesen(t / "Neu/img/knopf.gif"), "knopf.gif");
        EXPECT_EQ(fs::exists(t / "Neu/css/ie.css"), fixiert);
    }
}

// Each page with its own title and the editor's text; an imported page's
// text takes the place of its contents file, which is left alone.
TEST(SiteAusCodeErzeugen, PagesGetTheirOwnTitleAndContents) {
    for (const char* modus : {kModusHPNeu, kModusNZAlt}) {
        SCOPED_TRACE(modus);
        test::TempOrdner t;
        Projektdaten d;
        d.Modus = modus;
        d.Zielordner = t.pfad();
        (d.Modus == kModusNZAlt ? d.ImportAnzahl : d.Seitenzahl) = 3;
        fs::create_directory(t / "Alt");
        for (const char* name : {"a.html", "b.html", "c.html"}) {
            d.ImportSeiten.Setzen(static_cast<int>(name[0] - 'a' + 1), name);
            test::Schreiben(t / "Alt/" + name, std::string("<p>Alt ") + name + "</p>");
        }
        d.ButtonHoehe.Setzen(1, 30);
        d.ButtonBreite.Setzen(1, 120);
        test::Schreiben(t / "Mein Foto.jpg", "foto");
        d.InhaltBilder = {t / "Mein Foto.jpg"};
        d.Seiteninhalte.Setzen(2,
                               {W("Über"), "",
                                "        <p>Neu</p>\r\n        <p><img src=\"img/Mein%20Foto.jpg\" "
                                "alt=\"F\" width=\"1\" height=\"1\" /></p>\r\n"});
        d.Seiteninhalte.Setzen(3, {"", "Drei", std::nullopt});
        const ErzeugterCode code = CodeErzeugen(d, Menue(false));
        DateienErzeugen(d, code, false);
        const std::string v = d.Modus == kModusNZAlt ? "Neu/_" : "Neu/";
        const std::string a = test::Lesen(t / v + "a.html");
        const std::string b = test::Lesen(t / v + "b.html");
        const std::string c = test::Lesen(t / v + "c.html");
        EXPECT_NE(b.find("<title>&Uuml;ber</title>"), std::string::npos);
        EXPECT_NE(b.find("<div id=\"Inhalt\">\r\n        <p>Neu</p>\r\n"), std::string::npos);
        EXPECT_EQ(Anzahl(a + b + c, "<meta name=\"description\" content=\"Drei\" />"), 1u);
        if (d.Modus == kModusHPNeu) {
            EXPECT_EQ(a, code.seite);
            EXPECT_EQ(b, SeiteAusCode(d, code, 2));
            EXPECT_EQ(Anzahl(c, "<h1>Lorem ipsum</h1>"), 1u);
        } else {
            EXPECT_EQ(Anzahl(a + c, "<p>Alt "), 2u);
            EXPECT_EQ(b.find("Alt"), std::string::npos);
            EXPECT_EQ(test::Lesen(t / "Alt/b.html"), "<p>Alt b.html</p>");
        }
        EXPECT_EQ(test::Lesen(t / "Neu/img/Mein Foto.jpg"), "foto");
        VorschauSchreiben(d, code, false, false, "", 2);
        const std::string test2 = test::Lesen(t / "Test.html");
        EXPECT_NE(test2.find("<title>&Uuml;ber</title>"), std::string::npos);
        EXPECT_NE(test2.find("<p><img src=\"file://" + t.pfad() + "/Mein%20Foto.jpg\""),
                  std::string::npos);
        // A page without the editor's text shows what the save keeps.
        VorschauSchreiben(d, code, false, false, "", 1);
        EXPECT_EQ(Anzahl(test::Lesen(t / "Test.html"), "<p>Alt a.html</p>"),
                  d.Modus == kModusNZAlt ? 1u : 0u);
    }
}

TEST(SiteAusCodeErzeugen, PreviewLeavesNoReferenceIntoTheUnsavedSite) {
    test::TempOrdner t;
    Projektdaten d = Bilder(t);
    d.Modus = kModusHPNeu;
    d.Zielordner = t.pfad();
    d.Seitenzahl = 2;
    VorschauSchreiben(d, CodeErzeugen(d, Menue(true)), true, false, "");
    const std::string seite = test::Lesen(t / "Test.html");
    const std::string css = test::Lesen(t / "Test.css");
    EXPECT_NE(seite.find("href=\"TestIE.css\""), std::string::npos);
    EXPECT_NE(seite.find("href=\"Test.css\""), std::string::npos);
    EXPECT_NE(seite.find("<img src=\"file://" + (t / "Bilder/kopf.jpg") + "\""), std::string::npos);
    EXPECT_EQ(seite.find("css/"), std::string::npos);
    EXPECT_EQ(Anzahl(css, "url(file://" + t.pfad() + "/Bilder/"), 2u);
    EXPECT_EQ(css.find("../img/"), std::string::npos);
}

}  // namespace
}  // namespace lw
