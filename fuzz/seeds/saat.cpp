// Writes the seed files of the fuzz corpora: small valid pictures and the
// hostile variants the decoder must refuse cheaply, a provider start page and
// provider pages with every marker, and pages for the merge.
// Usage: fuzz_saat <corpus folder>   (writes <folder>/fuzz_bild, ...)
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace {

namespace fs = std::filesystem;

void Schreiben(const fs::path& datei, const std::string& bytes) {
    fs::create_directories(datei.parent_path());
    std::ofstream aus(datei, std::ios::binary | std::ios::trunc);
    aus.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!aus.flush()) throw std::runtime_error("cannot write " + datei.string());
}

// --- JPEG ---------------------------------------------------------------

struct JpegArt {
    int breite = 8;
    int hoehe = 8;
    bool progressiv = false;
    bool jeBitEinScan = false;  // grey, one scan per coefficient and bit: 128 scans
};

std::string JpegKodieren(const JpegArt& art) {
    jpeg_compress_struct c{};
    jpeg_error_mgr fehler{};
    c.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&c);
    unsigned char* puffer = nullptr;
    unsigned long groesse = 0;
    jpeg_mem_dest(&c, &puffer, &groesse);
    c.image_width = static_cast<JDIMENSION>(art.breite);
    c.image_height = static_cast<JDIMENSION>(art.hoehe);
    const int komponenten = art.jeBitEinScan ? 1 : 3;
    c.input_components = komponenten;
    c.in_color_space = komponenten == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 75, TRUE);
    if (art.progressiv) jpeg_simple_progression(&c);
    std::vector<jpeg_scan_info> skript;
    if (art.jeBitEinScan) {
        for (int koeff = 0; koeff < 64; ++koeff)
            for (int ah = 0, al = 1; al >= 0; ah = al, --al) {
                jpeg_scan_info scan{};
                scan.comps_in_scan = 1;
                scan.Ss = scan.Se = koeff;
                scan.Ah = ah;
                scan.Al = al;
                skript.push_back(scan);
            }
        c.scan_info = skript.data();
        c.num_scans = static_cast<int>(skript.size());
    }
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> zeile(static_cast<std::size_t>(art.breite) * komponenten);
    while (c.next_scanline < c.image_height) {
        for (std::size_t i = 0; i < zeile.size(); ++i)
            zeile[i] = static_cast<unsigned char>((i * 37 + c.next_scanline * 11) & 0xFF);
        JSAMPROW z = zeile.data();
        jpeg_write_scanlines(&c, &z, 1);
    }
    jpeg_finish_compress(&c);
    std::string datei(reinterpret_cast<const char*>(puffer), groesse);
    std::free(puffer);
    jpeg_destroy_compress(&c);
    return datei;
}

// --- GIF ----------------------------------------------------------------

int InStringSchreiben(GifFileType* gif, const GifByteType* daten, int anzahl) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(daten), anzahl);
    return anzahl;
}

void Gif(int ergebnis, const char* schritt) {
    if (ergebnis != GIF_OK) throw std::runtime_error(schritt);
}

// A 4 x 4 picture with four colours, one of them transparent.
std::string GifKodieren(bool interlaced) {
    std::string datei;
    int fehler = 0;
    GifFileType* gif = EGifOpen(&datei, InStringSchreiben, &fehler);
    if (!gif) throw std::runtime_error("EGifOpen");
    EGifSetGifVersion(gif, true);
    GifColorType farben[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* karte = GifMakeMapObject(4, farben);
    Gif(EGifPutScreenDesc(gif, 4, 4, 2, 0, karte), "EGifPutScreenDesc");
    GifFreeMapObject(karte);
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, 3};
    GifByteType block[4];
    const auto laenge = static_cast<int>(EGifGCBToExtension(&gcb, block));
    Gif(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, laenge, block), "EGifPutExtension");
    Gif(EGifPutImageDesc(gif, 0, 0, 4, 4, interlaced, nullptr), "EGifPutImageDesc");
    for (int y = 0; y < 4; ++y) {
        GifPixelType zeile[4] = {0, 1, 2, static_cast<GifPixelType>(y & 3)};
        Gif(EGifPutLine(gif, zeile, 4), "EGifPutLine");
    }
    Gif(EGifCloseFile(gif, &fehler), "EGifCloseFile");
    return datei;
}

void Setze16LE(std::string& daten, std::size_t pos, int wert) {
    daten.at(pos) = static_cast<char>(wert & 0xFF);
    daten.at(pos + 1) = static_cast<char>((wert >> 8) & 0xFF);
}

// The ',' of the first image descriptor.
std::size_t FrameKopf(const std::string& gif) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(gif.at(i)); };
    std::size_t pos = 13;
    if (byte(10) & 0x80) pos += std::size_t{3} << ((byte(10) & 7) + 1);
    while (byte(pos) == 0x21) {
        pos += 2;
        while (byte(pos) != 0) pos += byte(pos) + 1;
        ++pos;
    }
    if (byte(pos) != 0x2C) throw std::runtime_error("no image descriptor");
    return pos;
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
    const std::string jpeg = JpegKodieren({});
    Schreiben(bild / "jpeg_klein.jpg", jpeg);
    Schreiben(bild / "jpeg_progressiv.jpg", JpegKodieren({16, 16, true, false}));
    Schreiben(bild / "jpeg_viele_scans.jpg", JpegKodieren({8, 8, true, true}));
    Schreiben(bild / "jpeg_abgeschnitten.jpg", jpeg.substr(0, jpeg.size() * 2 / 3));

    const std::string gif = GifKodieren(false);
    Schreiben(bild / "gif_klein.gif", gif);
    Schreiben(bild / "gif_zeilensprung.gif", GifKodieren(true));
    // Width and height follow the ',' and the left and top position.
    std::string riesig = gif;
    Setze16LE(riesig, FrameKopf(riesig) + 5, 65535);
    Setze16LE(riesig, FrameKopf(riesig) + 7, 65535);
    Schreiben(bild / "gif_rahmen_65535.gif", riesig);
    std::string flach = gif;
    Setze16LE(flach, FrameKopf(flach) + 7, 0);
    Schreiben(bild / "gif_hoehe_0.gif", flach);
    std::string schirmFlach = gif;
    Setze16LE(schirmFlach, 8, 0);
    Schreiben(bild / "gif_schirm_hoehe_0.gif", schirmFlach);

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

    const fs::path merge = wurzel / "fuzz_merge";
    Schreiben(merge / "fixiert.txt",
              "\x01Start|Hobby|Kontakt\n<h2>Hobbys</h2>\r\n<p>T\xC3\xBCr und \xFC</p>\r\n");
    Schreiben(merge / "offen_banner.txt",
              std::string("\x06<b>Start</b>|Leistenwerk\n") +
                  "<p>Leistenwerk &amp; <meta name=\"generator\" content=\"Leistenwerk\" /></p>");
    Schreiben(merge / "rahmenersatz.txt",
              "\x0DImpressum\n<iframe src=\"impressum.html\" frameborder=\"0\"></iframe>");
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
