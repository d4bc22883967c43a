// Writes the seed files of the fuzz corpora: small valid pictures and the
// hostile variants the decoder must refuse cheaply, a provider start page and
// provider pages with every marker, and pages for the merge.
// Usage: fuzz_saat <corpus folder>   (writes <folder>/fuzz_bild, ...)
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/Bildmuster.h"

namespace {

namespace fs = std::filesystem;
namespace test = lw::test;

void Schreiben(const fs::path& datei, const std::string& bytes) {
    fs::create_directories(datei.parent_path());
    std::ofstream aus(datei, std::ios::binary | std::ios::trunc);
    aus.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!aus.flush()) throw std::runtime_error("cannot write " + datei.string());
}

// --- Pictures -------------------------------------------------------------

std::string Jpeg(int seite, bool progressiv, bool jeBitEinScan, int komponenten = 3,
                 bool alsYcck = false) {
    test::JpegMuster m;
    m.breite = m.hoehe = seite;
    m.komponenten = jeBitEinScan ? 1 : komponenten;
    m.alsYcck = alsYcck;
    m.pixel.resize(static_cast<std::size_t>(seite) * seite * m.komponenten);
    for (std::size_t i = 0; i < m.pixel.size(); ++i)
        m.pixel[i] = static_cast<std::uint8_t>((i * 37) & 0xFF);
    m.progressiv = progressiv;
    m.jeBitEinScan = jeBitEinScan;
    return test::JpegKodieren(m);
}

// A 4 x 4 picture with four colours, one of them transparent.
std::string Gif(bool interlaced) {
    test::GifMuster m;
    m.schirmBreite = m.schirmHoehe = m.breite = m.hoehe = 4;
    m.farben = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    m.transparent = 3;
    m.interlaced = interlaced;
    for (int y = 0; y < 4; ++y)
        m.indizes.insert(m.indizes.end(), {0, 1, 2, static_cast<std::uint8_t>(y & 3)});
    return test::GifKodieren(m);
}

// A 4 x 4 palette picture, two entries partly transparent.
std::string Png(bool interlaced) {
    test::PngMuster m;
    m.breite = m.hoehe = 4;
    m.farbtyp = 3;
    m.bittiefe = 2;
    m.interlaced = interlaced;
    m.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    m.paletteAlpha = {255, 128, 0};
    for (int i = 0; i < 16; ++i) m.werte.push_back(static_cast<std::uint16_t>(i * 3 % 4));
    return test::PngKodieren(m);
}

// A 3 x 2 picture of 16-bit samples with alpha.
std::string Png16() {
    test::PngMuster m;
    m.breite = 3;
    m.hoehe = 2;
    m.farbtyp = 6;
    m.bittiefe = 16;
    for (int i = 0; i < 24; ++i) m.werte.push_back(static_cast<std::uint16_t>(i * 2731));
    return test::PngKodieren(m);
}

// --- Provider pages ------------------------------------------------------

std::string MenueLink(const std::string& ziel) {
    return "<tr><td><a href=\"" + ziel + "\"><img src=\"data/pics/m" + ziel.substr(0, 1) +
           ".png\" border=\"0\"></a></td></tr>\n";
}

// A provider page of the design "Neutral 5" with the contents between the
// frame, the advertising blocks and the counter.
std::string AnbieterSeite(const std::string& kopf, const std::string& inhalt) {
    std::string rahmenRest = "tp008/pa1.png\" width=\"600\" valign=\"top\"";
    rahmenRest.resize(86, ' ');
    std::string nachKopf = "<br><!-- Werbung Ende -->";
    nachKopf.resize(61, ' ');
    std::string vorFuss = "<br><!-- Werbung Anfang -->";
    vorFuss.resize(65, ' ');
    const std::string skript = "http://werbung.netzhof.de/adx.js";
    return "<html><head>" + kopf +
           "</head><body><table><tr><td background=\"data/tdef/tp008/pa0.png\"><table>\n"
           "</td></tr></table></td><td background=\"data/tdef/" +
           rahmenRest + "><center>\n<script src=\"" + skript +
           "\"></script>\n<noscript>Werbung</noscript>\n</center>" + nachKopf + inhalt + vorFuss +
           "<center>\n<script src=\"" + skript +
           "\"></script></center><br><br>  <script language=\"JavaScript\" "
           "src=\"data/jsdef/count.js\"></script>\n</td></tr></table></body></html>";
}

