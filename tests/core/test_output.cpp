#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "common/Fehler.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"
#include "output/Vorschau.h"
#include "tests/support/FehlerText.h"
#include "tests/support/Kindprozess.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::Lesen;
using test::Schreiben;

// A page in the layout of the generated one, with the markers the merge
// relies on; a typed link text with the single byte FC.
std::string Kopf(const std::string& generator, bool fixiert) {
    std::string s =
        "<html>\r\n  <head>\r\n"
        "    <meta name=\"generator\" content=\"" +
        generator +
        "\" />\r\n"
        "  </head>\r\n  <body>\r\n";
    if (fixiert) s += "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/ie.css\" />\r\n";
    s += "    <link rel=\"stylesheet\" type=\"text/css\" href=\"css/formate.css\" />\r\n\r\n";
    if (fixiert) s += "    <div id=\"fixiert\">\r\n";
    s +=
        "      <ul id=\"Navigation\">\r\n"
        "        <li class=\"Seite1\"><a href=\"_a.html\" title=\"Leistenwerk\">T\xFCr</a></li>\r\n"
        "      </ul>\r\n";
    if (fixiert) s += "    </div>\r\n";
    s += "\r\n";
    if (fixiert) s += "    <div id=\"scrollen\">\r\n";
    return s + "      <div id=\"Inhalt\">\r\n";
}

const char* const kEndeInhalt =
    "      </div>\r\n\r\n      <!-- Hier endet der Block f\xFCr den Seiteninhalt //-->\r\n\r\n";

std::string SeitenText(bool fixiert) {
    return Kopf("Leistenwerk", fixiert) +
           "        <h1>Lorem ipsum</h1>\r\n        <p>Lorem ipsum dolor.</p>\r\n"
           "        <p>Aliquam laoreet.</p>\r\n" +
           kEndeInhalt + (fixiert ? "    </div>\r\n" : "") + "\r\n  </body>\r\n</html>\r\n";
}

// The cut runs to the line that closes the contents block; with the fixed
// menu the scroll block's closing line follows as generated.
std::string Zusammengefuehrt(const std::string& generator, const std::string& inhalt,
                             bool fixiert) {
    return Kopf(generator, fixiert) + inhalt + "\r\n        " + kEndeInhalt +
           (fixiert ? "    </div>\r\n" : "") + "\r\n  </body>\r\n</html>\r\n";
}

using test::FehlerText;

Projektdaten Neu(const std::string& ziel, std::vector<std::string> seiten) {
    Projektdaten d;
    d.Modus = kModusHPNeu;
    d.Zielordner = ziel;
    d.Seitenzahl = static_cast<int>(seiten.size());
    for (std::size_t i = 0; i < seiten.size(); ++i) d.ImportSeiten.Setzen(i + 1, seiten[i]);
    return d;
}

Projektdaten Importiert(const test::TempOrdner& t,
                        std::vector<std::pair<std::string, std::string>> seiten) {
    Projektdaten d = Neu(t.pfad(), {});
    d.Modus = kModusNZAlt;
    d.Seitenzahl = 0;
    d.ImportAnzahl = static_cast<int>(seiten.size());
    fs::create_directory(t / "Alt");
    for (std::size_t i = 0; i < seiten.size(); ++i) {
        d.ImportSeiten.Setzen(i + 1, seiten[i].first);
        Schreiben(t / ("Alt/" + seiten[i].first), seiten[i].second);
    }
    return d;
}

TEST(DateiLesen, ByteRangesOfATenByteFile) {
    test::TempOrdner t;
    Schreiben(t / "zehn.txt", "0123456789");
    struct Fall {
        const char* name;
        long long anfang, ende;
        const char* erwartet;
    };
    for (const Fall& f :
         {Fall{"whole", 0, 0, "0123456789"}, Fall{"middle", 4, 6, "45"},
          Fall{"negativeStart", -3, 2, "01"}, Fall{"endBeyondSize", 4, 100, "456789"},
          Fall{"startBeyondSize", 12, 20, ""}, Fall{"endBeforeStart", 6, 4, "6789"}}) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(DateiLesen(t / "zehn.txt", f.anfang, f.ende), f.erwartet);
    }
    EXPECT_EQ(DateiLesen(t / "fehlt.txt", 0, 0), "");
    EXPECT_EQ(DateiLesen(t.pfad(), 0, 0), "");  // a folder is no file
}

