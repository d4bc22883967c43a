// Writes a small site the way "Speichern + Schließen" does, with pictures of
// its own, so that the browser test can look at real saved files. The
// pictures' names hold blanks, quotes, brackets and '&', which the page and
// the stylesheet must carry as addresses.
// With "import" it first takes over a homepage from the loopback provider
// (pictures in the contents, among them names a web server must decode,
// characters beyond Latin-1 in UTF-8, a page in Windows-1252, a page the
// provider does not deliver) and saves that, the menu fixed. With "handy" the
// site has the phone layout.
// Usage: lw_beispielseite <folder> <menu fixed 0|1> <banner 0|1> <graphics 0|1> [handy] [import]
#include <QBuffer>
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <string>

#include "codegen/Code.h"
#include "common/Fehler.h"
#include "common/Text.h"
#include "import/Import.h"
#include "output/DateiErzeugung.h"
#include "pictures/Bild.h"
#include "tests/support/Bildmuster.h"
#include "tests/support/HttpServer.h"

namespace {

bool BildSchreiben(const QString& pfad, int breite, int hoehe, const QColor& farbe) {
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(farbe);
    QPainter maler(&bild);
    maler.setPen(Qt::white);
    maler.drawRect(2, 2, breite - 5, hoehe - 5);
    maler.end();
    return bild.save(pfad);  // the format follows the name's ending
}

// A page as the provider frames it: the contents stand between the frame's
// cell and the counter, which the import cuts away.
std::string AnbieterSeite(const std::string& kopf, const std::string& inhalt) {
    std::string rahmen = "tp008/pa1.png\" width=\"600\" valign=\"top\"";
    rahmen.resize(86, ' ');
    return "<html><head>" + kopf +
           "</head><body><table><tr><td></td></tr></table></td><td background=\"data/tdef/" +
           rahmen + ">" + inhalt +
           "<br><br>  <script language=\"JavaScript\" src=\"data/jsdef/count.js\"></script>\n"
           "</td></tr></table></body></html>";
}

std::string MenueLink(const std::string& ziel) {
    return "<tr><td><a href=\"" + ziel +
           "\"><img src=\"data/pics/m.png\" border=\"0\"></a></td></tr>\n";
}

// Imports the homepage of "anna" from a loopback provider into ordner/Alt and
// saves it into ordner/Neu; gives the first page's path, or "" with the reason
// on stderr.
std::string ImportierteSite(const std::string& ordner, bool handy) {
    lw::test::HttpServer server;
    lw::test::ProxyUmgebung umleitung{server};
    const std::string anbieter = "http://www.anna.netzhof-download.de/";

    lw::test::JpegMuster urlaub;
    urlaub.breite = 240;
    urlaub.hoehe = 360;
    urlaub.pixel = lw::test::Haelften(240, 360, {40, 120, 200}, {230, 180, 60});
    lw::test::GifMuster grund;
    grund.schirmBreite = grund.breite = 16;
    grund.schirmHoehe = grund.hoehe = 16;
    grund.farben = {{250, 240, 200}, {200, 160, 90}};
    for (int i = 0; i < 16 * 16; ++i)
        grund.indizes.push_back(static_cast<std::uint8_t>(i % 3 == 0));
    server.Setzen(anbieter + "data/pics/urlaub.jpg",
                  lw::test::Antwort::Seite(lw::test::JpegKodieren(urlaub)));
    server.Setzen(anbieter + "data/pics/grund.gif",
                  lw::test::Antwort::Seite(lw::test::GifKodieren(grund)));
    server.Setzen(anbieter + "data/pics/reise/karte.gif",
                  lw::test::Antwort::Seite(lw::test::GifKodieren(grund)));
    // The names as a browser asks for them: the pages write them in UTF-8,
    // in Windows-1252, with %20 and with &amp;.
    server.Setzen(anbieter + "data/pics/Gr%C3%B6%C3%9Fe.jpg",
                  lw::test::Antwort::Seite(lw::test::JpegKodieren(urlaub)));
    server.Setzen(anbieter + "B%C3%A4ren.gif",
                  lw::test::Antwort::Seite(lw::test::GifKodieren(grund)));
    server.Setzen(anbieter + "a&b.jpg", lw::test::Antwort::Seite(lw::test::JpegKodieren(urlaub)));
    QImage png(32, 24, QImage::Format_RGB32);
    png.fill(QColor(90, 160, 60));
    QBuffer pngBytes;
    pngBytes.open(QIODevice::WriteOnly);
    png.save(&pngBytes, "PNG");
    server.Setzen(anbieter + "mein%20bild.png",
                  lw::test::Antwort::Seite(pngBytes.data().toStdString()));

    const std::string kopf =
        "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.de/\">"
        "<table><tr><td background=\"data/tdef/tp008/pa0.png\"><table>\n" +
        MenueLink("index.html") + MenueLink("hobby.html") + MenueLink("reise.html") +
        MenueLink("fehlt.html") + "</table>";
    // é € „“ and the en dash in UTF-8, as the provider's pages carry them.
    const std::string start =
        "<h1>Willkommen bei Anna</h1>\n<p>Zeichen: \xC3\xA9 \xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C "
        "\xE2\x80\x93 Gr\xC3\xBC\xC3\x9F"
        "e</p>\n<p><img src=\"data/pics/urlaub.jpg\" width=\"240\" height=\"360\" "
        "alt=\"Urlaub\"></p>\n<p><img src=\"mein%20bild.png\" alt=\"Bild\"> "
        "<img src=\"a&amp;b.jpg\" alt=\"a und b\"></p>";
    server.Setzen(anbieter + "index.html", lw::test::Antwort::Seite(AnbieterSeite(kopf, start)));
    server.Setzen(anbieter + "hobby.html",
                  lw::test::Antwort::Seite(AnbieterSeite(
                      "",
                      "<table><tr><td background=\"data/pics/grund.gif\" width=\"300\" "
                      "height=\"120\">Garten</td></tr></table>\n<p><IMG SRC='data/pics/"
                      "urlaub.jpg' alt=''></p>\n<p>Der B\xE4r: <img src=\"B\xE4ren.gif\" "
                      "alt=\"B\xE4r\"></p>")));
    server.Setzen(anbieter + "reise.html",
                  lw::test::Antwort::Seite(
                      AnbieterSeite("",
                                    "<p>Caf\xC3\xA9 in Paris f\xC3\xBCr 3 \xE2\x82\xAC</p>\n"
                                    "<p><img src=\"data/pics/reise/karte.gif\" alt=\"Karte\"> "
                                    "<img src=\"data/pics/Gr\xC3\xB6\xC3\x9F"
                                    "e.jpg\" alt=\"Gr\xC3\xB6\xC3\x9F"
                                    "e\"></p>")));

    lw::Projektdaten daten;
    daten.Modus = lw::kModusNZAlt;
    daten.Zielordner = ordner;
    daten.HandyAnsicht = handy;
    daten.ButtonBreite.Setzen(1, 170);
    daten.ButtonHoehe.Setzen(1, 50);
    lw::LadeSitzung sitzung;
    const std::string startseite = sitzung.Laden(lw::StartseitenAdresse("anna"));
    if (lw::StartseitePruefen(startseite) != lw::StartseitenBefund::Gueltig) {
        std::fprintf(stderr, "Startseite nicht erkannt\n");
        return {};
    }
    lw::AltOrdnerErzeugen(ordner);
    lw::ImportRueckmeldung rueckmeldung;
    rueckmeldung.sitzung = &sitzung;
    const lw::ImportErgebnis ergebnis =
        lw::SeitenImportieren(daten, startseite, "anna", rueckmeldung);
    // The one page that did not come must be the only failure.
    const std::string meldung = lw::MeldungFehlgeschlagen(ergebnis);
    if (ergebnis.fehlgeschlagen.size() != 1 || ergebnis.fehlgeschlagen[0].name != "fehlt.html" ||
        daten.ImportAnzahl != 4 || daten.ImportBilder.size() != 7) {
        std::fprintf(stderr, "Import unerwartet: %d Seiten, %zu Bilder\n%s\n", daten.ImportAnzahl,
                     daten.ImportBilder.size(), meldung.c_str());
        return {};
    }

    lw::CodeEingaben eingaben;
    eingaben.menueFixiert = true;
    for (int i = 1; i <= daten.ImportAnzahl; ++i) {
        const std::string& name = daten.ImportSeiten[i];
        eingaben.links.push_back({name, lw::NameOhneEndung(name), "Zu " + name});
    }
    lw::DateienErzeugen(daten, lw::CodeErzeugen(daten, eingaben), true);
    return ordner + "/Neu/_index.html";
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bool handy = false, import = false, gueltig = argc >= 5;
    for (int i = 5; i < argc; ++i) {
        const std::string art = argv[i];
        handy = handy || art == "handy";
        import = import || art == "import";
        gueltig = gueltig && (art == "handy" || art == "import");
    }
    if (!gueltig) {
        std::fprintf(stderr, "Aufruf: lw_beispielseite <Ordner> <fixiert> <banner> <grafik> "
                             "[handy] [import]\n");
        return 2;
    }
    const std::string ordner = argv[1];
    if (import) {
        try {
            const std::string seite = ImportierteSite(ordner, handy);
            if (seite.empty()) return 1;
            std::printf("%s\n", seite.c_str());
            return 0;
        } catch (const lw::Fehler& f) {
            std::fprintf(stderr, "%s\n", f.what());
            return 1;
        }
    }
    const bool fixiert = std::string(argv[2]) == "1";
    const bool banner = std::string(argv[3]) == "1";
    const bool grafik = std::string(argv[4]) == "1";

    lw::Projektdaten daten;
    daten.Modus = lw::kModusHPNeu;
    daten.Seitenzahl = 4;
    daten.Zielordner = ordner;
    daten.HandyAnsicht = handy;
    daten.ButtonBreite.Setzen(1, 170);
    daten.ButtonHoehe.Setzen(1, 50);
    lw::CodeEingaben eingaben;
    eingaben.menueFixiert = fixiert;
    eingaben.eineGrafikFuerAlle = grafik;
    for (int i = 1; i <= daten.Seitenzahl; ++i) {
        const std::string nr = std::to_string(i);
        eingaben.links.push_back({"Seite" + nr + ".html", "Seite " + nr, "Zur Seite " + nr});
        daten.ImportSeiten.Setzen(i, "Seite" + nr + ".html");
    }
    // Page 1 has contents wider than a phone: a picture and a table of long words.
    daten.Seiteninhalte.Setzen(
        1, {{},
            {},
            "        <h1>Breite Inhalte</h1>\r\n"
            "        <p><img src=\"img/breit.png\" alt=\"Ein breites Bild\" width=\"800\" "
            "height=\"300\" /></p>\r\n"
            "        <table border=\"1\" cellpadding=\"4\">\r\n"
            "          <tr>\r\n"
            "            <th>Donaudampfschifffahrtsgesellschaft</th>\r\n"
            "            <th>Kapit&auml;nsm&uuml;tzenabzeichen</th>\r\n"
            "            <th>Rechtsschutzversicherungsgesellschaften</th>\r\n"
            "          </tr>\r\n"
            "          <tr>\r\n"
            "            <td>Grundst&uuml;cksverkehrsgenehmigungszust&auml;ndigkeit</td>\r\n"
            "            <td>Lorem ipsum dolor sit amet, consectetuer adipiscing elit.</td>\r\n"
            "            <td>https://www.example.com/ein/sehr/langer/pfad/ohne/leerzeichen</td>\r\n"
            "          </tr>\r\n"
            "        </table>\r\n"});
    if (banner) {
        // A PNG banner, measured as the settings page measures it.
        daten.BannerDatei = ordner + "/Tom & Jerry (neu).png";
        if (!BildSchreiben(QString::fromStdString(daten.BannerDatei), 468, 60, QColor(40, 90, 160)))
            return 3;
    }
    if (grafik) {
        daten.ButtonGrafik.Setzen(1, ordner + "/Knopf \"rund\" (1).jpg");
        daten.HintergrundBild = ordner + "/Stein it's hell.jpg";
        if (!BildSchreiben(QString::fromStdString(daten.ButtonGrafik[1]), 170, 50,
                           QColor(200, 120, 40)) ||
            !BildSchreiben(QString::fromStdString(daten.HintergrundBild), 64, 64,
                           QColor(230, 230, 200)))
            return 3;
    }
    try {
        if (banner) {
            const lw::Bild bild = lw::BildLaden(daten.BannerDatei);
            daten.BannerBreite = bild.breite;
            daten.BannerHoehe = bild.hoehe;
        }
        const lw::ErzeugterCode code = lw::CodeErzeugen(daten, eingaben);
        lw::DateienErzeugen(daten, code, fixiert);
        // The picture of page 1's own contents, where the save puts it.
        if (!BildSchreiben(QString::fromStdString(ordner + "/Neu/img/breit.png"), 800, 300,
                           QColor(60, 130, 60)))
            return 3;
    } catch (const lw::Fehler& f) {
        std::fprintf(stderr, "%s\n", f.what());
        return 1;
    }
    std::printf("%s/Neu/Seite1.html\n", ordner.c_str());
    return 0;
}
