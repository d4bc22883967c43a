#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "import/Import.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

using test::Antwort;

// The provider's page parts, written out here as the provider's pages carry them.
const std::string kZelle = "</td></tr></table></td><td background=\"data/tdef/";
const std::string kZaehler = "<script language=\"JavaScript\" src=\"data/jsdef/count.js\"";
const std::string kWerbeSkript = "http://werbung.netzhof.de/adx.js";

std::string Genau(std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
}
// The rest of the frame: 86 characters after the contents cell marker.
const std::string kRahmenRest = Genau("tp008/pa1.png\" width=\"600\" valign=\"top\"", 86);
const std::string kVorZaehler = Genau("<br><br>", 10);
const std::string kWerbeKopf = "<center>\n<script src=\"" + kWerbeSkript +
                               "\"></script>\n<noscript>Werbung</noscript>\n</center>" +
                               Genau("<br><!-- Werbung Ende -->", 61);
const std::string kWerbeFuss =
    Genau("<br><!-- Werbung Anfang -->", 65) + "<center>\n<script src=\"" + kWerbeSkript + "\">";

std::string Seite(const std::string& kopf, const std::string& inhalt, bool werbung = false,
                  const std::string& nachRahmen = ">") {
    return "<html><head>" + kopf + "</head><body><table><tr><td>" + kZelle + kRahmenRest +
           nachRahmen + (werbung ? kWerbeKopf : "") + inhalt + (werbung ? kWerbeFuss : "") +
           kVorZaehler + kZaehler + "></script>\n</td></tr></table></body></html>";
}

std::string MenueLink(const std::string& ziel) {
    return "<tr><td><a href=\"" + ziel +
           "\"><img src=\"data/pics/m.png\" border=\"0\"></a></td></tr>\n";
}

std::string ErwarteterErsatz(const std::string& name) {
    return "<script type=\"text/javascript\">\nfunction anpassen() {\n"
           "document.getElementById('MeinIframe').style.height = "
           "frames['MeinIframe'].document.body.scrollHeight + 50 + 'px';\n}\n</script>\n\n"
           "<iframe src=\"" +
           name +
           "\" frameborder=\"0\" width=\"100%\" style=\"height: "
           "2000px\" scrolling=\"auto\" id=\"MeinIframe\" name=\"MeinIframe\" "
           "allowtransparency=\"true\" onload=\"anpassen()\">\n"
           "Leider unterst\xFCtzt Ihr Browser keine eingebetteten Frames. Das G\xE4stebuch "
           "erreichen Sie dennoch <a href=\"" +
           name + "\">hier</a>.\n</iframe>";
}

std::vector<std::string> AlleNamen(const std::string& startseite) {
    std::vector<std::string> namen;
    MenueLeser leser(startseite);
    while (const auto name = leser.Naechster()) namen.push_back(*name);
    return namen;
}

TEST(Menue, NamesInOrderWithLastFiveCharactersReplaced) {
    using V = std::vector<std::string>;
    const std::string bild = "\"><img src=\"data/pics/";
    const struct {
        const char* name;
        std::string startseite;
        V erwartet;
    } faelle[] = {
        {"three links",
         MenueLink("index.html") + MenueLink("hobby.html") + MenueLink("gaestebuch.html"),
         V{"index.html", "hobby.html", "gaestebuch.html"}},
        {"short extension", MenueLink("info.htm"), V{"inf.html"}},
        {"five characters", MenueLink("a.htm"), V{".html"}},
        {"four characters", "<tr><td><a href=\"a.ht" + bild + "x", V{"a.ht" + bild + "x.html"}},
        {"no picture", "<tr><td><a href=\"seite.html\">Text</a>", V{"seite.html\">Text</a>.html"}},
        {"runs on to next picture",
         "<tr><td><a href=\"seite.html\">x</a><tr><td><a href=\"b.html" + bild,
         V{"seite.html\">x</a><tr><td><a href=\"b.html", "b.html"}},
        {"no menu", "<a href=\"seite.html\"><img src=\"data/pics/m.png\">", V{}},
    };
    for (const auto& f : faelle) EXPECT_EQ(AlleNamen(f.startseite), f.erwartet) << f.name;
}

TEST(Seiten, ProviderFeaturesAreRecognised) {
    EXPECT_TRUE(IstAnbieterFunktion("x<img src=\"data/pics/impress.png\" alt=\"\">"));
    EXPECT_TRUE(IstAnbieterFunktion("<h1>Haftungsauschluss (Disclaimer)</h1>"));
    EXPECT_TRUE(IstAnbieterFunktion("<p><h1>Kontaktformular</h1>"));
    EXPECT_TRUE(IstAnbieterFunktion(
        "<form action=\"http://gaestebuch.netzhof.de/guestbook.php\" method=\"POST\">"));
    EXPECT_FALSE(IstAnbieterFunktion("<h1>Kontaktformular </h1><h2>Impressum</h2>"));
    EXPECT_FALSE(IstAnbieterFunktion(
        "<form action=\"http://gaestebuch.example.de/guestbook.php\" method=\"POST\">"));
    EXPECT_EQ(RahmenErsatz("kontakt.html"), ErwarteterErsatz("kontakt.html"));
}