TEST(DateienErzeugen, NewSiteWritesEveryPageByteForByte) {
    for (const bool fixiert : {true, false}) {
        test::TempOrdner t;
        const ErzeugterCode code{SeitenText(fixiert), "body {}\r\n", "#fixiert {}\r\n"};
        DateienErzeugen(Neu(t.pfad(), {"Seite1.html", "Seite2.html", W("Über uns.html")}), code,
                        fixiert);
        for (const char* seite : {"Seite1.html", "Seite2.html", "Über uns.html"})
            EXPECT_EQ(Lesen(t / "Neu/" + seite), code.seite) << seite;
        EXPECT_EQ(Lesen(t / "Neu/css/formate.css"), code.css);
        // The name the pages link, for web hosts that tell capitals apart.
        EXPECT_EQ(fs::exists(t / "Neu/css/ie.css") ? Lesen(t / "Neu/css/ie.css") : "(keine)",
                  fixiert ? code.ieCss : "(keine)");
        EXPECT_EQ(std::distance(fs::directory_iterator(t / "Neu/css"), fs::directory_iterator()),
                  fixiert ? 2 : 1);
        EXPECT_TRUE(fs::is_directory(t / "Neu/img"));
        EXPECT_TRUE(fs::is_empty(t / "Neu/img"));
    }
}

TEST(DateienErzeugen, PicturesAreCopiedUnderTheirNames) {
    test::TempOrdner t;
    fs::create_directories(t / "Bilder/Buttons");
    Schreiben(t / "Bilder/logo.gif", "banner");
    Schreiben(t / "Bilder/stein.gif", "hintergrund");
    Schreiben(t / "Bilder/Buttons/b2.jpg", "button 2");
    Projektdaten d = Neu(t / "Site", {"a.html", "b.html", "c.html"});
    fs::create_directory(d.Zielordner);
    d.BannerDatei = t / "Bilder/logo.gif";
    d.HintergrundBild = t / "Bilder/stein.gif";
    d.ButtonGrafik.Setzen(1, d.BannerDatei);  // the same path twice is no conflict
    d.ButtonGrafik.Setzen(3, t / "Bilder/Buttons/b2.jpg");
    Schreiben(t / "Bilder/Foto 1.jpg", "foto");
    d.InhaltBilder = {t / "Bilder/Foto 1.jpg", d.BannerDatei, t / "Bilder/Foto 1.jpg"};
    DateienErzeugen(d, {SeitenText(false), "", ""}, false);
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/img/logo.gif"), "banner");
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/img/stein.gif"), "hintergrund");
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/img/b2.jpg"), "button 2");
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/img/Foto 1.jpg"), "foto");
    EXPECT_EQ(InhaltsBildAdresse(t / "Bilder/Foto 1.jpg"), "img/Foto%201.jpg");
}

