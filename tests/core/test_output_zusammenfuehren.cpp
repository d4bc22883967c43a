#include <gtest/gtest.h>

#include <string>

#include "codegen/Code.h"
#include "common/Zeichensatz.h"
#include "output/DateiErzeugung.h"

namespace lw {
namespace {

std::size_t Anzahl(const std::string& text, const std::string& teil) {
    std::size_t n = 0;
    for (auto p = text.find(teil); p != std::string::npos; p = text.find(teil, p + 1)) ++n;
    return n;
}

// The navigation carries link texts as typed, markup included. Text that
// looks like the placeholders must neither cut the navigation away nor
// receive a copy of the imported contents.
TEST(SeiteZusammenfuehren, TypedLinkTextsThatLookLikePlaceholdersStay) {
    const std::string platzhalterUeberschrift = "        <h1>Lorem ipsum</h1>";
    const struct {
        const char* fall;
        std::string linkText;
    } faelle[] = {
        {"paragraph", "<p>Start</p>"},
        {"heading", platzhalterUeberschrift},
        {"heading in capitals", "        <H1>LOREM IPSUM</H1>"},
    };
    const std::string inhalt = "<p>Mein eigener Inhalt</p>";
    for (const bool fixiert : {true, false}) {
        for (const auto& f : faelle) {
            SCOPED_TRACE(std::string(f.fall) + (fixiert ? ", fixed menu" : ", open menu"));
            Projektdaten daten;
            daten.Modus = kModusNZAlt;
            daten.ImportAnzahl = 2;
            daten.ImportSeiten.Setzen(1, "index.html");
            daten.ImportSeiten.Setzen(2, "hobby.html");
            CodeEingaben eingaben;
            eingaben.menueFixiert = fixiert;
            eingaben.links = {{"index.html", f.linkText, ""}, {"hobby.html", "Hobby", ""}};
            const std::string seite = CodeErzeugen(daten, eingaben).seite;
            const std::string navigation =
                "<a href=\"_index.html\" title=\"\">" + f.linkText + "</a>";
            ASSERT_NE(seite.find(navigation), std::string::npos);

            const std::string ergebnis = SeiteZusammenfuehren(seite, inhalt, "index.html");

            const auto kopfEnde = seite.rfind(platzhalterUeberschrift);
            std::string kopf = seite.substr(0, kopfEnde);
            kopf.replace(kopf.find("content=\"Leistenwerk\""), 21, "content=\"_index\"");
            EXPECT_EQ(ergebnis.substr(0, kopf.size()), kopf);
            EXPECT_EQ(ergebnis.substr(kopf.size(), inhalt.size()), inhalt);
            EXPECT_EQ(Anzahl(ergebnis, inhalt), 1u);
            EXPECT_EQ(Anzahl(ergebnis, navigation), 1u);
            EXPECT_EQ(ergebnis.find("Lorem ipsum dolor"), std::string::npos);
            const std::string ende =
                W("\r\n              </div>\r\n\r\n      <!-- Hier endet der Block für den "
                  "Seiteninhalt //-->\r\n\r\n") +
                (fixiert ? "    </div>\r\n" : "") + "\r\n  </body>\r\n</html>\r\n";
            EXPECT_EQ(ergebnis.substr(kopf.size() + inhalt.size()), ende);
        }
    }
}

}  // namespace
}  // namespace lw