TEST(Seiten, ContentsCut) {
    const std::string inhalt = "<p>Mein Inhalt</p>\r\n<center>Bild</center>\n";
    const std::string ohneZelle = std::string(134, 'r') + "Rest";
    const struct {
        const char* name;
        std::string seite, erwartet;
    } faelle[] = {
        {"frame and counter", Seite("<title>t</title>", inhalt), inhalt},
        {"no leading >", Seite("", inhalt, false, ""), inhalt},
        {"second > stays", Seite("", ">" + inhalt), ">" + inhalt},
        {"advertising", Seite("", inhalt, true), inhalt},
        {"own centred script above the advertising",
         Seite("", inhalt + "<center>\n<script>z()</script></center>" + inhalt, true),
         inhalt + "<center>\n<script>z()</script></center>" + inhalt},
        {"no cell marker", ohneZelle, "Rest"},
        {"no counter", kZelle + kRahmenRest + "abc</html>", "abc</html>"},
        {"counter at position 10", kZelle + kRahmenRest + "abcdefghi" + kZaehler,
         "abcdefghi" + kZaehler},
        {"counter at position 11", kZelle + kRahmenRest + "abcdefghij" + kZaehler, ""},
        {"advertising without its blocks",
         kZelle + kRahmenRest + std::string(81, 'w') + kWerbeSkript + "Ende",
         kWerbeSkript + "Ende"},
        {"noscript kept without advertising",
         kZelle + kRahmenRest + "</noscript>\n</center>" + inhalt + "<center>\n<script>",
         "</noscript>\n</center>" + inhalt + "<center>\n<script>"},
        {"status text", "Status:404", ""},
        {"empty", "", ""},
    };
    for (const auto& f : faelle) EXPECT_EQ(InhaltAusschneiden(f.seite), f.erwartet) << f.name;
}

TEST(Bilder, AddressesInTagsAsWritten) {
    using V = std::vector<std::string>;
    const struct {
        const char* name;
        std::string seite;
        V erwartet;
    } faelle[] = {
        {"img and background", "<p><img src=\"a.jpg\"><td background='b.GIF' x>",
         V{"a.jpg", "b.GIF"}},
        {"any case, blanks around =", "<IMG  SRC = \"c.Png\" /><body BackGround=\"d.jpeg\">",
         V{"c.Png", "d.jpeg"}},
        {"no decoding", "<img src=\"Neue%20Bilder/a&amp;b.jpg\">", V{"Neue%20Bilder/a&amp;b.jpg"}},
        {"other attributes and endings",
         "<a href=\"x.gif\"><img alt=\"y.gif\" src=\"z.gif?v=1\" data-src=\"w.gif\">", V{}},
        {"quoted >", "<img title=\"a>b\" src=\"e.gif\">", V{"e.gif"}},
        {"unquoted", "<img src=f.gif>", V{}},
        {"outside tags and in comments",
         "src=\"g.gif\" <!-- <img src=\"h.gif\"> --> <img src=\"i.gif\">", V{"i.gif"}},
        {"quote never closed", "<img src=\"j.gif>", V{}},
    };
    for (const auto& f : faelle) {
        std::vector<std::string_view> adressen;
        BildAdressenSammeln(f.seite, adressen);
        EXPECT_EQ(V(adressen.begin(), adressen.end()), f.erwartet) << f.name;
    }

    using B = BildAdressArt;
    const std::pair<std::string, B> adressen[] = {
        {W("Über uns/bild 1.png"), B::Relativ},
        {"HTTPS://example.org/a.gif", B::Fremd},
        {"//example.org/a.gif", B::Fremd},
        {"seite#a.gif", B::Ungueltig},
        {"1a:b.gif", B::Ungueltig},
    };
    for (const auto& [adresse, art] : adressen)
        EXPECT_EQ(BildAdresseEinordnen(adresse), art) << adresse;
}