// Two pictures would become one file or one address in img/ (or, in the
// preview, one rewrite would catch the other's references): both writers
// refuse first.
TEST(DateienErzeugen, PicturesOfTheSameNameAreRefusedBeforeWriting) {
    struct Fall {
        const char* fall;
        const char* banner;
        const char* hintergrund;
        const char* knopf;
        const char* erstes;
        const char* zweites;
    };
    for (const Fall& f :
         {Fall{"banner and button", "a/logo.gif", "", "b/logo.gif", "a/logo.gif", "b/logo.gif"},
          Fall{"capitals", "", "a/Stein.gif", "b/STEIN.GIF", "a/Stein.gif", "b/STEIN.GIF"},
          Fall{"one address", "a/a b.gif", "", "b/A%20B.gif", "a/a b.gif", "b/A%20B.gif"},
          Fall{"contents and banner", "a/foto.jpg", "", "", "a/foto.jpg", "b/foto.jpg"},
          Fall{"contents of two pages", "", "", "", "a/foto.jpg", "b/Foto.jpg"}}) {
        SCOPED_TRACE(f.fall);
        test::TempOrdner t;
        fs::create_directories(t / "a");
        fs::create_directories(t / "b");
        fs::create_directories(t / "Site");
        const auto pfad = [&](const char* p) { return *p ? t / p : std::string(); };
        for (const char* p : {f.banner, f.hintergrund, f.knopf})
            if (*p) Schreiben(t / p, p);
        Projektdaten d = Neu(t / "Site", {"a.html", "b.html"});
        d.BannerDatei = pfad(f.banner);
        d.HintergrundBild = pfad(f.hintergrund);
        d.ButtonGrafik.Setzen(2, pfad(f.knopf));
        // The pictures of the contents come last, the second one named.
        if (!*f.knopf && !*f.hintergrund) {
            for (const char* p : {f.erstes, f.zweites}) Schreiben(t / p, p);
            d.InhaltBilder = {t / f.erstes, t / f.zweites};
            if (*f.banner) d.InhaltBilder.erase(d.InhaltBilder.begin());
        }
        const std::string meldung = "Die Bilder \"" + t / f.erstes + "\" und \"" + t / f.zweites +
                                    "\" haben denselben Namen. Bitte benennen Sie eines davon um.";
        EXPECT_EQ(FehlerText([&] { DateienErzeugen(d, {"seite", "css", ""}, false); }), meldung);
        EXPECT_EQ(FehlerText([&] {
                      VorschauSchreiben(d, {"seite", "css", ""}, false, false, "");
                  }),
                  meldung);
        // The windows may show it as a message of the program rather than an error.
        EXPECT_THROW(DateienErzeugen(d, {"seite", "css", ""}, false), Hinweis);
        EXPECT_TRUE(fs::is_empty(t / "Site"));
    }
}

// The pictures of the imported pages come along to the same relative paths,
// so that the contents' addresses stay right.
TEST(DateienErzeugen, ImportedPicturesAreCopiedToTheSamePaths) {
    test::TempOrdner t;
    Projektdaten d = Importiert(t, {{"index.html", "<img src=\"data/pics/urlaub.jpg\" />"}});
    const std::string bytes("\xFF\xD8\0\r\n\x1A\xFF\xD9", 8);
    fs::create_directories(t / "Alt/data/pics");
    Schreiben(t / "Alt/data/pics/urlaub.jpg", bytes);
    Schreiben(t / "Alt/oben.gif", "gif");
    fs::create_directories(t / "Alt/img");
    Schreiben(t / "Alt/img/foto.png", "png");
    Schreiben(t / "logo.gif", "logo");
    d.BannerDatei = t / "logo.gif";
    d.ImportBilder = {"data/pics/urlaub.jpg", "oben.gif", "img/foto.png", "data/pics/urlaub.jpg"};
    DateienErzeugen(d, {SeitenText(true), "", ""}, true);
    EXPECT_EQ(Lesen(t / "Neu/data/pics/urlaub.jpg"), bytes);
    EXPECT_EQ(Lesen(t / "Neu/oben.gif"), "gif");
    EXPECT_EQ(Lesen(t / "Neu/img/foto.png"), "png");
    EXPECT_EQ(Lesen(t / "Neu/img/logo.gif"), "logo");
}

