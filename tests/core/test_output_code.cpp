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