// What a browser requests for an address of the merged page, and the file a
// web server answers it with (in the core's text).
TEST(Bilder, AddressesAsTheWebServerSeesThem) {
    const struct {
        std::string adresse, anfrage, datei;
    } relativ[] = {
        {"Bilder/Gr\xC3\xB6\xC3\x9F.jpg", "Bilder/Gr%C3%B6%C3%9F.jpg", "Bilder/Gr\xF6\xDF.jpg"},
        {"B\xE4ren.gif", "B%C3%A4ren.gif", "B\xE4ren.gif"},
        {"mein%20bild.png", "mein%20bild.png", "mein bild.png"},
        {"mein bild.png", "mein%20bild.png", "mein bild.png"},
        {"a&amp;b.jpg", "a&b.jpg", "a&b.jpg"},
        {"Gr&ouml;&#223;&#x2e;gif", "Gr%C3%B6%C3%9F.gif", "Gr\xF6\xDF.gif"},
        {"&#26085;%E6%9C%AC.png", "%E6%97%A5%E6%9C%AC.png", "&#26085;&#26412;.png"},
        {"&#150;&amp.gif", "%E2%80%93&amp.gif", "\x96&amp.gif"},
        {"100%.gif", "100%25.gif", "100%.gif"},
    };
    for (const auto& f : relativ) {
        BildPfad pfad;
        EXPECT_EQ(BildAdresseEinordnen(f.adresse, &pfad), BildAdressArt::Relativ) << f.adresse;
        EXPECT_EQ(pfad.anfrage, f.anfrage) << f.adresse;
        EXPECT_EQ(pfad.datei, f.datei) << f.adresse;
    }
    // Decoded, a part must still be a plain file name of its own.
    for (const std::string adresse :
         {"a%2Fb.gif", "%2E%2E/x.gif", "a/%2e/x.gif", "a%00.gif", "a%5Cb.gif", "a&#10;b.gif",
          "a%0D%0Ab.gif", "a%C2%85.gif", "x&#63;y.gif", "x&#x23;y.gif", "a&amp;#26085;.gif",
          "&#x2F;x.gif"})
        EXPECT_EQ(BildAdresseEinordnen(adresse), BildAdressArt::Ungueltig) << adresse;
    EXPECT_EQ(BildAdresseEinordnen("&#104;ttp:&#47;/example.org/a.gif"), BildAdressArt::Fremd);
}

const std::string kBenutzer = "anna";
const std::string kAnbieter = "http://www.anna.netzhof-download.de/";

// Requests for the real host names go to the loopback server through
// http_proxy; the other proxy variables are kept out of the test.
class Import : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "NO_PROXY"})
            ::unsetenv(name);
        ::setenv("http_proxy", server.basis().c_str(), 1);
        ::setenv("no_proxy", "", 1);
        daten.Zielordner = ordner.pfad();
    }
    void TearDown() override { ::unsetenv("http_proxy"); }

    std::set<std::string> DateienInAlt() const {
        std::set<std::string> namen;
        for (const auto& e : std::filesystem::directory_iterator(ordner / "Alt"))
            namen.insert(e.path().filename().string());
        return namen;
    }
    std::set<std::string> Ordnerinhalt() const {
        std::set<std::string> namen;
        for (const auto& e : std::filesystem::directory_iterator(ordner.pfad()))
            namen.insert(e.path().filename().string());
        return namen;
    }

    test::HttpServer server;
    test::ProxyUmgebung umleitung{server};
    test::TempOrdner ordner;
    Projektdaten daten;
    std::vector<std::string> status;
    ImportRueckmeldung rueckmeldung = [this] {
        ImportRueckmeldung r;
        r.status = [this](const std::string& s) { status.push_back(s); };
        return r;
    }();
};