// An imported picture may neither leave "Neu" nor take the place of a file
// or folder of the site; nothing is written then.
TEST(DateienErzeugen, ImportedPicturesThatClashOrLeaveAreRefused) {
    const std::string gleich =
        W("\" der übernommenen Homepage hat denselben Pfad wie eine Datei der neuen Seiten. "
          "Bitte benennen Sie eines davon um.");
    const std::string ungueltig = W("\" der übernommenen Homepage hat keinen gültigen Pfad.");
    struct Fall {
        const char* fall;
        std::string bild;
        const std::string& meldung;
        std::string gezeigt;
    };
    for (const Fall& f : std::vector<Fall>{{"chosen banner", "img/logo.gif", gleich, ""},
                                           {"chosen in capitals", "IMG/Logo.GIF", gleich, ""},
                                           {"stylesheet", "css/formate.css", gleich, ""},
                                           {"workaround", "css/IE.css", gleich, ""},
                                           {"page", "_index.html", gleich, ""},
                                           {"below a file", "img/logo.gif/x.jpg", gleich, ""},
                                           {"the img folder", "img", gleich, ""},
                                           {"parent", "../x.jpg", ungueltig, ""},
                                           {"control", "a\nx.jpg", ungueltig, "a?x.jpg"}}) {
        SCOPED_TRACE(f.fall);
        test::TempOrdner t;
        Projektdaten d = Importiert(t, {{"index.html", "x"}});
        Schreiben(t / "logo.gif", "logo");
        d.BannerDatei = t / "logo.gif";
        d.ImportBilder = {"gut.jpg", f.bild};
        EXPECT_EQ(FehlerText([&] {
                      DateienErzeugen(d, {SeitenText(true), "", ""}, true);
                  }),
                  "Das Bild \"" + (f.gezeigt.empty() ? f.bild : f.gezeigt) + f.meldung);
        EXPECT_FALSE(fs::exists(t / "Neu"));
    }
}

// The hidden mode writes no page, but the rest of the site.
TEST(DateienErzeugen, ModeNZNeuWritesFoldersStylesheetsAndPictures) {
    test::TempOrdner t;
    Schreiben(t / "kopf.jpg", "jpeg");
    Schreiben(t / "knopf.gif", "gif");
    Projektdaten d = Neu(t / "Site", {"a.html"});
    fs::create_directory(d.Zielordner);
    d.Modus = kModusNZNeu;
    d.BannerDatei = t / "kopf.jpg";
    d.ButtonGrafik.Setzen(1, t / "knopf.gif");
    DateienErzeugen(d, {SeitenText(true), "css", "ie"}, true);
    EXPECT_FALSE(fs::exists(d.Zielordner + "/Neu/a.html"));
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/css/ie.css"), "ie");
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/img/kopf.jpg"), "jpeg");
    EXPECT_FALSE(fs::exists(d.Zielordner + "/Neu/img/knopf.gif"));
}

// The contents in place of the placeholders, every block closed (the scroll
// block's line stays behind the contents block's), and the page named in the
// generator tag as an attribute value.
TEST(DateienErzeugen, ImportedPagesAreMergedWithTheirContents) {
    test::TempOrdner t;
    const std::string index = "<p>Willkommen</p>";
    const std::string kontakt = "<p>T\xC3\xBCr zu, gemacht mit Leistenwerk</p>";
    DateienErzeugen(Importiert(t, {{"index.html", index},
                                   {"kontakt.html", kontakt},
                                   {"Fragen&Antworten.html", "<p>F</p>"},
                                   {"a&amp;b.htm", "<p>A</p>"}}),
                    {SeitenText(true), "", ""}, true);
    EXPECT_EQ(Lesen(t / "Neu/_index.html"), Zusammengefuehrt("_index", index, true));
    EXPECT_EQ(Lesen(t / "Neu/_kontakt.html"),
              Zusammengefuehrt("_kontakt", "<p>T&uuml;r zu, gemacht mit Leistenwerk</p>", true));
    EXPECT_EQ(Lesen(t / "Neu/_Fragen&Antworten.html"),
              Zusammengefuehrt("_Fragen&amp;Antworten", "<p>F</p>", true));
    // A name that holds a reference is written as the link target is.
    EXPECT_EQ(Lesen(t / "Neu/_a&amp;b.htm"), Zusammengefuehrt("_a&amp;b", "<p>A</p>", true));
    EXPECT_FALSE(fs::exists(t / "Neu/index.html"));
}

