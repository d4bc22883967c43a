#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/Dateien.h"
#include "common/Fehler.h"
#include "import/Import.h"
#include "tests/support/FehlerText.h"
#include "tests/support/TempOrdner.h"

namespace lw {
namespace {

const std::string kGenerator =
    "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.de/\">";
const std::string kDesign = "<td background=\"data/tdef/tp008/pa0.png\">";

TEST(Benutzername, OnlyDefaultTextAndEmptyAreMissing) {
    EXPECT_TRUE(BenutzernameFehlt("Benutzername"));
    EXPECT_TRUE(BenutzernameFehlt(""));
    EXPECT_FALSE(BenutzernameFehlt("benutzername"));
    EXPECT_FALSE(BenutzernameFehlt("Benutzername "));
    EXPECT_FALSE(BenutzernameFehlt("   "));
    EXPECT_FALSE(BenutzernameFehlt("anna"));
}

TEST(Startseite, AddressKeepsNameUnchanged) {
    EXPECT_EQ(StartseitenAdresse("anna"), "http://www.anna.netzhof-download.de/index.html");
    EXPECT_EQ(StartseitenAdresse(" A b"), "http://www. A b.netzhof-download.de/index.html");
}

TEST(Startseite, NeedsGeneratorTagAndDesign) {
    const struct {
        const char* name;
        std::string seite;
        StartseitenBefund befund;
    } faelle[] = {
        {"empty", "", StartseitenBefund::Leer},
        {"both markers", "<head>" + kGenerator + "</head>" + kDesign, StartseitenBefund::Gueltig},
        {"no design", kGenerator + "data/tdef/tp007/pa0.png", StartseitenBefund::KeineNetzhofSeite},
        {"no generator", kDesign, StartseitenBefund::KeineNetzhofSeite},
        {"generator of other domain",
         "<meta name=\"generator\" content=\"NETZHOF, http://www.netzhof.com/\">" + kDesign,
         StartseitenBefund::KeineNetzhofSeite},
        {"generator in other case",
         "<meta name=\"Generator\" content=\"NETZHOF, http://www.netzhof.de/\">" + kDesign,
         StartseitenBefund::KeineNetzhofSeite},
        {"status text", "Status:404", StartseitenBefund::KeineNetzhofSeite},
    };
    for (const auto& f : faelle) EXPECT_EQ(StartseitePruefen(f.seite), f.befund) << f.name;
}

TEST(Meldungen, ExactTextsInWindows1252) {
    EXPECT_EQ(MeldungKeinBenutzername(), "Bitte geben Sie einen Benutzernamen ein.");
    EXPECT_EQ(MeldungOrdnerEmpfehlung(),
              "Es wird dringend empfohlen, im folgenden Dialog einen neuen Ordner anzulegen und "
              "diesen auszuw\xE4hlen.\nBei Nichtbeachtung k\xF6nnte eine zuf\xE4llig "
              "namensgleiche Datei \xFC"
              "berschrieben werden.");
    EXPECT_EQ(MeldungKeineSeite("anna"),
              "Es wurde keine Seite gefunden.\nBitte \xFC"
              "berpr\xFC"
              "fen Sie Ihre Internetverbindung\nund Ihre Startseite "
              "http://www.anna.netzhof-download.de/index.html");
    EXPECT_EQ(MeldungUngueltigeSeite("anna"),
              "Es wurde keine g\xFCltige Netzhof-Seite gefunden.\nBitte \xFC"
              "berpr\xFC"
              "fen Sie Ihre Startseite http://www.anna.netzhof-download.de/index.html\n"
              "Es k\xF6nnen nur Seiten mit dem Netzhof-Design \"Neutral 5\"\n"
              "bearbeitet werden. Bitte \xE4ndern Sie Ihre Seite entsprechend ab.");
    EXPECT_EQ(StatusVerzeichnisseErstellen(), "Erstellen der neuen Verzeichnisse ");
}

// One line per failure below the intro, but never a box taller than the screen.
TEST(Meldungen, FailuresOneLineEachAtMostThirty) {
    ImportErgebnis ergebnis;
    EXPECT_EQ(MeldungFehlgeschlagen(ergebnis), "");
    ergebnis.fehlgeschlagen = {{"hobby.html", "keine Antwort"}, {"gaestebuch.html", "Status 404"}};
    EXPECT_EQ(MeldungFehlgeschlagen(ergebnis),
              "Folgende Seiten und Bilder konnten nicht \xFC"
              "bernommen werden:\nhobby.html: keine Antwort\ngaestebuch.html: Status 404");
    for (int i = 0; i < 30; ++i) ergebnis.fehlgeschlagen.push_back({"b.gif", "Status 404"});
    const std::string text = MeldungFehlgeschlagen(ergebnis);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 31);
    EXPECT_TRUE(text.ends_with("\nb.gif: Status 404\n... und 2 weitere")) << text;
}

using test::FehlerText;

TEST(AltOrdner, CreatedOnceDirectlyInsideTarget) {
    test::TempOrdner t;
    AltOrdnerErzeugen(t.pfad());
    EXPECT_TRUE(OrdnerExistiert(t / "Alt"));
    EXPECT_EQ(FehlerText([&] { AltOrdnerErzeugen(t.pfad()); }), "E/A-Fehler 183");
    EXPECT_NE(FehlerText([&] { AltOrdnerErzeugen(t / "fehlt"); }), "(kein Fehler)");
}

}  // namespace
}  // namespace lw