TEST_F(Import, WholeHomepage) {
    const std::string kopf =
        "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.de/\">"
        "</head><table><tr><td background=\"data/tdef/tp008/pa0.png\"><table>\n" +
        MenueLink("index.html") + MenueLink("hobby.html") + MenueLink("info.htm") +
        MenueLink("impressum.html") + MenueLink("haftung.html") + MenueLink("kontakt.html") +
        MenueLink("gaestebuch.html") + MenueLink("fehlt.html") + MenueLink("leer.html") +
        MenueLink("hobby.html") + "</table>";
    // UTF-8 and an overlong form stay as sent: entities are the site writer's work.
    const std::string startInhalt =
        "<h1>Willkommen bei Anna</h1>\r\n<p>Sch\xF6n! caf\xC3\xA9 \xE2\x82\xAC "
        "\xE2\x80\x9EZitat\xE2\x80\x9C \xC0\xAF</p>";
    std::string hobbyInhalt = std::string("<p>Null\0Byte</p>\n", 17);
    while (hobbyInhalt.size() < 9000) hobbyInhalt += "<p>Meine Hobbys: Lesen, Radfahren.</p>\r\n";
    const std::string infoInhalt = "<p>Info</p>";

    const std::string startseite = Seite(kopf, startInhalt);
    server.Setzen(kAnbieter + "index.html", Antwort::Seite(startseite));
    server.Setzen(kAnbieter + "hobby.html", Antwort::Seite(Seite("", hobbyInhalt, true)));
    server.Setzen(kAnbieter + "inf.html", Antwort::Seite(Seite("", infoInhalt, false, "")));
    server.Setzen(kAnbieter + "impressum.html",
                  Antwort::Seite(Seite("", "<img src=\"data/pics/impress.png\" alt=\"\">")));
    server.Setzen(kAnbieter + "haftung.html",
                  Antwort::Seite(Seite("", "<h1>Haftungsauschluss (Disclaimer)</h1>")));
    server.Setzen(kAnbieter + "kontakt.html",
                  Antwort::Seite(Seite("", "<h1>Kontaktformular</h1><form>")));
    server.Setzen(kAnbieter + "gaestebuch.html",
                  Antwort::Seite(Seite("",
                                       "<form action=\"http://gaestebuch.netzhof.de/"
                                       "guestbook.php\" method=\"POST\">")));
    server.Setzen(kAnbieter + "leer.html", Antwort::Seite(""));

    // The road of the import procedure, as far as it needs no window.
    const std::string geladen = LadeURL(StartseitenAdresse(kBenutzer));
    ASSERT_EQ(StartseitePruefen(geladen), StartseitenBefund::Gueltig);
    AltOrdnerErzeugen(daten.Zielordner);
    int schritte = 0;
    rueckmeldung.zwischenschritt = [&] { ++schritte; };
    const ImportErgebnis ergebnis = SeitenImportieren(daten, geladen, kBenutzer, rueckmeldung);

    const std::vector<std::string> namen = {
        "index.html",   "hobby.html",      "inf.html",   "impressum.html", "haftung.html",
        "kontakt.html", "gaestebuch.html", "fehlt.html", "leer.html",      "hobby.html"};
    ASSERT_EQ(daten.ImportAnzahl, 10);
    ASSERT_EQ(status.size(), 10u);
    std::vector<std::string> erwarteteZiele = {kAnbieter + "index.html"};
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(daten.ImportSeiten[i], namen[i - 1]);
        EXPECT_EQ(status[i - 1], "Laden von " + namen[i - 1]);
        erwarteteZiele.push_back(kAnbieter + namen[i - 1]);
    }
    std::vector<std::string> ziele;
    for (const auto& a : server.Anfragen()) ziele.push_back(a.ziel);
    EXPECT_EQ(ziele, erwarteteZiele);
    EXPECT_GE(schritte, 8);

    const std::map<std::string, std::string> erwartet = {
        {"index.html", startInhalt},
        {"hobby.html", hobbyInhalt},
        {"inf.html", infoInhalt},
        {"impressum.html", ErwarteterErsatz("impressum.html")},
        {"haftung.html", ErwarteterErsatz("haftung.html")},
        {"kontakt.html", ErwarteterErsatz("kontakt.html")},
        {"gaestebuch.html", ErwarteterErsatz("gaestebuch.html")},
        {"fehlt.html", ""},
        {"leer.html", ""},
    };
    std::set<std::string> erwarteteNamen;
    for (const auto& [name, inhalt] : erwartet) {
        erwarteteNamen.insert(name);
        EXPECT_TRUE(test::Lesen(ordner / ("Alt/" + name)) == inhalt) << name;
    }
    EXPECT_EQ(DateienInAlt(), erwarteteNamen);
    EXPECT_EQ(Ordnerinhalt(), std::set<std::string>{"Alt"});
    EXPECT_EQ(MeldungFehlgeschlagen(ergebnis),
              W("Folgende Seiten und Bilder konnten nicht übernommen werden:\n"
                "fehlt.html: Status 404\nleer.html: keine Antwort"));
    EXPECT_FALSE(ergebnis.abgebrochen);
}

TEST_F(Import, StartPageWithoutMenuChangesNothing) {
    AltOrdnerErzeugen(daten.Zielordner);
    daten.ImportAnzahl = 7;
    daten.ImportSeiten.Setzen(1, "alt.html");
    SeitenImportieren(daten, "<html>keine Navigation</html>", kBenutzer, rueckmeldung);
    EXPECT_EQ(daten.ImportAnzahl, 7);
    EXPECT_EQ(daten.ImportSeiten[1], "alt.html");
    EXPECT_TRUE(status.empty());
    EXPECT_TRUE(server.Anfragen().empty());
    EXPECT_TRUE(DateienInAlt().empty());
}