// Without the fixed menu the contents block is still closed, without placeholders.
TEST(DateienErzeugen, MergeWithoutFixedMenuKeepsTheBlocksClosed) {
    test::TempOrdner t;
    DateienErzeugen(Importiert(t, {{"a.htm", "<p>Neu</p>"}, {"leer.html", ""}}),
                    {SeitenText(false), "", ""}, false);
    EXPECT_EQ(Lesen(t / "Neu/_a.htm"), Zusammengefuehrt("_a", "<p>Neu</p>", false));
    EXPECT_EQ(Lesen(t / "Neu/_leer.html"), Zusammengefuehrt("_leer", "", false));
}

// The page declares ISO-8859-1: imported UTF-8 characters become references,
// the seven letters their named entities; bytes that are no UTF-8 stay.
TEST(DateienErzeugen, ImportedCharactersBecomeReferences) {
    struct Fall {
        const char* fall;
        std::string inhalt;
        std::string ergebnis;
    };
    for (const Fall& f : std::vector<Fall>{
             {"umlauts", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C",
              "&auml;&ouml;&uuml;&szlig;&Auml;&Ouml;&Uuml;"},
             {"two, three, four bytes",
              "caf\xC3\xA9 5 \xE2\x82\xAC \xE2\x80\x9EJa\xE2\x80\x9C \xF0\x9F\x98\x80",
              "caf&#233; 5 &#8364; &#8222;Ja&#8220; &#128512;"},
             {"not an umlaut", "\xC3\x8C|\xE3\x84\xB1", "&#204;|&#12593;"},
             {"edges", "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBD\xF4\x8F\xBF\xBD",
              "&#128;&#2047;&#2048;&#65533;&#1114109;"},
             // XML refuses a reference to U+FFFE or U+FFFF; none of them is text.
             {"noncharacters",
              "\xEF\xB7\x90\xEF\xB7\xAF\xEF\xB7\xB0\xEF\xBF\xBE\xEF\xBF\xBF\xF0\x9F\xBF\xBF"
              "\xF4\x8F\xBF\xBE",
              "&#65533;&#65533;&#65008;&#65533;&#65533;&#65533;&#65533;"},
             {"overlong",
              "a\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x80\x80\xAF"
              "b",
              "a\xC0\xAF\xC1\xBF\xE0\x80\xAF\xF0\x80\x80\xAF"
              "b"},
             {"surrogate and beyond U+10FFFF", "\xED\xA0\x80\xF4\x90\x80\x80\xF5\x80",
              "\xED\xA0\x80\xF4\x90\x80\x80\xF5\x80"},
             {"stray and cut off", "\x80\xBF\xE2\x82|\xE2\x82", "\x80\xBF\xE2\x82|\xE2\x82"},
             {"Windows-1252 text", W("Grüße \x80 „x“"), W("Grüße \x80 „x“")},
             {"umlaut after a broken sequence", "\xE2\xC3\xA4\xF0\x9F\xC3\xBC",
              "\xE2&auml;\xF0\x9F&uuml;"}}) {
        SCOPED_TRACE(f.fall);
        test::TempOrdner t;
        DateienErzeugen(Importiert(t, {{"u.html", f.inhalt}}), {SeitenText(true), "", ""}, true);
        EXPECT_EQ(Lesen(t / "Neu/_u.html"), Zusammengefuehrt("_u", f.ergebnis, true));
    }
}

TEST(DateienErzeugen, MissingContentsFileStopsWithTheOpenError) {
    test::TempOrdner t;
    Projektdaten d = Importiert(t, {{"index.html", "<p>x</p>"}, {"weg.html", ""}});
    fs::remove(t / "Alt/weg.html");
    EXPECT_EQ(FehlerText([&] {
                  DateienErzeugen(d, {SeitenText(true), "", ""}, true);
              }),
              "Datei " + (t / "Alt/weg.html") +
                  W(" kann nicht geöffnet werden. Das System kann die angegebene Datei nicht "
                    "finden."));
    EXPECT_TRUE(fs::exists(t / "Neu/_index.html"));  // what was written before stays
    EXPECT_FALSE(fs::exists(t / "Neu/css"));
}