void Korpus(const fs::path& wurzel) {
    const fs::path bild = wurzel / "fuzz_bild";
    const std::string jpeg = Jpeg(8, false, false);
    Schreiben(bild / "jpeg_klein.jpg", jpeg);
    Schreiben(bild / "jpeg_progressiv.jpg", Jpeg(16, true, false));
    Schreiben(bild / "jpeg_viele_scans.jpg", Jpeg(8, true, true));
    Schreiben(bild / "jpeg_abgeschnitten.jpg", jpeg.substr(0, jpeg.size() * 2 / 3));
    // Four inks with Adobe's marker, stored as they are and as YCCK.
    Schreiben(bild / "jpeg_cmyk.jpg", Jpeg(8, false, false, 4));
    Schreiben(bild / "jpeg_ycck.jpg", Jpeg(16, true, false, 4, true));

    const std::string gif = Gif(false);
    Schreiben(bild / "gif_klein.gif", gif);
    Schreiben(bild / "gif_zeilensprung.gif", Gif(true));
    // Width and height follow the ',' and the left and top position.
    std::string riesig = gif;
    test::Setze16(riesig, test::FrameKopfPosition(riesig) + 5, 65535, false);
    test::Setze16(riesig, test::FrameKopfPosition(riesig) + 7, 65535, false);
    Schreiben(bild / "gif_rahmen_65535.gif", riesig);
    std::string flach = gif;
    test::Setze16(flach, test::FrameKopfPosition(flach) + 7, 0, false);
    Schreiben(bild / "gif_hoehe_0.gif", flach);
    std::string schirmFlach = gif;
    test::Setze16(schirmFlach, 8, 0, false);
    Schreiben(bild / "gif_schirm_hoehe_0.gif", schirmFlach);

    const std::string png = Png(false);
    Schreiben(bild / "png_palette.png", png);
    Schreiben(bild / "png_zeilensprung.png", Png(true));
    Schreiben(bild / "png_16bit_alpha.png", Png16());
    Schreiben(bild / "png_abgeschnitten.png", png.substr(0, png.size() * 2 / 3));
    // The width sits right behind the IHDR chunk's length and type.
    std::string pngRiesig = png;
    const std::size_t ihdr = test::PngChunkPosition(pngRiesig, "IHDR");
    test::Setze16(pngRiesig, ihdr + 8, 0x7FFF, true);
    test::PngCrcErneuern(pngRiesig, ihdr);
    Schreiben(bild / "png_breite_riesig.png", pngRiesig);

    const std::string generator =
        "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.de/\">";
    const fs::path import = wurzel / "fuzz_import";
    Schreiben(import / "startseite.html",
              AnbieterSeite(generator, MenueLink("index.html") + MenueLink("hobby.html") +
                                           MenueLink("info.htm") + MenueLink("kontakt.html") +
                                           "<h1>Willkommen</h1>\r\n<p>Sch\xC3\xB6n!</p>"));
    Schreiben(import / "anbieterseite.html",
              AnbieterSeite(generator,
                            "<img src=\"data/pics/impress.png\" alt=\"\">"
                            "<h1>Haftungsauschluss (Disclaimer)</h1><h1>Kontaktformular</h1>"
                            "<form action=\"http://gaestebuch.netzhof.de/guestbook.php\" "
                            "method=\"POST\"></form>"));
    Schreiben(import / "inhalt.html", AnbieterSeite("", "<p>Hobbys</p>\n<center>Bild</center>"));

    // Merge pages: options, links ("text\ttooltip\tname" separated by '|'),
    // then the banner's alt and title, then the contents.
    const fs::path merge = wurzel / "fuzz_merge";
    Schreiben(merge / "fixiert.txt",
              "\x01Start\tZur Startseite\tindex.html|Hobby\t\thobby.html|Kontakt\tSo "
              "erreichen Sie mich\tkontakt.html\n\n<h2>Hobbys</h2>\r\n<p>T\xC3\xBCr und "
              "\xFC</p>\r\n");
    Schreiben(merge / "offen_banner.txt",
              std::string("\x02<b>Start</b>\tDer \"Anfang\" & mehr\tindex.html|"
                          "Leistenwerk\t&amp; Co\tok..name.html\n"
                          "Kopf & Bild\t<neu> \"Banner\"\n") +
                  "<p>Leistenwerk &amp; <meta name=\"generator\" content=\"Leistenwerk\" /></p>");
    Schreiben(merge / "rahmenersatz.txt",
              "\x03Impressum\t\t.html\n\n<iframe src=\"impressum.html\" "
              "frameborder=\"0\"></iframe>");
    Schreiben(merge / "neu_fixiert_banner.txt",
              "\x07Seite 1\tTipp\tSeite1.html|Seite 2\t\ta\"b&c<d.html\nAlt\tTitel\n"
              "<p>Inhalt</p>\r\n");

    // Text in both encodings, and UTF-8 that must not pass as ASCII.
    const fs::path zeichen = wurzel / "fuzz_zeichensatz";
    Schreiben(zeichen / "utf8.txt",
              "T\xC3\xBCr \xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C "
              "\xF0\x9F\x98\x80 \xE6\x97\xA5");
    Schreiben(zeichen / "cp1252.txt", "T\xFCr \x80 \x84\x93 \x81\x8D\x8F\x90\x9D \xFF");
    Schreiben(zeichen / "schief.txt",
              "a\xC0\xAF\xC0\x80\xE0\x80\xAF\xF0\x80\x80\xAF\xED\xA0\x80"
              "\xF4\x90\x80\x80\x80\xBF\xC3z\xF8\x88\x80\x80\x80");

    // Menu link targets, then what the provider answers for every address.
    const fs::path namen = wurzel / "fuzz_seitennamen";
    Schreiben(namen / "menue.txt",
              "index.html\nhobby.html\nT\xFCr.html\nkontakt.htm\n\n"
              "<p>Urlaub <img src=\"data/pics/urlaub.jpg\"> "
              "<td background='data/pics/grund.gif'></p>");
    Schreiben(namen / "feindlich.txt",
              "../../boese.html\n/tmp/x.html\nname/../../y.html\n..\n.html\nCON.html\n"
              "a\\b.html\nindex.html\nindex.html\n\n"
              "<img src=\"../../x.jpg\"><img src=\"/abs.gif\"><img src=\"a/./b.png?x\">");

    // Contents as the programs put them on the clipboard, and as a page holds them.
    const fs::path inhalt = wurzel / "fuzz_inhalt";
    Schreiben(inhalt / "word.html",
              "Version:0.9\r\nStartHTML:0000000105\r\n<html xmlns:o=\"urn:x\"><head><!--[if gte "
              "mso 9]><xml><o:x/></xml><![endif]--><style><!-- p {} --></style></head><body>"
              "<!--StartFragment--><p class=MsoTitle>Titel<o:p></o:p></p><p "
              "class=MsoListParagraphCxSpFirst style='mso-list:l0 level1 lfo1'><![if "
              "!supportLists]><span style='mso-list:Ignore'>1.&nbsp;</span><![endif]>Eins</p><p "
              "class=MsoListParagraphCxSpLast style='mso-list:l0 level2 lfo1'><!--[if "
              "!supportLists]-->o<!--[endif]-->Zwei</p><p class=MsoNormal><b>fett</b><br><![if "
              "!supportLineBreakNewLine]><br><![endif]><img width=12 height=8 "
              "src=\"file:///C:/a.png\" alt=x></p><table border=1 cellpadding=0><tr><td><p>A"
              "</td><th>B</table><!--EndFragment--></body></html>");
    Schreiben(inhalt / "docs.html",
              "<meta charset=\"utf-8\"><b style=\"font-weight:normal;\" id=\"docs-internal-guid-1\">"
              "<h1><span style=\"font-weight:400\">T</span></h1><p><span "
              "style=\"font-weight:700;font-style:italic;text-decoration:underline\">a</span></p><ul>"
              "<li><p>x</p></li><ul><li>y</li></ul></ul><img src=\"https://x/y.png\"></b><br>");
    Schreiben(inhalt / "qt.html",
              "<html><head><style>p {}</style></head><body><h1><span "
              "style=\" font-weight:700;\">H</span></h1><p style=\"-qt-paragraph-type:empty\"><br "
              "/></p><ul style=\"-qt-list-indent: 1;\"><li>a</li></ul><ol style=\"-qt-list-indent: "
              "3;\"><li>b</li></ol><a href=\"x.html\"><span style=\"text-decoration: "
              "underline\">l</span></a><table border=\"1\" cellpadding=\"4\"><tr><td><p>c</p>"
              "<p>d</p></td></tr></table><hr /></body></html>");
    Schreiben(inhalt / "feindlich.html",
              "<p onclick=x>a<script>b</script><a href=\"java&#9;script&colon;c\">d</a><img "
              "src=data:image/png,x><iframe>e</iframe><p>&#0;&#x110000;&#128;&notin &amp\x01"
              "<div><div><div><li><td><tr><table><b><i><u><a href=/>f</table>\xC3\xA4\xFC");
    Schreiben(inhalt / "seite.txt",
              "        <h1>&Uuml;ber mich</h1>\r\n        <ul>\r\n          <li>a\r\n            "
              "<ol>\r\n              <li>b</li>\r\n            </ol>\r\n          </li>\r\n        "
              "</ul>\r\n        <p><a href=\"x.html\" title=\"&quot;\"><strong>c</strong></a></p>\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_saat <corpus folder>\n";
        return 2;
    }
    try {
        Korpus(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "fuzz_saat: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