// A name from the server that would point outside Alt ends the import there.
TEST_F(Import, NameThatIsNoPlainFileStops) {
    const struct {
        const char* name;
        std::string ziel;
    } faelle[] = {
        {"parent folder", "../boese.html"},
        {"backslash", "..\\boese.html"},
        {"not allowed on Windows", "frage?.html"},
    };
    for (const auto& f : faelle) {
        test::TempOrdner eigener;
        Projektdaten d;
        d.Zielordner = eigener.pfad();
        AltOrdnerErzeugen(d.Zielordner);
        server.Setzen(kAnbieter + "gut.html", Antwort::Seite(Seite("", "gut")));
        const std::size_t vorher = server.Anfragen().size();

        const std::string start =
            MenueLink("gut.html") + MenueLink(f.ziel) + MenueLink("danach.html");
        try {
            SeitenImportieren(d, start, kBenutzer, {});
            ADD_FAILURE() << f.name << ": no error";
        } catch (const Fehler& fehler) {
            EXPECT_TRUE(std::string(fehler.what())
                            .ends_with(W("\" ist kein gültiger Dateiname (E/A-Fehler 123)")))
                << f.name;
        }
        EXPECT_EQ(d.ImportAnzahl, 2) << f.name;
        EXPECT_EQ(d.ImportSeiten[1], "gut.html") << f.name;
        EXPECT_EQ(server.Anfragen().size(), vorher + 1) << f.name;
        EXPECT_EQ(test::Lesen(eigener / "Alt/gut.html"), "gut") << f.name;
        std::size_t dateien = 0;
        for (const auto& e : std::filesystem::recursive_directory_iterator(eigener.pfad()))
            dateien += e.is_regular_file();
        EXPECT_EQ(dateien, 1u) << f.name;
    }
}

// Bytes that a text road would change: NUL, CR LF, bytes beyond ASCII.
std::string Bildbytes(std::size_t n, int saat) {
    std::string b(n, '\0');
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<char>((i * 31 + saat) % 256);
    return b;
}

std::map<std::string, std::string> Baum(const std::string& wurzel) {
    std::map<std::string, std::string> baum;
    for (const auto& e : std::filesystem::recursive_directory_iterator(wurzel))
        baum[std::filesystem::relative(e.path(), wurzel).string()] =
            e.is_directory() ? "<Ordner>" : test::Lesen(e.path().string());
    return baum;
}

TEST_F(Import, PicturesOfCutPagesComeAlong) {
    constexpr std::size_t kMiB = 1024 * 1024;
    const std::string urlaub = Bildbytes(5000, 1);
    const std::string hinter = Bildbytes(300, 2);
    const std::string genau = Bildbytes(32 * kMiB, 3);
    const std::string index =
        "<p><img src=\"data/pics/urlaub.jpg\"></p><table background='hinter.GIF'>"
        "<img src=\"http://example.org/fremd.gif\"><img src=\"../boese.gif\">"
        "<img src=\"/wurzel.gif\"><img src=\"data/../../boese2.gif\">"
        "<img src=\"zeige.php?bild=a.gif\"><img src=\"gross.png\"><img src=\"genau.png\">"
        "<img src=\"fehlt.gif\"><img src=\"kaputt.gif\">";
    const std::string hobby = "<IMG SRC='data/pics/urlaub.jpg'><img src=\"../boese.gif\">";
    server.Setzen(kAnbieter + "index.html", Antwort::Seite(Seite("", index)));
    server.Setzen(kAnbieter + "hobby.html", Antwort::Seite(Seite("", hobby)));
    server.Setzen(kAnbieter + "kontakt.html",
                  Antwort::Seite(Seite("", "<h1>Kontaktformular</h1><img src=\"k.gif\">")));
    server.Setzen(kAnbieter + "data/pics/urlaub.jpg", Antwort::Seite(urlaub));
    server.Setzen(kAnbieter + "hinter.GIF", Antwort::Seite(hinter));
    server.Setzen(kAnbieter + "genau.png", Antwort::Seite(genau));
    server.Setzen(kAnbieter + "gross.png", Antwort::Seite(genau + "x"));
    // The connection closes before Content-Length is reached.
    server.Setzen(kAnbieter + "kaputt.gif", Antwort::Abbrechend(Bildbytes(5000, 4), 2000));
    for (const char* boese : {"boese.gif", "wurzel.gif", "../boese.gif", "k.gif"})
        server.Setzen(kAnbieter + boese, Antwort::Seite("GIF89a"));

    AltOrdnerErzeugen(daten.Zielordner);
    const ImportErgebnis ergebnis = SeitenImportieren(
        daten, MenueLink("index.html") + MenueLink("hobby.html") + MenueLink("kontakt.html"),
        kBenutzer, rueckmeldung);

    // Each picture once, in the order of the pages; none from a frame page.
    const std::vector<std::string> geladen = {
        "index.html", "data/pics/urlaub.jpg", "hinter.GIF", "gross.png",   "genau.png",
        "fehlt.gif",  "kaputt.gif",           "hobby.html", "kontakt.html"};
    std::vector<std::string> ziele, erwarteteZiele, erwarteterStatus;
    for (const auto& a : server.Anfragen()) ziele.push_back(a.ziel);
    for (const auto& g : geladen) {
        erwarteteZiele.push_back(kAnbieter + g);
        erwarteterStatus.push_back("Laden von " + g);
    }
    EXPECT_EQ(ziele, erwarteteZiele);
    EXPECT_EQ(status, erwarteterStatus);

    const std::string nicht = W("nicht unterstützte Adresse");
    const std::vector<std::pair<std::string, std::string>> fehlgeschlagen = {
        {"../boese.gif", nicht},
        {"/wurzel.gif", nicht},
        {"data/../../boese2.gif", nicht},
        {"zeige.php?bild=a.gif", nicht},
        {"gross.png", W("größer als 32 MB")},
        {"fehlt.gif", "Status 404"},
        {"kaputt.gif", W("unvollständig übertragen")}};
    std::vector<std::pair<std::string, std::string>> gemeldet;
    for (const auto& f : ergebnis.fehlgeschlagen) gemeldet.emplace_back(f.name, f.grund);
    EXPECT_EQ(gemeldet, fehlgeschlagen);

    EXPECT_EQ(daten.ImportBilder,
              (std::vector<std::string>{"data/pics/urlaub.jpg", "hinter.GIF", "genau.png"}));
    // Nothing but the pages and the stored pictures, all inside Alt.
    auto baum = Baum(ordner.pfad());
    EXPECT_TRUE(baum["Alt/genau.png"] == genau);
    baum.erase("Alt/genau.png");
    const std::map<std::string, std::string> erwartet = {
        {"Alt", "<Ordner>"},
        {"Alt/index.html", index},
        {"Alt/hobby.html", hobby},
        {"Alt/kontakt.html", ErwarteterErsatz("kontakt.html")},
        {"Alt/data", "<Ordner>"},
        {"Alt/data/pics", "<Ordner>"},
        {"Alt/data/pics/urlaub.jpg", urlaub},
        {"Alt/hinter.GIF", hinter},
    };
    EXPECT_EQ(baum, erwartet);
}