TEST(DateienErzeugen, SecondSaveIntoTheSameFolderOverwritesNothing) {
    test::TempOrdner t;
    const Projektdaten d = Neu(t.pfad(), {"a.html"});
    DateienErzeugen(d, {"erste", "css 1", ""}, false);
    EXPECT_EQ(FehlerText([&] {
                  DateienErzeugen(d, {"zweite", "css 2", ""}, false);
              }),
              "E/A-Fehler 183");
    EXPECT_EQ(Lesen(t / "Neu/a.html"), "erste");
    EXPECT_EQ(Lesen(t / "Neu/css/formate.css"), "css 1");
}

TEST(DateienErzeugen, MissingOrEmptyTargetFolder) {
    test::TempOrdner t;
    EXPECT_EQ(FehlerText([&] { DateienErzeugen(Neu(t / "fehlt", {"a.html"}), {}, false); }),
              W("Ungültiger Dateiname"));
    EXPECT_EQ(FehlerText([&] { DateienErzeugen(Neu("", {"a.html"}), {}, false); }),
              W("Ungültiger Dateiname"));
}

TEST(DateienErzeugen, PictureDeletedAfterItWasChosen) {
    test::TempOrdner t;
    Projektdaten d = Neu(t / "Site", {"a.html"});
    fs::create_directory(d.Zielordner);
    d.HintergrundBild = t / "weg.gif";
    EXPECT_EQ(FehlerText([&] {
                  DateienErzeugen(d, {"seite", "css", ""}, false);
              }),
              "Datei nicht gefunden");
    EXPECT_EQ(Lesen(d.Zielordner + "/Neu/a.html"), "seite");
    EXPECT_TRUE(fs::is_directory(d.Zielordner + "/Neu/img"));
}

// Whatever the links tab or an import put into the names, no file may land
// outside "Neu", and a refused name leaves nothing behind.
TEST(DateienErzeugen, NamesThatAreNoPlainFileNamesAreRefusedBeforeWriting) {
    // The message names the page; control characters show as '?'.
    struct Fall {
        const char* fall;
        std::string name;
        std::string gezeigt;
    };
    for (const auto& [fall, name, gezeigt] :
         std::vector<Fall>{{"parent", "../boese.html", "../boese.html"},
                           {"dotdot", "..", ".."},
                           {"dot", ".", "."},
                           {"empty", "", ""},
                           {"subfolder", "a/b.html", "a/b.html"},
                           {"backslash", "a\\b.html", "a\\b.html"},
                           {"nul", std::string("a\0b", 3), "a?b"},
                           {"control", "a\x01.html", "a?.html"},
                           {"delete", "a\x7F.html", "a?.html"}}) {
        SCOPED_TRACE(fall);
        for (const char* modus : {kModusHPNeu, kModusNZAlt}) {
            test::TempOrdner t;
            fs::create_directory(t / "Site");
            Projektdaten d = Neu(t / "Site", {"gut.html", name});
            d.Modus = modus;
            d.ImportAnzahl = 2;
            EXPECT_EQ(FehlerText([&] {
                          DateienErzeugen(d, {"x", "", ""}, false);
                      }),
                      "Der Seitenname \"" + gezeigt +
                          W("\" ist kein gültiger Dateiname (E/A-Fehler 123)"));
            EXPECT_TRUE(fs::is_empty(t / "Site"));
            EXPECT_FALSE(fs::exists(t / "boese.html"));
        }
    }
}

TEST(SpeicherMeldung, NamesTheFolderOnTwoLines) {
    Projektdaten d;
    d.Zielordner = W("/home/anna/Homepage für Oma");
    EXPECT_EQ(SpeicherMeldung(d), W("Die erforderlichen Dateien wurden unter /home/anna/Homepage "
                                    "für Oma/Neu gespeichert.\nDas Programm wird jetzt beendet."));
    // A save in place that changed nothing made no backup to name.
    const VorOrt unveraendert;
    EXPECT_EQ(SpeicherMeldung(d, &unveraendert),
              W("Die Homepage wurde unter /home/anna/Homepage für Oma/Neu gespeichert.\nDas "
                "Programm wird jetzt beendet."));
}

