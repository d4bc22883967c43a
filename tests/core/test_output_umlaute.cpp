#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "output/DateiErzeugung.h"
#include "tests/support/TempOrdner.h"

// The entities and the page's name in the merge, which work in one pass over
// the page, and the saving of many pages of different sizes one after the other.
namespace lw {
namespace {

namespace fs = std::filesystem;

const std::string kKopf =
    "<html>\r\n  <head>\r\n    <meta name=\"generator\" content=\"Leistenwerk\" />\r\n"
    "  </head>\r\n  <body>\r\n      <div id=\"Inhalt\">\r\n";
const std::string kPlatzhalter =
    "        <h1>Lorem ipsum</h1>\r\n        <p>Lorem ipsum dolor.</p>\r\n"
    "      </div>\r\n\r\n  </body>\r\n</html>\r\n";
const std::string kEnde = "\r\n              </div>\r\n\r\n  </body>\r\n</html>\r\n";

std::string Benannt(std::string kopf, const std::string& name) {
    kopf.replace(kopf.find("Leistenwerk"), 11, name);
    return kopf;
}

// The rule as written: the seven letters by their table, every other
// well-formed UTF-8 sequence (the ranges of the Unicode standard's table of
// well-formed byte sequences) as a decimal reference, all else byte by byte.
std::string NachDerRegel(const std::string& t) {
    const std::pair<std::string, std::string> umlaute[] = {
        {"\xC3\xA4", "&auml;"},  {"\xC3\xB6", "&ouml;"}, {"\xC3\xBC", "&uuml;"},
        {"\xC3\x9F", "&szlig;"}, {"\xC3\x84", "&Auml;"}, {"\xC3\x96", "&Ouml;"},
        {"\xC3\x9C", "&Uuml;"}};
    struct Bereich {
        int von, bis, zweitesVon, zweitesBis, laenge;
    };
    const Bereich bereiche[] = {{0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
                                {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3},
                                {0xEE, 0xEF, 0x80, 0xBF, 3}, {0xF0, 0xF0, 0x90, 0xBF, 4},
                                {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4}};
    const auto b = [&t](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(t[i]));
    };
    std::string aus;
    for (std::size_t p = 0; p < t.size();) {
        const auto umlaut =
            std::find_if(std::begin(umlaute), std::end(umlaute),
                         [&](const auto& u) { return t.compare(p, 2, u.first) == 0; });
        if (umlaut != std::end(umlaute)) {
            aus += umlaut->second;
            p += 2;
            continue;
        }
        std::size_t laenge = 0;
        for (const Bereich& r : bereiche) {
            if (b(p) < r.von || b(p) > r.bis || p + r.laenge > t.size()) continue;
            bool gut = b(p + 1) >= r.zweitesVon && b(p + 1) <= r.zweitesBis;
            for (int i = 2; i < r.laenge; ++i) gut = gut && b(p + i) >= 0x80 && b(p + i) <= 0xBF;
            if (gut) laenge = static_cast<std::size_t>(r.laenge);
        }
        if (laenge == 0) {
            aus += t[p++];
            continue;
        }
        long zeichen = b(p) & (0xFF >> (laenge + 1));
        for (std::size_t i = 1; i < laenge; ++i) zeichen = zeichen * 64 + (b(p + i) - 0x80);
        aus += "&#" + std::to_string(zeichen) + ";";
        p += laenge;
    }
    return aus;
}

TEST(Umlaute, OnePassGivesWhatTheRuleGives) {
    // Lead bytes in a row, lone lead bytes, the look-alikes E3 and 8C, the
    // second bytes without a lead byte, the pieces of "€" and of four-byte,
    // overlong and surrogate forms.
    const std::string alphabet =
        "\xC3\xC3\xA4\xB6\xBC\x9F\x84\x96\x9C\x8C\xE3.a\xE2\x82\xAC\xF0\x90\xC0\xED\xA0\xF4";
    unsigned zufall = 7;
    const auto naechste = [&zufall](std::size_t n) {
        zufall = zufall * 1103515245u + 12345u;
        return static_cast<std::size_t>((zufall >> 8) % n);
    };
    const std::string seite = kKopf + kPlatzhalter;
    for (int fall = 0; fall < 3000; ++fall) {
        std::string inhalt;
        // Long enough for the sixteen-byte blocks of plain letters and their
        // ends, with a letter of the alphabet at any place in a block.
        for (std::size_t n = naechste(40); n > 0; --n)
            inhalt += naechste(3) == 0 ? std::string(1 + naechste(20), 'x')
                                       : std::string(1, alphabet[naechste(alphabet.size())]);
        ASSERT_EQ(SeiteZusammenfuehren(seite, inhalt, "a.html"),
                  Benannt(kKopf, "_a") + NachDerRegel(inhalt) + kEnde)
            << "case " << fall;
    }
}

TEST(Umlaute, HeadLinkTextsAndNameAreTreatedAsBefore) {
    const struct {
        const char* fall;
        std::string kopfZusatz, inhalt, name, erwarteterZusatz, erwarteterName, erwarteterInhalt;
    } faelle[] = {
        // A typed link text holding the two bytes becomes an entity too.
        {"letter in the head", "<a>\xC3\xA4</a>\r\n", "x", "t.html", "<a>&auml;</a>\r\n", "_t",
         "x"},
        // The name goes in after the entities: its own bytes stay.
        {"name with UTF-8 bytes", "", "\xC3\xBC", "t\xC3\xBCr.html", "", "_t\xC3\xBCr", "&uuml;"},
        // A lead byte at the end of the head and a second byte at the start of
        // the contents meet once the heading has given way.
        {"letter across the seam", "\xC3", "\xA4rger", "s.html", "", "_s", "&auml;rger"},
        {"lone lead byte before the contents", "\xC3", "rger", "s.html", "\xC3", "_s", "rger"},
    };
    for (const auto& f : faelle) {
        const std::string seite = kKopf + f.kopfZusatz + kPlatzhalter;
        const std::string erwartet =
            Benannt(kKopf, f.erwarteterName) + f.erwarteterZusatz + f.erwarteterInhalt + kEnde;
        EXPECT_EQ(SeiteZusammenfuehren(seite, f.inhalt, f.name), erwartet) << f.fall;
        // The save puts the page together from its parts on the way to the disk.
        test::TempOrdner t;
        Projektdaten d;
        d.Modus = kModusNZAlt;
        d.Zielordner = t.pfad();
        d.ImportAnzahl = 1;
        d.ImportSeiten.Setzen(1, f.name);
        OrdnerErzeugen(t / "Alt");
        TextSchreiben(t / "Alt/" + f.name, f.inhalt);
        DateienErzeugen(d, {seite, "css", ""}, false);
        EXPECT_EQ(DateiLesenGanz(t / "Neu/_" + f.name), erwartet) << f.fall;
    }
}

// Only a page text of this generator takes contents: its head names the
// page, and its contents block tells where the contents go.
TEST(Umlaute, PageTextsNotOfThisGeneratorAreRefused) {
    for (const std::string& seite :
         {"<html>\r\n  <body>\r\n" + kPlatzhalter,
          kPlatzhalter + "<meta name=\"generator\" content=\"Leistenwerk\" />",
          kKopf + "        <h1>Lorem ipsum</h1>\r\n        <p>x</p>\r\n  </body>\r\n"})
        EXPECT_THROW(SeiteZusammenfuehren(seite, "x", "k.html"), Fehler) << seite;
}

// Pages are merged one after the other through the same buffers: a small
// page after a big one must not keep any of the big one's bytes.
TEST(Umlaute, PagesOfDifferentSizesInOneSave) {
    test::TempOrdner t;
    std::string gross;
    while (gross.size() < 300 * 1024)
        gross +=
            "<p>Gr\xC3\xBC\xC3\x9F"
            "e aus K\xC3\xB6ln f\xC3\xBCr 5 \xE2\x82\xAC, caf\xC3\xA9</p>\r\n";
    std::vector<std::pair<std::string, std::string>> seiten = {{"gross.html", gross},
                                                               {"klein.html", "<p>\xC3\x84</p>"},
                                                               {"leer.html", ""},
                                                               {"wieder.html", gross + "Ende"},
                                                               {"zuletzt.html", "k"}};
    // Characters of two to four bytes and a lone lead byte cut by every seam
    // where the contents are read or converted a piece at a time.
    for (const std::size_t stueck : {4096, 128 * 1024})
        for (std::size_t vor = 1; vor <= 4; ++vor)
            seiten.emplace_back(
                "naht" + std::to_string(stueck) + "_" + std::to_string(vor) + ".html",
                std::string(stueck - vor, 'x') + "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\xC3x\xC3");
    Projektdaten d;
    d.Modus = kModusNZAlt;
    d.Zielordner = t.pfad();
    d.ImportAnzahl = static_cast<int>(seiten.size());
    OrdnerErzeugen(t / "Alt");
    for (std::size_t i = 0; i < seiten.size(); ++i) {
        d.ImportSeiten.Setzen(static_cast<int>(i) + 1, seiten[i].first);
        test::Schreiben(t / "Alt/" + seiten[i].first, seiten[i].second);
    }
    const std::string seite = kKopf + kPlatzhalter;
    DateienErzeugen(d, {seite, "css", ""}, false);
    for (const auto& [name, inhalt] : seiten) {
        const std::string erwartet =
            Benannt(kKopf, "_" + name.substr(0, name.size() - 5)) + NachDerRegel(inhalt) + kEnde;
        EXPECT_EQ(test::Lesen(t / "Neu/_" + name), erwartet) << name;
        EXPECT_EQ(SeiteZusammenfuehren(seite, inhalt, name), erwartet) << name;
    }
    EXPECT_EQ(test::Lesen(t / "Neu/_klein.html"),
              Benannt(kKopf, "_klein") + "<p>&Auml;</p>" + kEnde);
    EXPECT_FALSE(fs::exists(t / "Neu/gross.html"));
}

}  // namespace
}  // namespace lw