// The picture bound and names that clash, answered in place of the network.
TEST_F(Import, PictureBoundAndNameClashes) {
    std::string inhalt =
        "<img src=\"a.gif\"><img src=\"a.gif/b.gif\"><img src=\"zwei.html/c.gif\">";
    for (int i = 0; i < 1000; ++i) inhalt += "<img src=\"viele/b" + std::to_string(i) + ".gif\">";
    std::size_t bilder = 0;
    rueckmeldung.laden = [&](const std::string& url, std::size_t grenze) -> std::string {
        if (url.ends_with(".html")) {
            EXPECT_EQ(grenze, LadeGrenzen{}.hoechstGroesse) << url;
            return std::string(134, '~') + inhalt;
        }
        EXPECT_EQ(grenze, std::size_t{32} * 1024 * 1024 + 1) << url;
        ++bilder;
        return "GIF89a";
    };
    AltOrdnerErzeugen(daten.Zielordner);
    const ImportErgebnis ergebnis = SeitenImportieren(
        daten, MenueLink("eins.html") + MenueLink("zwei.html"), kBenutzer, rueckmeldung);

    EXPECT_EQ(bilder, 1000u);
    ASSERT_EQ(daten.ImportBilder.size(), 999u);
    EXPECT_EQ(daten.ImportBilder.front(), "a.gif");
    EXPECT_EQ(daten.ImportBilder.back(), "viele/b997.gif");
    EXPECT_EQ(test::Lesen(ordner / "Alt/viele/b997.gif"), "GIF89a");
    // The folder named like a page was not made: the page is there.
    EXPECT_EQ(test::Lesen(ordner / "Alt/zwei.html"), inhalt);
    ASSERT_EQ(ergebnis.fehlgeschlagen.size(), 4u);
    EXPECT_EQ(ergebnis.fehlgeschlagen[0].name, "a.gif/b.gif");
    EXPECT_EQ(ergebnis.fehlgeschlagen[0].grund, "E/A-Fehler 183");
    EXPECT_EQ(ergebnis.fehlgeschlagen[1].name, "zwei.html/c.gif");
    for (int i = 2; i < 4; ++i) {
        EXPECT_EQ(ergebnis.fehlgeschlagen[i].name, "viele/b99" + std::to_string(i + 6) + ".gif");
        EXPECT_EQ(ergebnis.fehlgeschlagen[i].grund, "mehr als 1000 Bilder");
    }
}

// A page that stalls ends at the bound and leaves an empty file; the import goes on.
TEST_F(Import, StalledPageLeavesEmptyFile) {
    using namespace std::chrono_literals;
    server.Setzen(kAnbieter + "stockt.html", Antwort::Stumm());
    server.Setzen(kAnbieter + "danach.html", Antwort::Seite(Seite("", "danach")));
    LadeGrenzen kurz;
    kurz.verbindungsFrist = 2s;
    kurz.stillstandsFrist = 1s;
    LadeSitzung sitzung({}, kurz);
    rueckmeldung.laden = [&](const std::string& url, std::size_t grenze) {
        return sitzung.Laden(url, grenze);
    };
    AltOrdnerErzeugen(daten.Zielordner);
    const auto start = std::chrono::steady_clock::now();
    const ImportErgebnis ergebnis = SeitenImportieren(
        daten, MenueLink("stockt.html") + MenueLink("danach.html"), kBenutzer, rueckmeldung);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);

    EXPECT_EQ(test::Lesen(ordner / "Alt/stockt.html"), "");
    EXPECT_EQ(test::Lesen(ordner / "Alt/danach.html"), "danach");
    ASSERT_EQ(ergebnis.fehlgeschlagen.size(), 1u);
    EXPECT_EQ(ergebnis.fehlgeschlagen[0].name, "stockt.html");
    EXPECT_EQ(ergebnis.fehlgeschlagen[0].grund, "keine Antwort");
}