// Root would write into a read-only folder, and a small disk needs a mount of
// its own: both run in forked children.
TEST(DateienErzeugenRechte, ReadOnlyFolderIsRefused) {
    test::TempOrdner t;
    fs::create_directory(t / "offen");
    fs::create_directory(t / "gesperrt");
    fs::permissions(t.pfad(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(t / "offen", fs::perms::all);
    fs::permissions(t / "gesperrt", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    const ErzeugterCode code{"seite", "css", ""};
    const std::string antwort = test::AlsGewoehnlicherNutzer([&] {
        // The same user may write where it is allowed to: the refusal below is
        // the folder's, not the dropped rights'.
        DateienErzeugen(Neu(t / "offen", {"a.html", "b.html"}), code, false);
        DateienErzeugen(Neu(t / "gesperrt", {"a.html"}), code, false);
        return std::string("(kein Fehler)");
    });
    EXPECT_EQ(antwort, "Dateizugriff verweigert");
    EXPECT_EQ(test::Lesen(t / "offen/Neu/b.html"), "seite");
    EXPECT_FALSE(fs::exists(t / "gesperrt/Neu"));
}

// The disk fills up on the third page: the two before stay whole, and no
// empty or partial third page is left behind.
TEST(DateienErzeugenRechte, FullDiskLeavesOnlyWholePages) {
    test::TempOrdner t;
    fs::create_directory(t / "klein");
    const ErzeugterCode code{std::string(12 * 1024, 'x'), "css", ""};
    const auto antwort = test::MitKleinemDatentraeger(t / "klein", 32 * 1024, [&] {
        const std::string k = t / "klein";
        std::string text =
            FehlerText([&] { DateienErzeugen(Neu(k, {"a.html", "b.html", "c.html"}), code, false); }) +
            ":";
        std::set<std::string> dateien;
        for (const auto& e : fs::directory_iterator(k + "/Neu"))
            dateien.insert(e.path().filename().string() + "=" + std::to_string(e.file_size()));
        for (const std::string& datei : dateien) text += " " + datei;
        return text;
    });
    if (!antwort) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    EXPECT_EQ(*antwort, "Zu wenig Speicherplatz: a.html=12288 b.html=12288");
}

// The disk fills up on the second imported page, before the third page's
// missing contents file is reached: only the first page is there, whole.
TEST(DateienErzeugenRechte, FullDiskDuringAnImportedSave) {
    test::TempOrdner t;
    fs::create_directory(t / "klein");
    const ErzeugterCode code{
        "<head><meta name=\"generator\" content=\"Leistenwerk\" /></head>\r\n"
        "        <h1>Lorem ipsum</h1>\r\n        <p>x</p>\r\n      </div>\r\n</html>",
        "css", ""};
    const auto antwort = test::MitKleinemDatentraeger(t / "klein", 32 * 1024, [&] {
        const std::string k = t / "klein";
        Projektdaten d = Neu(k, {});
        d.Modus = kModusNZAlt;
        d.Seitenzahl = 0;
        d.ImportAnzahl = 3;
        fs::create_directory(k + "/Alt");
        for (const auto& [i, name, groesse] :
             {std::tuple{1, "a.html", 2000}, {2, "b.html", 20000}, {3, "c.html", -1}}) {
            d.ImportSeiten.Setzen(i, name);
            if (groesse >= 0) Schreiben(k + "/Alt/" + name, std::string(groesse, 'i'));
        }
        std::string text = FehlerText([&] { DateienErzeugen(d, code, false); }) + ":";
        for (const auto& e : fs::directory_iterator(k + "/Neu"))
            text += " " + e.path().filename().string() + "=" + std::to_string(e.file_size());
        return text;
    });
    if (!antwort) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    EXPECT_EQ(*antwort, "Zu wenig Speicherplatz: _a.html=2084");
}

}  // namespace
}  // namespace lw
