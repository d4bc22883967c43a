#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/Dateien.h"
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
    "    </div>\r\n\r\n  </body>\r\n</html>\r\n";
const std::string kEnde = "\r\n            </div>\r\n\r\n  </body>\r\n</html>\r\n";

std::string Benannt(std::string kopf, const std::string& name) {
    kopf.replace(kopf.find("Leistenwerk"), 11, name);
    return kopf;
}

// The seven letters one after the other, in their order, byte for byte.
std::string NachDerRegel(std::string t) {
    const std::pair<std::string, std::string> tabelle[] = {
        {"\xC3\xA4", "&auml;"},  {"\xC3\xB6", "&ouml;"}, {"\xC3\xBC", "&uuml;"},
        {"\xC3\x9F", "&szlig;"}, {"\xC3\x84", "&Auml;"}, {"\xC3\x96", "&Ouml;"},
        {"\xC3\x9C", "&Uuml;"}};
    for (const auto& [utf8, entitaet] : tabelle) {
        for (auto p = t.find(utf8); p != std::string::npos; p = t.find(utf8, p + entitaet.size()))
            t.replace(p, utf8.size(), entitaet);
    }
    return t;
}

TEST(Umlaute, OnePassGivesWhatTheLettersOneAfterTheOtherGive) {
    // Lead bytes in a row, lone lead bytes, the look-alikes E3 and 8C, and the
    // second bytes without a lead byte.
    const std::string alphabet = "\xC3\xC3\xA4\xB6\xBC\x9F\x84\x96\x9C\x8C\xE3.a";
    unsigned zufall = 7;
    const auto naechste = [&zufall](std::size_t n) {
        zufall = zufall * 1103515245u + 12345u;
        return static_cast<std::size_t>((zufall >> 8) % n);
    };
    const std::string seite = kKopf + kPlatzhalter;
    for (int fall = 0; fall < 2000; ++fall) {
        std::string inhalt;
        for (std::size_t n = naechste(30); n > 0; --n)
            inhalt += alphabet[naechste(alphabet.size())];
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
        EXPECT_EQ(
            SeiteZusammenfuehren(seite, f.inhalt, f.name),
            Benannt(kKopf, f.erwarteterName) + f.erwarteterZusatz + f.erwarteterInhalt + kEnde)
            << f.fall;
    }
}

// Without the tag in the head the first one anywhere is the page's name, as
// it always was.
TEST(Umlaute, TagOnlyInTheContents) {
    const std::string ohneTag = "<html>\r\n  <body>\r\n" + kPlatzhalter;
    const std::string inhalt =
        "<p>\xC3\xA4</p><meta name=\"generator\" content=\"Leistenwerk\" /><p>Leistenwerk</p>";
    EXPECT_EQ(SeiteZusammenfuehren(ohneTag, inhalt, "k.html"),
              "<html>\r\n  <body>\r\n<p>&auml;</p><meta name=\"generator\" content=\"_k\" />"
              "<p>Leistenwerk</p>" +
                  kEnde);
}

// Pages are merged one after the other through the same buffers: a small
// page after a big one must not keep any of the big one's bytes.
TEST(Umlaute, PagesOfDifferentSizesInOneSave) {
    test::TempOrdner t;
    std::string gross;
    while (gross.size() < 300 * 1024)
        gross +=
            "<p>Gr\xC3\xBC\xC3\x9F"
            "e aus K\xC3\xB6ln</p>\r\n";
    const std::vector<std::pair<std::string, std::string>> seiten = {
        {"gross.html", gross},
        {"klein.html", "<p>\xC3\x84</p>"},
        {"leer.html", ""},
        {"wieder.html", gross + "Ende"},
        {"zuletzt.html", "k"}};
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
        EXPECT_EQ(test::Lesen(t / "Neu/_" + name), SeiteZusammenfuehren(seite, inhalt, name))
            << name;
    }
    EXPECT_EQ(test::Lesen(t / "Neu/_klein.html"),
              Benannt(kKopf, "_klein") + "<p>&Auml;</p>" + kEnde);
    EXPECT_FALSE(fs::exists(t / "Neu/gross.html"));
}

}  // namespace
}  // namespace lw