// A stop ends the import at once: before its next request, or during the
// download under way, whose page is then not written. What was written stays.
TEST_F(Import, StopLoadsNothingFurther) {
    using namespace std::chrono_literals;
    const std::map<std::string, std::string> inhalte = {
        {"a.html", Seite("", "a")},
        {"b.html", Seite("", "<img src=\"b.gif\">")},
        {"b.gif", "GIF89a"},
        {"c.html", Seite("", "c")}};
    for (const auto& [name, inhalt] : inhalte)
        server.Setzen(kAnbieter + name, Antwort::Seite(inhalt));
    // Half a page, then silence far longer than the test may take.
    server.Setzen(kAnbieter + "stockt.html", Antwort::Stockend(Seite("", "stockt"), 100));
    using V = std::vector<std::string>;
    const struct {
        const char* name;
        std::string start;
        // The stop is answered once the download of this file has returned
        // (through the download seam, serving the same pages), or 0.3 s after
        // this page's download from the server began; always when both are
        // empty.
        std::string nachLaden, waehrend;
        V geladen, dateien;
        std::vector<std::pair<int, int>> fortschritt;
        int anzahl;
    } faelle[] = {
        {"before the first page", MenueLink("a.html"), "", "", V{}, V{}, {}, 0},
        {"before a picture",
         MenueLink("a.html") + MenueLink("b.html") + MenueLink("c.html"),
         "b.html",
         "",
         V{"a.html", "b.html"},
         V{"a.html", "b.html"},
         {{1, 3}},
         2},
        {"after two pages",
         MenueLink("a.html") + MenueLink("b.html") + MenueLink("c.html"),
         "b.gif",
         "",
         V{"a.html", "b.html", "b.gif"},
         V{"a.html", "b.html", "b.gif"},
         {{1, 3}, {2, 3}},
         2},
        {"during a stalled page",
         MenueLink("a.html") + MenueLink("stockt.html") + MenueLink("c.html"),
         "",
         "stockt.html",
         V{"a.html", "stockt.html"},
         V{"a.html"},
         {{1, 3}},
         1},
    };
    for (const auto& f : faelle) {
        test::TempOrdner eigener;
        Projektdaten d;
        d.Zielordner = eigener.pfad();
        AltOrdnerErzeugen(d.Zielordner);
        std::optional<std::chrono::steady_clock::time_point> begonnen;
        std::vector<std::pair<int, int>> fortschritt;
        ImportRueckmeldung r;
        r.status = [&](const std::string& s) {
            if (s == "Laden von " + f.waehrend) begonnen = std::chrono::steady_clock::now();
        };
        V gedient;
        bool geladen = false;
        if (!f.nachLaden.empty()) {
            r.laden = [&](const std::string& url, std::size_t) {
                gedient.push_back(url.substr(kAnbieter.size()));
                geladen = geladen || gedient.back() == f.nachLaden;
                return inhalte.at(gedient.back());
            };
        }
        r.abbrechen = [&] {
            if (!f.nachLaden.empty()) return geladen;
            if (!f.waehrend.empty())
                return begonnen && std::chrono::steady_clock::now() - *begonnen >= 300ms;
            return true;
        };
        r.fortschritt = [&](int fertig, int gesamt) { fortschritt.emplace_back(fertig, gesamt); };
        const std::size_t vorher = server.Anfragen().size();

        const auto anfang = std::chrono::steady_clock::now();
        const ImportErgebnis ergebnis = SeitenImportieren(d, f.start, kBenutzer, r);
        // Only a hang catcher: the stalled page would be waited for a minute.
        EXPECT_LT(std::chrono::steady_clock::now() - anfang, 30s) << f.name;

        EXPECT_TRUE(ergebnis.abgebrochen) << f.name;
        EXPECT_TRUE(ergebnis.fehlgeschlagen.empty()) << f.name;
        V ziele = gedient;
        const auto anfragen = server.Anfragen();
        for (std::size_t i = vorher; i < anfragen.size(); ++i)
            ziele.push_back(anfragen[i].ziel.substr(kAnbieter.size()));
        EXPECT_EQ(ziele, f.geladen) << f.name;
        std::set<std::string> dateien;
        for (const auto& e : std::filesystem::directory_iterator(eigener / "Alt"))
            dateien.insert(e.path().filename().string());
        EXPECT_EQ(dateien, std::set<std::string>(f.dateien.begin(), f.dateien.end())) << f.name;
        EXPECT_EQ(fortschritt, f.fortschritt) << f.name;
        // Only pages whose file is there count.
        EXPECT_EQ(d.ImportAnzahl, f.anzahl) << f.name;
    }
}

// Addresses of one file in different spellings: fetched once as a browser
// asks for it, stored under the name a web server looks up.
TEST_F(Import, PictureAddressesAreDecodedAndFetchedOnce) {
    const std::string inhalt =
        "<img src=\"mein bild.png\"><img src=\"mein%20bild.png\"><img src=\"Gr&ouml;&szlig;.jpg\">"
        "<img src=\"Gr\xC3\xB6\xC3\x9F.jpg\"><img src=\"&#26085;.gif\"><img src=\"a%2Fb.gif\">";
    server.Setzen(kAnbieter + "index.html", Antwort::Seite(Seite("", inhalt)));
    for (const char* ziel : {"mein%20bild.png", "Gr%C3%B6%C3%9F.jpg", "%E6%97%A5.gif"})
        server.Setzen(kAnbieter + ziel, Antwort::Seite(ziel));
    AltOrdnerErzeugen(daten.Zielordner);
    const ImportErgebnis ergebnis =
        SeitenImportieren(daten, MenueLink("index.html"), kBenutzer, rueckmeldung);

    std::vector<std::string> ziele;
    for (const auto& a : server.Anfragen()) ziele.push_back(a.ziel.substr(kAnbieter.size()));
    EXPECT_EQ(ziele, (std::vector<std::string>{"index.html", "mein%20bild.png",
                                               "Gr%C3%B6%C3%9F.jpg", "%E6%97%A5.gif"}));
    EXPECT_EQ(daten.ImportBilder,
              (std::vector<std::string>{"mein bild.png", "Gr\xF6\xDF.jpg", "&#26085;.gif"}));
    EXPECT_EQ(test::Lesen(ordner / "Alt/mein bild.png"), "mein%20bild.png");
    EXPECT_EQ(test::Lesen(ordner / "Alt/Größ.jpg"), "Gr%C3%B6%C3%9F.jpg");
    EXPECT_EQ(test::Lesen(ordner / "Alt/日.gif"), "%E6%97%A5.gif");
    ASSERT_EQ(ergebnis.fehlgeschlagen.size(), 1u);
    EXPECT_EQ(ergebnis.fehlgeschlagen[0].name, "a%2Fb.gif");
}

// A large file does not hold the windows while it is written: they are
// served between its pieces, and "Ja" to leaving drops the picture under way.
TEST_F(Import, LargeWritesKeepTheWindowsServed) {
    constexpr std::size_t kMiB = 1024 * 1024;
    const std::string gross = Seite("", std::string(8 * kMiB, 'x') + "<img src=\"b.png\">");
    // Through the seam no download calls back: only the writes do.
    rueckmeldung.laden = [&](const std::string& url, std::size_t) {
        return url.ends_with(".png") ? Bildbytes(32 * kMiB, 1) : gross;
    };
    int schritte = 0;
    rueckmeldung.zwischenschritt = [&] { ++schritte; };
    // Eight between the nine pieces of the page, then the picture's second.
    rueckmeldung.abbrechen = [&] { return schritte >= 10; };
    AltOrdnerErzeugen(daten.Zielordner);
    const ImportErgebnis ergebnis = SeitenImportieren(
        daten, MenueLink("a.html") + MenueLink("c.html"), kBenutzer, rueckmeldung);
    EXPECT_EQ(schritte, 10);
    EXPECT_TRUE(ergebnis.abgebrochen);
    EXPECT_TRUE(daten.ImportBilder.empty());
    EXPECT_EQ(daten.ImportAnzahl, 1);
    EXPECT_EQ(DateienInAlt(), std::set<std::string>{"a.html"});
    EXPECT_EQ(std::filesystem::file_size(ordner / "Alt/a.html"), 8 * kMiB + 17);
}

TEST_F(Import, WriteFailureEndsTheLoop) {
    server.Setzen(kAnbieter + "a.html", Antwort::Seite(Seite("", "a")));
    // Alt was never made: the first file cannot be written, and the failure
    // ends the import before the next page is loaded.
    EXPECT_THROW(
        SeitenImportieren(daten, MenueLink("a.html") + MenueLink("b.html") + MenueLink("c.html"),
                          kBenutzer, rueckmeldung),
        Fehler);
    EXPECT_EQ(daten.ImportAnzahl, 1);
    EXPECT_EQ(server.Anfragen().size(), 1u);
    EXPECT_EQ(Ordnerinhalt(), std::set<std::string>{});
}

}  // namespace
}  // namespace lw
